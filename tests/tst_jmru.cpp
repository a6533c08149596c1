// Storage settings: the errors of misuse, what reads give back when a value
// is missing or of another type, Clear, and what happens to an open storage
// when its Key or root changes. A write reaches the file when the batch is
// closed, which is how these tests see whether a storage was closed.
//
// The recently-used list kept there, on real menus: captions and
// accelerators, where each menu kind places the entries, the separator and
// the root's enabled state, clicks through a popped-up menu, the limits, the
// two orders, and the stored layout read and written through a fresh
// settings store.
//
// And the combo box's name history: what it shows after loading a saved
// history, and what UpdateList adds to the list and writes back.

#include <QAbstractItemView>
#include <QLineEdit>
#include <QMenu>

#include "JError.h"
#include "JStore.h"
#include "Jmru.h"
#include "Mrucombo.h"
#include "TestSupport.h"

namespace {

TJStorage &Open(TJStorage &Storage, const QString &Key, TJStorageRootKey Root = atrkCurrentUser) {
  Storage.SetKey(Key);
  Storage.SetRegistryRootKey(Root);
  Storage.Open();
  return Storage;
}

QByteArray StoreFile(const QByteArray &Values) { return StoreWithKey("MRU", Values); }

// The values of a history as UpdateList writes them.
QByteArray Saved(const QStringList &Names) {
  QByteArray Values;
  for (int I = 0; I < Names.size(); ++I) Values += QStringLiteral("\"%1\"=\"%2\"\n").arg(I).arg(Names[I]).toUtf8();
  return Values + QStringLiteral("\"Count\"=dword:%1\n").arg(Names.size(), 8, 16, QChar(u'0')).toUtf8();
}

// The captions of a menu's actions, "-" for a separator, "(off)" after a
// disabled one.
QStringList Texts(const QWidget *Menu) {
  QStringList List;
  for (const QAction *Action : Menu->actions())
    List << (Action->isSeparator() ? QStringLiteral("-") : Action->text()) + (Action->isEnabled() ? "" : "(off)");
  return List;
}

// A File menu: "Open", the submenu "Reopen" (holding "Forget all"), "Exit".
struct TFileMenu {
  QMenu File;
  QAction *Open = File.addAction("Open");
  QMenu *Reopen = File.addMenu("Reopen");
  QAction *Exit = File.addAction("Exit");
  QAction *Forget = Reopen->addAction("Forget all");
};

}  // namespace

class TestJmru : public QObject {
  Q_OBJECT
  std::optional<TTempFolder> Store;
  std::optional<TFileMenu> Menu;
  std::optional<TJMostRecentlyUsedList> List;
  int Changes = 0;

  TJMostRecentlyUsedList &Make(QAction *Root, std::initializer_list<const char *> Added = {}) {
    List.emplace();
    List->RootMenuItem = Root;
    List->Storage()->SetKey("Software\\MRU");
    List->OnChange = [this](TJMostRecentlyUsedList *) { ++Changes; };
    for (const char *S : Added) List->Add(S);
    return *List;
  }
  QStringList Entries() const {
    QStringList Items;
    List->CopyItems(Items);
    return Items;
  }

 private slots:
  void init() {
    Store.emplace();
    Menu.emplace();
    Changes = 0;
  }
  void cleanup() {
    List.reset();
    Menu.reset();
    Store.reset();
  }

  // Storages that cannot reach a store. A blank Key: the accessor stays,
  // without a key, until Close, and reads give their defaults. A root outside
  // the enumeration or a folder that cannot be made: an empty store that
  // cannot be written, where text reads give empty text.
  void withoutAStore_data() {
    // Columns: Key, Root.
    TTable<QString, int>::Add();
    QTest::newRow("blank Key") << "" << 2;
    QTest::newRow("no such root") << "Software\\App" << 6;
    QTest::newRow("folder under a file") << "Software\\App" << 1;
  }

  void withoutAStore() {
    const auto [Key, Root] = TTable<QString, int>::Row();
    const bool Blank = Key.isEmpty();
    QVERIFY(Spit(Store->Dir.filePath("file"), ""));
    SetRegistryFolder(Store->Dir.filePath("file/store"));
    TJStorage Storage;
    QCOMPARE(ErrorOf([&] { Open(Storage, Key, TJStorageRootKey(Root)); }),
             Blank ? "Cannot open registry because TJStorage.Key is blank" : "no error");
    QCOMPARE(Storage.IsOpen(), !Blank);
    Storage.WriteString("s", "x");
    Storage.WriteInteger("i", 1);
    QCOMPARE(std::tuple(Storage.ReadString("s", "dflt"), Storage.ReadInteger("i", 9), ErrorOf([&] { Storage.Clear(); })),
             std::tuple(QString(Blank ? "dflt" : ""), 9, QString(Blank ? "TJWin32Registry is not open" : "no error")));
    Storage.Close();
    const QString NotOpen = QStringLiteral("JStorage not Open");
    QCOMPARE(ErrorOf([&] { Storage.WriteString("s", "x"); }) + ErrorOf([&] { Storage.ReadInteger("i", 1); }) +
                 ErrorOf([&] { Storage.Clear(); }), NotOpen + NotOpen + NotOpen);
    QCOMPARE(FilesOf(Store->Dir.path()), QStringList{"file"});
  }

  // A value as a text read and an integer read see it, from a file made by
  // hand or exported elsewhere.
  void reads_data() {
    // Columns: Line, Text, Number.
    TTable<QByteArray, QString, int>::Add();
    QTest::newRow("text") << QByteArray("\"v\"=\"42\"") << "42" << -1;
    QTest::newRow("integer") << QByteArray("\"v\"=dword:0000002a") << "dflt" << 42;
    QTest::newRow("missing") << QByteArray("\"w\"=\"42\"") << "" << -1;
    QTest::newRow("text to expand, taken as stored") << QByteArray("\"v\"=hex(2):25,00,41,00,25,00,00,00") << "%A%" << -1;
  }

  void reads() {
    const auto [Line, Text, Number] = TTable<QByteArray, QString, int>::Row();
    QVERIFY(Spit(StorePath(), StoreHeader + "[HKEY_CURRENT_USER\\Software\\Test]\n" + Line + "\n"));
    TJStorage Storage;
    QCOMPARE(Open(Storage, "software\\TEST").ReadString("v", "dflt"), Text);
    QCOMPARE(Storage.ReadInteger("v", -1), Number);
  }

  void clearLeavesAnEmptyKey() {
    QVERIFY(Spit(StorePath(), StoreHeader + "[HKEY_CURRENT_USER\\Software\\Test\\Sub]\n[HKEY_CURRENT_USER\\Software\\Test]\n\"Old\"=\"x\"\n"));
    TJStorage Storage;
    Open(Storage, "Software\\Test").WriteString("Lost", "written before the clear");
    Storage.Clear();
    Storage.WriteString("New", "y");
    QCOMPARE(std::pair(Storage.ReadString("Old", "dflt"), Storage.ValueNames()), std::pair(QString(), QStringList{"New"}));
    Storage.Close();
    QCOMPARE(Slurp(StorePath()), StoreWithKey("Test", "\"New\"=\"y\"\n"));
  }

  void keyChangesWhileOpen() {
    TJStorage Storage;
    Open(Storage, "Software\\First").WriteString("a", "1");
    Storage.SetKey("Software\\First");  // the same Key: the batch stays open, nothing is written yet
    QVERIFY(Storage.IsOpen() && !Slurp(StorePath()).contains("First"));
    Storage.SetKey("Software\\Second");  // the first batch is written, the second key opened
    QVERIFY(Slurp(StorePath()).contains("First]\n\"a\"=\"1\"\n"));
    Storage.WriteString("b", "2");
    Storage.SetKey(QString());  // emptied: closed, not reopened
    QVERIFY(Slurp(StorePath()).contains("Second]\n\"b\"=\"2\"\n"));
  }

  // The file-name part after "\", ":" or "/"; past the table's last
  // accelerator, or without accelerators, the whole entry.
  void captions() {
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction(), {"C:\\Docs\\a.txt", "D:b.txt", "/home/me/c.txt"});
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 c.txt", "&1 b.txt", "&2 a.txt", "Forget all"}));
    L.NumberOffset = 33;
    L.Add("x\\d");
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&X d", "&Y c.txt", "&Z b.txt", "C:\\Docs\\a.txt", "Forget all"}));
    L.NumberAccelerators = false;
    L.Delete("d:B.TXT");
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"x\\d", "/home/me/c.txt", "C:\\Docs\\a.txt", "Forget all"}));
  }

  // a, b and c added, then a used again; then the list cleared.
  void menuKinds_data() {
    // Columns: Kind, File, Reopen.
    TTable<int, QStringList, QStringList>::Add();
    const QStringList Sub{"Forget all"};
    QTest::newRow("before") << int(mkInsertBefore) << QStringList{"Open", "&0 a", "&1 c", "&2 b", "Exit"} << Sub;
    QTest::newRow("after") << int(mkInsertAfter) << QStringList{"Open", "Exit", "&0 a", "&1 c", "&2 b"} << Sub;
    QTest::newRow("with separator") << int(mkInsertWithSeparator)
                                    << QStringList{"Open", "Exit", "-", "&0 a", "&1 c", "&2 b"} << Sub;
    QTest::newRow("submenu") << int(mkSubMenu) << QStringList{"Open", "Reopen", "Exit"}
                             << QStringList{"&0 a", "&1 c", "&2 b", "Forget all"};
  }

  void menuKinds() {
    const auto [Kind, File, Reopen] = TTable<int, QStringList, QStringList>::Row();
    QAction *Root = Kind == mkSubMenu ? Menu->Reopen->menuAction() : Menu->Exit;
    if (Kind != mkSubMenu) Menu->File.removeAction(Menu->Reopen->menuAction());
    TJMostRecentlyUsedList &L = Make(Root);
    L.SetMenuKind(TJMRUMenuKind(Kind));
    for (const char *S : {"a", "b", "c", "a"}) L.Add(S);
    QCOMPARE(std::pair(Texts(&Menu->File), Texts(Menu->Reopen)), std::pair(File, Reopen));
    QCOMPARE(L.RootMenuItem != Root, Kind == mkInsertWithSeparator);  // the separator stands in
    QPointer<QAction> B = L.GetMenuItem("B");
    QVERIFY(B && B->parent() == &L);
    L.Clear();
    QVERIFY(!B && L.RootMenuItem == Root);
    const QStringList Left = Kind == mkSubMenu ? QStringList{"Open", "Reopen(off)", "Exit"} : QStringList{"Open", "Exit"};
    QCOMPARE(Texts(&Menu->File), Left);
  }

  // Under mkSubMenu the list enables again only a root it disabled itself.
  // Changing the kind at run time carries the entries out of the submenu
  // and back, and gives back a root the list disabled.
  void rootAndKindChanges() {
    QAction *Root = Menu->Reopen->menuAction();
    TJMostRecentlyUsedList &L = Make(Root);
    L.Include(csLoading);
    L.Add("a");
    QCOMPARE(Changes, 0);  // not while loading
    LoadComponents(&L);    // reads the empty store
    QVERIFY(!Root->isEnabled());
    L.Add("b");
    QVERIFY(Root->isEnabled());
    Root->setEnabled(false);
    L.Add("a");
    QVERIFY(!Root->isEnabled());
    Root->setEnabled(true);
    L.SetMenuKind(mkInsertAfter);
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "&0 a", "&1 b", "Exit"}));
    L.SetMenuKind(mkSubMenu);
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 a", "&1 b", "Forget all"}));
    // Entries standing above the root cross it when the kind changes, and
    // when the root moves below them.
    L.SetMenuKind(mkInsertBefore);
    L.SetMenuKind(mkInsertAfter);
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "&0 a", "&1 b", "Exit"}));
    L.SetMenuKind(mkInsertBefore);
    L.SetMenuKind(mkInsertWithSeparator);
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "-", "&0 a", "&1 b", "Exit"}));
    L.RootMenuItem = Menu->Exit;
    L.Add("c");
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "Exit", "-", "&0 c", "&1 a", "&2 b"}));
    L.Clear();
    L.SetMenuKind(mkInsertWithSeparator);
    QVERIFY(Root->isEnabled());
  }

  void clicks_data() {
    // Columns: Handler, Opened, HideInUse, After.
    TTable<bool, bool, bool, QStringList>::Add();
    const QStringList All{"C:\\c", "C:\\b", "C:\\a"};
    QTest::newRow("opened, hidden") << true << true << true << QStringList{"C:\\b", "C:\\a"};
    QTest::newRow("failed to open") << true << false << true << All;
    QTest::newRow("opened, not hidden") << true << true << false << All;
    QTest::newRow("no handler") << false << true << true << All;
  }

  // A real click on the top entry of the popped-up submenu. A hidden entry
  // leaves the menu at once; its action goes once the click is over.
  void clicks() {
    const auto [Handler, Opened, HideInUse, After] = TTable<bool, bool, bool, QStringList>::Row();
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction(), {"C:\\a", "C:\\b", "C:\\c"});
    L.HideInUse = HideInUse;
    QStringList Selected;
    if (Handler)
      L.OnSelect = [&](TJMostRecentlyUsedList *Sender, const QString &Item, bool &AOpened) {
        Selected << Item + (Sender == &L && AOpened ? "" : " (wrong sender or AOpened)");
        AOpened = Opened;
        return 7;
      };
    QPointer<QAction> Top = L.GetMenuItem("c:\\C");
    Menu->Reopen->popup(QPoint(20, 20));
    QVERIFY(QTest::qWaitForWindowExposed(Menu->Reopen));
    QTest::mouseClick(Menu->Reopen, Qt::LeftButton, {}, Menu->Reopen->actionGeometry(Top).center());
    QCOMPARE(std::pair(Selected, Entries()), std::pair(Handler ? QStringList{"C:\\c"} : QStringList{}, After));
    QVERIFY(Texts(Menu->Reopen).size() == After.size() + 1 && Top);  // never deleted inside its own triggered signal
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(Top.isNull(), After.size() == 2);
  }

  // Finding folds only the ASCII letters, and the first spelling stays.
  // Name order is the locale's, ignoring case; back to most recent order the
  // entries keep their places and new ones go on top.
  void order() {
    TJMostRecentlyUsedList &L = Make(nullptr, {"", "C:\\Docs\\a.txt", "\u00e9", "c:\\docs\\A.TXT", "\u00c9"});
    QCOMPARE(std::pair(Entries(), Changes), std::pair(QStringList{"\u00c9", "C:\\Docs\\a.txt", "\u00e9"}, 4));
    QCOMPARE(L.Used("b"), false);
    QCOMPARE(L.Used("\u00e9"), true);
    QCOMPARE(Entries(), (QStringList{"\u00e9", "b", "\u00c9", "C:\\Docs\\a.txt"}));
    QCOMPARE(ErrorOf([&] { L.BringToTop("x"); }) + u'|' + ErrorOf([&] { L.GetItem(4); }),
             "Cannot move x to top of MRU - it is not in the MRU|List index out of bounds (4)");
    L.Clear();
    for (const char *S : {"b", "C", "a"}) L.Add(S);
    L.SetSortBy(skName);
    L.Add("B2");
    L.Used("a");
    QCOMPARE(ErrorOf([&] { L.BringToTop("x"); }), "no error");
    QCOMPARE(Entries(), (QStringList{"a", "b", "B2", "C"}));
    L.SetSortBy(skMostRecent);
    L.Add("0");
    L.Used("C");
    QCOMPARE(Entries(), (QStringList{"C", "0", "a", "b", "B2"}));
  }

  // Trimmed at the next Add to the front of the list, the others' actions
  // freed; MaxItems 0 keeps nothing.
  void limits() {
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction(), {"0", "1", "2", "3"});
    const QPointer<QAction> Kept = L.GetMenuItem("3"), Dropped = L.GetMenuItem("2");
    L.MaxItems = 2;
    L.Add("new");
    QVERIFY(Kept && !Dropped);
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 new", "&1 3", "Forget all"}));
    L.MaxItems = 0;
    L.Add("x");
    QVERIFY(Entries().isEmpty() && !Kept);
  }

  void load_data() {
    // Columns: Values, Loaded.
    TTable<QByteArray, QStringList>::Add();
    const QByteArray Some = "\"0\"=\"a\"\n\"1\"=\"b\"\n\"2\"=\"\"\n\"3\"=dword:00000001\n\"4\"=\"A\"\n\"01\"=\"x\"\n";
    QTest::newRow("four counted") << "\"Count\"=dword:00000004\n" + Some << QStringList{"a", "b"};
    QTest::newRow("largest count") << "\"Count\"=dword:7fffffff\n" + Some << QStringList{"A", "b"};
    QTest::newRow("smallest count") << "\"Count\"=dword:80000000\n" + Some << QStringList{};
  }

  // Loaded reads the stored list over what was held, from the last counted
  // value to "0", skipping empty, missing and integer values (a huge Count
  // costs no more than the key holds); "a" finds "A" and keeps its case. The
  // storage is closed again. A blank key just empties. Loaded before a root
  // is set: the entries get their actions once one is.
  void load() {
    const auto [Values, Loaded] = TTable<QByteArray, QStringList>::Row();
    QVERIFY(Spit(StorePath(), StoreFile(Values)));
    TJMostRecentlyUsedList &L = Make(nullptr, {"held"});
    L.Loaded();
    QCOMPARE(std::pair(Entries(), L.Storage()->IsOpen()), std::pair(Loaded, false));
    L.RootMenuItem = Menu->Reopen->menuAction();
    L.Add("new");
    QCOMPARE(Texts(Menu->Reopen).size(), Entries().size() + 1);
    L.Storage()->SetKey("");
    L.Load();
    QCOMPARE(Entries(), QStringList{});
    L.AutoSave = false;
  }

  // Save replaces what the key held and the destructor saves; each closes
  // the storage only when it opened it, also when an error leaves Load.
  void save() {
    QVERIFY(Spit(StorePath(), StoreFile("\"Count\"=dword:00000005\n\"4\"=\"old\"\n\"3\"=\"old\"\n")));
    TJMostRecentlyUsedList &L = Make(nullptr, {"C:\\a", "C:\\b", "C:\\c"});
    L.Storage()->Open();
    L.Save();
    QVERIFY(L.Storage()->IsOpen());
    L.Storage()->Close();
    QCOMPARE(Slurp(StorePath()), StoreFile("\"Count\"=dword:00000003\n\"0\"=\"C:\\\\c\"\n\"1\"=\"C:\\\\b\"\n\"2\"=\"C:\\\\a\"\n"));
    L.OnChange = [](TJMostRecentlyUsedList *Sender) {
      if (Sender->GetCount() > 0) throw EJError("refused");
    };
    QCOMPARE(ErrorOf([&] { L.Load(); }), "refused");
    // The first value read, "2".
    QCOMPARE(std::pair(Entries(), L.Storage()->IsOpen()), std::pair(QStringList{"C:\\a"}, false));
    L.OnChange = [](TJMostRecentlyUsedList *Sender) { Sender->Save(); };
    L.Load();  // its Clear saves an empty list, after everything was read
    QCOMPARE(Entries(), (QStringList{"C:\\c", "C:\\b", "C:\\a"}));
    L.OnChange = nullptr;
    L.Delete("C:\\b");
    L.Delete("C:\\c");
    L.Add("d");
    List.reset();
    QCOMPARE(Slurp(StorePath()), StoreFile("\"Count\"=dword:00000002\n\"0\"=\"d\"\n\"1\"=\"C:\\\\a\"\n"));
  }

  // Actions, separators and roots deleted elsewhere are forgotten; an entry
  // whose action went gets a new one at the next change.
  void deletedElsewhere() {
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction(), {"old", "new"});
    delete L.GetMenuItem("new");
    QCOMPARE(Entries(), (QStringList{"new", "old"}));
    L.Add("old");
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 old", "&1 new", "Forget all"}));
    QCOMPARE(ErrorOf([&] { L.AddAfter(nullptr, Menu->Exit); }), "AddAfter: src or dest is nil");
    L.Clear();
    L.SetMenuKind(mkInsertWithSeparator);
    L.RootMenuItem = Menu->Exit;
    L.Add("x");
    delete L.RootMenuItem;  // the separator
    QCOMPARE(L.RootMenuItem, Menu->Exit);
    delete Menu->Exit;
    QCOMPARE(L.RootMenuItem, nullptr);
    L.Add("y");
    QCOMPARE(Entries(), (QStringList{"y", "x"}));
  }

  // Each row loads a saved history, types a name (or the loaded text again)
  // and saves the list.
  void comboHistory_data() {
    // Columns: Before, Loaded (the text field after loading), Typed, Listed, After.
    TTable<QByteArray, QString, QString, QStringList, QByteArray>::Add();
    QStringList Ten;
    for (int I = 0; I < 10; ++I) Ten << QStringLiteral("Player %1").arg(I);
    const QByteArray Three = "\"Count\"=dword:00000002\n\"0\"=\"Cy\"\n\"1\"=\"Ann\"\n\"2\"=\"Bob\"\n";
    QTest::newRow("saved order, above Count unread") << Three << "Cy" << "Cy" << QStringList{"Cy", "Ann"} << Three;
    QTest::newRow("empty 0 and 1 skipped, text field from 0")  // "2" is left behind, above the new Count
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n") << "" << "" << QStringList{"Cy"}
        << QByteArray("\"Count\"=dword:00000001\n\"0\"=\"Cy\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n");
    const QByteArray Eleven = Saved(Ten + QStringList{"Player 10"});
    QTest::newRow("a huge Count reads ten names") << QByteArray(Eleven).replace("0000000b", "7fffffff") << "Player 0"
                                                  << "Player 0" << Ten << QByteArray(Eleven).replace("0000000b", "0000000a");
    const QStringList AnnBob{"Ann", "Bob"};
    QTest::newRow("listed name, other case") << Saved(AnnBob) << "Ann" << "aNN" << AnnBob << Saved(AnnBob);
    QTest::newRow("a prefix is new, saved after Count") << Saved(AnnBob) << "Ann" << "An" << AnnBob + QStringList{"An"}
                                                         << Saved(AnnBob).replace("02\n", "03\n") + "\"2\"=\"An\"\n";
    QTest::newRow("eleventh name shown, not saved") << Saved(Ten) << "Player 0" << "Eleven"
                                                    << Ten + QStringList{"Eleven"} << Saved(Ten);
  }

  // Typed with real keys and Return: what the player types stays as typed,
  // with no completion from the list.
  void comboHistory() {
    const auto [Before, Loaded, Typed, Listed, After] = TTable<QByteArray, QString, QString, QStringList, QByteArray>::Row();
    QVERIFY(Spit(StorePath(), StoreFile(Before)));
    TMRUCombo Combo;
    Combo.Storage()->SetKey("Software\\MRU");
    LoadComponents(&Combo);
    QCOMPARE(Combo.currentText(), Loaded);
    Combo.lineEdit()->clear();
    QTest::keyClicks(Combo.lineEdit(), Typed);
    QTest::keyClick(Combo.lineEdit(), Qt::Key_Return);
    Combo.UpdateList();
    QCOMPARE(std::pair(Items(Combo), Combo.currentText()), std::pair(Listed, Typed));
    QCOMPARE(Slurp(StorePath()), StoreFile(After));
  }

  // Set as a form layout sets it: the rows of the drop-down take that height.
  void comboItemHeight() {
    TMRUCombo Combo;
    Combo.addItem("Ann");
    QVERIFY(Combo.setProperty("ItemHeight", 14));
    QCOMPARE(Combo.view()->sizeHintForRow(0), 14);
  }

  void comboWithABlankKey() {
    TMRUCombo Combo;
    LoadComponents(&Combo);  // loading swallows the error
    Combo.setEditText("Ann");
    QCOMPARE(ErrorOf([&] { Combo.UpdateList(); }), QStringLiteral("Cannot open registry because TJStorage.Key is blank"));
    QCOMPARE(Items(Combo), QStringList{"Ann"});
  }
};

QTEST_MAIN(TestJmru)
#include "tst_jmru.moc"