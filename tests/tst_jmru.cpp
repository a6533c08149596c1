// The recently-used list on real menus: captions and accelerators, where
// each menu kind places the entries, the separator and the root's enabled
// state, clicks through a popped-up menu, the limits, name order, and the
// stored layout read and written through a fresh settings store.

#include <QMenu>

#include "Jmru.h"
#include "StoreTestSupport.h"

namespace {

const QString Key = QStringLiteral("Software\\MRU");

QByteArray StoreFile(const QByteArray &Values) {
  return StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\MRU]\n" + Values + "\n";
}

// The captions of a menu's actions, "-" for a separator, "(off)" after a
// disabled one.
QStringList Texts(const QWidget *Menu) {
  QStringList List;
  for (const QAction *Action : Menu->actions())
    List << (Action->isSeparator() ? QStringLiteral("-") : Action->text()) + (Action->isEnabled() ? "" : "(off)");
  return List;
}

QStringList Entries(const TJMostRecentlyUsedList &List) {
  QStringList Items;
  List.CopyItems(Items);
  return Items;
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
  std::optional<TTempStore> Store;
  std::optional<TFileMenu> Menu;
  std::optional<TJMostRecentlyUsedList> List;
  int Changes = 0;

  TJMostRecentlyUsedList &Make(QAction *Root) {
    List.emplace();
    List->RootMenuItem = Root;
    List->Storage()->SetKey(Key);
    List->OnChange = [this](TJMostRecentlyUsedList *Sender) {
      QCOMPARE(Sender, &*List);
      ++Changes;
    };
    return *List;
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

  void captions_data() {
    QTest::addColumn<QStringList>("Added");  // oldest first
    QTest::addColumn<uint>("Offset");
    QTest::addColumn<bool>("Accelerators");
    QTest::addColumn<QStringList>("Captions");
    QTest::newRow("three documents") << QStringList{"C:\\Docs\\a.txt", "D:b.txt", "/home/me/c.txt"} << 0u << true
                                     << QStringList{"&0 c.txt", "&1 b.txt", "&2 a.txt", "Forget all"};
    QStringList Eight;
    for (char C = 'a'; C < 'i'; ++C) Eight.prepend(QStringLiteral("x\\%1").arg(C));
    QTest::newRow("offset 30, past the table")
        << Eight << 30u << true
        << QStringList{"&U a", "&V b", "&W c", "&X d", "&Y e", "&Z f", "x\\g", "x\\h", "Forget all"};
    QTest::newRow("no accelerators") << QStringList{"C:\\a", "b"} << 0u << false
                                     << QStringList{"b", "C:\\a", "Forget all"};
  }

  // Captions of the entries under the default submenu kind, entries first.
  void captions() {
    QFETCH(QStringList, Added);
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    QFETCH(uint, Offset);
    L.NumberOffset = Offset;
    QFETCH(bool, Accelerators);
    L.NumberAccelerators = Accelerators;
    for (const QString &S : Added) L.Add(S);
    QTEST(Texts(Menu->Reopen), "Captions");
    QCOMPARE(Changes, Added.size());
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "Exit"}));
  }

  // Where each kind puts a, b and c (added in that order, then a used
  // again), and what is left of the menus once the list is cleared.
  void menuKinds_data() {
    QTest::addColumn<int>("Kind");
    QTest::addColumn<QStringList>("File");
    QTest::addColumn<QStringList>("Reopen");
    const QStringList Sub{"Forget all"};
    QTest::newRow("before") << int(mkInsertBefore) << QStringList{"Open", "&0 a", "&1 c", "&2 b", "Exit"} << Sub;
    QTest::newRow("after") << int(mkInsertAfter) << QStringList{"Open", "Exit", "&0 a", "&1 c", "&2 b"} << Sub;
    QTest::newRow("with separator") << int(mkInsertWithSeparator)
                                    << QStringList{"Open", "Exit", "-", "&0 a", "&1 c", "&2 b"} << Sub;
    QTest::newRow("submenu") << int(mkSubMenu) << QStringList{"Open", "Reopen", "Exit"}
                             << QStringList{"&0 a", "&1 c", "&2 b", "Forget all"};
  }

  void menuKinds() {
    QFETCH(int, Kind);
    QAction *Root = Kind == mkSubMenu ? Menu->Reopen->menuAction() : Menu->Exit;
    if (Kind != mkSubMenu) Menu->File.removeAction(Menu->Reopen->menuAction());
    TJMostRecentlyUsedList &L = Make(Root);
    L.SetMenuKind(TJMRUMenuKind(Kind));
    for (const char *S : {"a", "b", "c", "a"}) L.Add(S);
    QTEST(Texts(&Menu->File), "File");
    QTEST(Texts(Menu->Reopen), "Reopen");
    QCOMPARE(L.RootMenuItem != Root, Kind == mkInsertWithSeparator);  // the separator stands in
    QPointer<QAction> B = L.GetMenuItem("B");
    QVERIFY(B && B->parent() == &L);
    L.Clear();
    QVERIFY(!B);
    QCOMPARE(L.RootMenuItem, Root);
    const QStringList Left = Kind == mkSubMenu ? QStringList{"Open", "Reopen(off)", "Exit"} : QStringList{"Open", "Exit"};
    QCOMPARE(Texts(&Menu->File), Left);
    QCOMPARE(Texts(Menu->Reopen), QStringList{"Forget all"});
  }

  // Under mkSubMenu the list disables the root while it is empty and
  // enables again only what it disabled itself.
  void rootEnabling() {
    QAction *Root = Menu->Reopen->menuAction();
    TJMostRecentlyUsedList &L = Make(Root);
    LoadComponents(&L);
    QVERIFY(!Root->isEnabled());
    L.Add("a");
    QVERIFY(Root->isEnabled());
    Root->setEnabled(false);
    L.Add("b");
    L.Delete("a");
    QVERIFY(!Root->isEnabled());
    L.Delete("b");
    L.Add("c");
    QVERIFY(Root->isEnabled());
    // Leaving the submenu kind gives back a root the list disabled.
    L.Clear();
    L.SetMenuKind(mkInsertAfter);
    QVERIFY(Root->isEnabled());
  }

  // Changing the kind while entries are shown carries them across: out of
  // the submenu to below the root, and back.
  void kindChangedAtRunTime() {
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    L.Add("a");
    L.Add("b");
    L.SetMenuKind(mkInsertAfter);
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "&0 b", "&1 a", "Exit"}));
    QCOMPARE(Texts(Menu->Reopen), QStringList{"Forget all"});
    L.SetMenuKind(mkInsertWithSeparator);
    L.Add("c");
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "-", "&0 c", "&1 b", "&2 a", "Exit"}));
    L.SetMenuKind(mkSubMenu);
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "Exit"}));
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 c", "&1 b", "&2 a", "Forget all"}));
  }

  void clicks_data() {
    QTest::addColumn<bool>("Handler");
    QTest::addColumn<bool>("Opened");
    QTest::addColumn<bool>("HideInUse");
    QTest::addColumn<QStringList>("After");
    QTest::newRow("opened, hidden") << true << true << true << QStringList{"C:\\b", "C:\\a"};
    QTest::newRow("failed to open") << true << false << true << QStringList{"C:\\c", "C:\\b", "C:\\a"};
    QTest::newRow("opened, not hidden") << true << true << false << QStringList{"C:\\c", "C:\\b", "C:\\a"};
    QTest::newRow("no handler") << false << true << true << QStringList{"C:\\c", "C:\\b", "C:\\a"};
  }

  // A real click on an entry of the popped-up submenu.
  void clicks() {
    QFETCH(bool, Handler);
    QFETCH(bool, Opened);
    QFETCH(QStringList, After);
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    QFETCH(bool, HideInUse);
    L.HideInUse = HideInUse;
    QStringList Selected;
    if (Handler)
      L.OnSelect = [&](TJMostRecentlyUsedList *Sender, const QString &Item, bool &AOpened) {
        [&] { QCOMPARE(Sender, &L); QVERIFY(AOpened); }();
        Selected << Item;
        AOpened = Opened;
        return 7;
      };
    for (const char *S : {"C:\\a", "C:\\b", "C:\\c"}) L.Add(S);
    QPointer<QAction> Top = L.GetMenuItem("c:\\C");
    Menu->Reopen->popup(QPoint(20, 20));
    QVERIFY(QTest::qWaitForWindowExposed(Menu->Reopen));
    QTest::mouseClick(Menu->Reopen, Qt::LeftButton, {}, Menu->Reopen->actionGeometry(Top).center());
    QCOMPARE(Selected, Handler ? QStringList{"C:\\c"} : QStringList{});
    QCOMPARE(Entries(L), After);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(Top.isNull(), After.size() == 2);
    QCOMPARE(Texts(Menu->Reopen).size(), After.size() + 1);
  }

  // Finding entries folds only the ASCII letters; the list keeps the first
  // spelling; Used and BringToTop.
  void entries() {
    TJMostRecentlyUsedList &L = Make(nullptr);
    L.Add("");
    QCOMPARE(Changes, 0);
    L.Add("C:\\Docs\\a.txt");
    L.Add("\u00e9");
    L.Add("c:\\docs\\A.TXT");
    L.Add("\u00c9");
    QCOMPARE(Entries(L), (QStringList{"\u00c9", "C:\\Docs\\a.txt", "\u00e9"}));
    QCOMPARE(L.Used("new"), false);
    QCOMPARE(L.Used("\u00e9"), true);
    QCOMPARE(Entries(L), (QStringList{"\u00e9", "new", "\u00c9", "C:\\Docs\\a.txt"}));
    QCOMPARE(L.GetMenuItem("new"), nullptr);  // added without a root
    QCOMPARE(ErrorOf([&] { L.BringToTop("x"); }), "Cannot move x to top of MRU - it is not in the MRU");
    QCOMPARE(ErrorOf([&] { L.GetItem(4); }), "List index out of bounds (4)");
    L.SetSortBy(skName);
    QCOMPARE(ErrorOf([&] { L.BringToTop("x"); }), "no error");
  }

  // The list stays at MaxItems, its front kept, the dropped entries' actions
  // freed; lowering MaxItems takes effect at the next Add.
  void limits_data() {
    QTest::addColumn<int>("Held");
    QTest::addColumn<uint>("MaxBefore");
    QTest::addColumn<uint>("MaxAfter");
    QTest::addColumn<QStringList>("After");
    QTest::newRow("fourth with MaxItems 3") << 3 << 3u << 3u << QStringList{"new", "2", "1"};
    QTest::newRow("MaxItems lowered from 10 to 5") << 10 << 10u << 5u << QStringList{"new", "9", "8", "7", "6"};
    QTest::newRow("MaxItems 0") << 2 << 10u << 0u << QStringList{};
  }

  void limits() {
    QFETCH(int, Held);
    QFETCH(uint, MaxBefore);
    QFETCH(uint, MaxAfter);
    QFETCH(QStringList, After);
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    L.MaxItems = MaxBefore;
    QList<QPointer<QAction>> Items;
    for (int I = 0; I < Held; ++I) {
      L.Add(QString::number(I));
      Items << L.GetMenuItem(QString::number(I));
    }
    L.MaxItems = MaxAfter;
    QCOMPARE(L.GetCount(), Held);
    L.Add("new");
    QCOMPARE(Entries(L), After);
    for (int I = 0; I < Held; ++I) QCOMPARE(Items[I].isNull(), !After.contains(QString::number(I)));
    QCOMPARE(Texts(Menu->Reopen).size(), After.size() + 1);
  }

  // skName sorts by the locale's collation ignoring case, and keeps later
  // entries in order; back to skMostRecent the order stays, new ones on top.
  void nameOrder() {
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    for (const char *S : {"b", "C", "a"}) L.Add(S);
    L.SetSortBy(skName);
    QCOMPARE(Entries(L), (QStringList{"a", "b", "C"}));
    QCOMPARE(Texts(Menu->Reopen).first(), "&0 a");
    L.Add("B2");
    L.Used("a");
    QCOMPARE(Entries(L), (QStringList{"a", "b", "B2", "C"}));
    L.SetSortBy(skMostRecent);
    L.Add("0");
    L.Used("C");
    QCOMPARE(Entries(L), (QStringList{"C", "0", "a", "b", "B2"}));
  }

  void load_data() {
    QTest::addColumn<QByteArray>("Stored");
    QTest::addColumn<QString>("Key");
    QTest::addColumn<QStringList>("Loaded");
    QTest::newRow("A and a, one entry in the later case")
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"a\"\n\"1\"=\"b\"\n\"2\"=\"A\"\n") << Key
        << QStringList{"A", "b"};
    QTest::newRow("empty and missing values skipped")
        << QByteArray("\"Count\"=dword:00000004\n\"0\"=\"\"\n\"1\"=\"b\"\n\"3\"=dword:00000001\n") << Key
        << QStringList{"b"};
    QTest::newRow("blank key") << QByteArray("\"Count\"=dword:00000001\n\"0\"=\"a\"\n") << QString()
                               << QStringList{};
  }

  // Loaded reads the stored list over whatever was held.
  void load() {
    QFETCH(QByteArray, Stored);
    TTempStore::Save(StoreFile(Stored));
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    L.Add("held");
    QFETCH(QString, Key);
    L.Storage()->SetKey(Key);
    L.Loaded();
    QTEST(Entries(L), "Loaded");
    QVERIFY(!L.Storage()->IsOpen());
    L.AutoSave = false;
  }

  // Save replaces what the key held; the destructor saves with AutoSave.
  // Each closes the storage only when it opened it, also when an error
  // leaves Load.
  void save() {
    TTempStore::Save(StoreFile("\"Count\"=dword:00000005\n\"4\"=\"old\"\n\"3\"=\"old\"\n"));
    TJMostRecentlyUsedList &L = Make(nullptr);
    for (const char *S : {"C:\\a", "C:\\b", "C:\\c"}) L.Add(S);
    L.Save();
    const QByteArray Three = StoreFile("\"Count\"=dword:00000003\n\"0\"=\"C:\\\\c\"\n\"1\"=\"C:\\\\b\"\n\"2\"=\"C:\\\\a\"\n");
    QCOMPARE(TTempStore::Bytes(), Three);
    L.Storage()->Open();
    L.Delete("C:\\c");
    L.Save();
    QVERIFY(L.Storage()->IsOpen());
    L.Storage()->Close();
    const QByteArray Two = StoreFile("\"Count\"=dword:00000002\n\"0\"=\"C:\\\\b\"\n\"1\"=\"C:\\\\a\"\n");
    QCOMPARE(TTempStore::Bytes(), Two);
    L.OnChange = [](TJMostRecentlyUsedList *Sender) {
      if (Sender->GetCount() > 0) throw EJError("refused");
    };
    QCOMPARE(ErrorOf([&] { L.Load(); }), "refused");
    QVERIFY(!L.Storage()->IsOpen());
    L.OnChange = nullptr;
    QCOMPARE(Entries(L), QStringList{"C:\\a"});  // the first value read, "1"
    L.Add("d");
    List.reset();
    QCOMPARE(TTempStore::Bytes(), StoreFile("\"Count\"=dword:00000002\n\"0\"=\"d\"\n\"1\"=\"C:\\\\a\"\n"));
  }

  // An entry added while no root was set has no action: once a root is set
  // the refresh stops there, the entries before it placed, without OnChange.
  // Actions deleted elsewhere are forgotten.
  void missingActions() {
    QAction *Root = Menu->Reopen->menuAction();
    TJMostRecentlyUsedList &L = Make(nullptr);
    L.Add("old");
    L.RootMenuItem = Root;
    Changes = 0;
    QCOMPARE(ErrorOf([&] { L.Add("new"); }), "AddAt: src or dest is nil");
    QCOMPARE(ErrorOf([&] { L.Add("newer"); }), "AddAt: src or dest is nil");
    QCOMPARE(Changes, 0);
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 newer", "&1 new", "Forget all"}));
    L.Delete("old");
    delete L.GetMenuItem("new");
    QCOMPARE(Entries(L), (QStringList{"newer", "new"}));
    QCOMPARE(L.GetMenuItem("new"), nullptr);
    QCOMPARE(ErrorOf([&] { L.Add("x"); }), "AddAt: src or dest is nil");
    L.Delete("new");
    L.SetMenuKind(mkInsertWithSeparator);
    L.RootMenuItem = Menu->Exit;
    L.Add("y");
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "Exit", "-", "&0 y", "&1 x", "&2 newer"}));
    delete L.RootMenuItem;  // the separator
    QCOMPARE(L.RootMenuItem, Menu->Exit);
    delete Menu->Exit;
    QCOMPARE(L.RootMenuItem, nullptr);
    L.Add("z");
    QCOMPARE(Entries(L).first(), "z");
  }

  // While designed the list only stores values: no menu, no storage.
  void designing() {
    TTempStore::Save(StoreFile("\"Count\"=dword:00000001\n\"0\"=\"a\"\n"));
    const QByteArray Before = TTempStore::Bytes();
    TJMostRecentlyUsedList &L = Make(Menu->Exit);
    L.Include(csDesigning);
    LoadComponents(&L);
    L.setProperty("MenuKind", int(mkInsertWithSeparator));
    L.setProperty("SortBy", int(skName));
    L.Add("b");
    L.Add("a");
    QCOMPARE(L.MenuKind(), mkInsertWithSeparator);
    QCOMPARE(Entries(L), (QStringList{"a", "b"}));
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "Exit"}));
    QCOMPARE(Changes, 0);
    List.reset();
    QCOMPARE(TTempStore::Bytes(), Before);
  }
};

QTEST_MAIN(TestJmru)
#include "tst_jmru.moc"
