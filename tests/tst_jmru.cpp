// The recently-used list on real menus: captions and accelerators, where
// each menu kind places the entries, the separator and the root's enabled
// state, clicks through a popped-up menu, the limits, the two orders, and
// the stored layout read and written through a fresh settings store.

#include <QMenu>

#include "Jmru.h"
#include "StoreTestSupport.h"

namespace {

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

  // Under the default kind the entries lead the root's submenu.
  void captions() {
    QFETCH(QStringList, Added);
    QFETCH(uint, Offset);
    QFETCH(bool, Accelerators);
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    L.NumberOffset = Offset;
    L.NumberAccelerators = Accelerators;
    for (const QString &S : Added) L.Add(S);
    QTEST(Texts(Menu->Reopen), "Captions");
    QCOMPARE(Changes, Added.size());
  }

  // a, b and c added, then a used again; then the list cleared.
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

  // Under mkSubMenu the list enables again only a root it disabled itself.
  // Changing the kind at run time carries the entries out of the submenu
  // and back, and gives back a root the list disabled.
  void rootAndKindChanges() {
    QAction *Root = Menu->Reopen->menuAction();
    TJMostRecentlyUsedList &L = Make(Root);
    LoadComponents(&L);
    QVERIFY(!Root->isEnabled());
    L.Add("a");
    QVERIFY(Root->isEnabled());
    Root->setEnabled(false);
    L.Add("b");
    QVERIFY(!Root->isEnabled());
    L.Clear();
    L.Add("b");
    L.Add("a");
    QVERIFY(Root->isEnabled());
    L.SetMenuKind(mkInsertAfter);
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "&0 a", "&1 b", "Exit"}));
    QCOMPARE(Texts(Menu->Reopen), QStringList{"Forget all"});
    L.SetMenuKind(mkSubMenu);
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 a", "&1 b", "Forget all"}));
    L.Clear();
    L.SetMenuKind(mkInsertWithSeparator);
    QVERIFY(Root->isEnabled());
  }

  void clicks_data() {
    QTest::addColumn<bool>("Handler");
    QTest::addColumn<bool>("Opened");
    QTest::addColumn<bool>("HideInUse");
    QTest::addColumn<QStringList>("After");
    const QStringList All{"C:\\c", "C:\\b", "C:\\a"};
    QTest::newRow("opened, hidden") << true << true << true << QStringList{"C:\\b", "C:\\a"};
    QTest::newRow("failed to open") << true << false << true << All;
    QTest::newRow("opened, not hidden") << true << true << false << All;
    QTest::newRow("no handler") << false << true << true << All;
  }

  // A real click on the top entry of the popped-up submenu.
  void clicks() {
    QFETCH(bool, Handler);
    QFETCH(bool, Opened);
    QFETCH(bool, HideInUse);
    QFETCH(QStringList, After);
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
    QCOMPARE(Selected, Handler ? QStringList{"C:\\c"} : QStringList{});
    QCOMPARE(Entries(), After);
    QCOMPARE(Texts(Menu->Reopen).size(), After.size() + 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(Top.isNull(), After.size() == 2);
  }

  // Finding folds only the ASCII letters, and the first spelling stays.
  // Name order is the locale's, ignoring case; back to most recent order the
  // entries keep their places and new ones go on top.
  void order() {
    TJMostRecentlyUsedList &L = Make(nullptr, {"", "C:\\Docs\\a.txt", "\u00e9", "c:\\docs\\A.TXT", "\u00c9"});
    QCOMPARE(Entries(), (QStringList{"\u00c9", "C:\\Docs\\a.txt", "\u00e9"}));
    QCOMPARE(Changes, 4);
    QCOMPARE(L.Used("b"), false);
    QCOMPARE(L.Used("\u00e9"), true);
    QCOMPARE(Entries(), (QStringList{"\u00e9", "b", "\u00c9", "C:\\Docs\\a.txt"}));
    QCOMPARE(ErrorOf([&] { L.BringToTop("x"); }), "Cannot move x to top of MRU - it is not in the MRU");
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

  // The front of the list stays at MaxItems, the others' actions freed;
  // lowering MaxItems takes effect at the next Add.
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
    QFETCH(QStringList, After);
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction());
    QFETCH(uint, MaxBefore);
    L.MaxItems = MaxBefore;
    QList<QPointer<QAction>> Items;
    for (int I = 0; I < Held; ++I) {
      L.Add(QString::number(I));
      Items << L.GetMenuItem(QString::number(I));
    }
    QFETCH(uint, MaxAfter);
    L.MaxItems = MaxAfter;
    L.Add("new");
    QCOMPARE(Entries(), After);
    for (int I = 0; I < Held; ++I) QCOMPARE(Items[I].isNull(), !After.contains(QString::number(I)));
    QCOMPARE(Texts(Menu->Reopen).size(), After.size() + 1);
  }

  void load_data() {
    QTest::addColumn<QByteArray>("Stored");
    QTest::addColumn<QString>("Key");
    QTest::addColumn<QStringList>("Loaded");
    QTest::newRow("A and a, one entry in the later case")
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"a\"\n\"1\"=\"b\"\n\"2\"=\"A\"\n") << "Software\\MRU"
        << QStringList{"A", "b"};
    QTest::newRow("empty, missing and integer values skipped")
        << QByteArray("\"Count\"=dword:00000004\n\"0\"=\"\"\n\"1\"=\"b\"\n\"3\"=dword:00000001\n") << "Software\\MRU"
        << QStringList{"b"};
    QTest::newRow("blank key") << QByteArray("\"Count\"=dword:00000001\n\"0\"=\"a\"\n") << "" << QStringList{};
  }

  // Loaded reads the stored list over what was held, and closes the storage.
  void load() {
    QFETCH(QByteArray, Stored);
    QFETCH(QString, Key);
    TTempStore::Save(StoreFile(Stored));
    TJMostRecentlyUsedList &L = Make(Menu->Reopen->menuAction(), {"held"});
    L.Storage()->SetKey(Key);
    L.Loaded();
    QTEST(Entries(), "Loaded");
    QVERIFY(!L.Storage()->IsOpen());
    L.AutoSave = false;
  }

  // Save replaces what the key held and the destructor saves; each closes
  // the storage only when it opened it, also when an error leaves Load.
  void save() {
    TTempStore::Save(StoreFile("\"Count\"=dword:00000005\n\"4\"=\"old\"\n\"3\"=\"old\"\n"));
    TJMostRecentlyUsedList &L = Make(nullptr, {"C:\\a", "C:\\b", "C:\\c"});
    L.Save();
    QCOMPARE(TTempStore::Bytes(), StoreFile("\"Count\"=dword:00000003\n\"0\"=\"C:\\\\c\"\n\"1\"=\"C:\\\\b\"\n\"2\"=\"C:\\\\a\"\n"));
    L.Storage()->Open();
    L.Delete("C:\\c");
    L.Save();
    QVERIFY(L.Storage()->IsOpen());
    L.Storage()->Close();
    QCOMPARE(TTempStore::Bytes(), StoreFile("\"Count\"=dword:00000002\n\"0\"=\"C:\\\\b\"\n\"1\"=\"C:\\\\a\"\n"));
    L.OnChange = [](TJMostRecentlyUsedList *Sender) {
      if (Sender->GetCount() > 0) throw EJError("refused");
    };
    QCOMPARE(ErrorOf([&] { L.Load(); }), "refused");
    QVERIFY(!L.Storage()->IsOpen());
    QCOMPARE(Entries(), QStringList{"C:\\a"});  // the first value read, "1"
    L.OnChange = nullptr;
    L.Add("d");
    List.reset();
    QCOMPARE(TTempStore::Bytes(), StoreFile("\"Count\"=dword:00000002\n\"0\"=\"d\"\n\"1\"=\"C:\\\\a\"\n"));
  }

  // An entry added while no root was set has no action: once a root is set
  // the refresh stops there, the entries before it placed, without OnChange.
  // Actions, separators and roots deleted elsewhere are forgotten.
  void deletedElsewhere() {
    TJMostRecentlyUsedList &L = Make(nullptr, {"old"});
    L.RootMenuItem = Menu->Reopen->menuAction();
    Changes = 0;
    QCOMPARE(ErrorOf([&] { L.Add("new"); }), "AddAt: src or dest is nil");
    QCOMPARE(Changes, 0);
    QCOMPARE(Texts(Menu->Reopen), (QStringList{"&0 new", "Forget all"}));
    delete L.GetMenuItem("new");
    QCOMPARE(Entries(), (QStringList{"new", "old"}));
    L.Clear();
    L.SetMenuKind(mkInsertWithSeparator);
    L.RootMenuItem = Menu->Exit;
    L.Add("x");
    QCOMPARE(Texts(&Menu->File), (QStringList{"Open", "Reopen", "Exit", "-", "&0 x"}));
    delete L.RootMenuItem;  // the separator
    QCOMPARE(L.RootMenuItem, Menu->Exit);
    delete Menu->Exit;
    QCOMPARE(L.RootMenuItem, nullptr);
    L.Add("y");
    QCOMPARE(Entries(), (QStringList{"y", "x"}));
  }
};

QTEST_MAIN(TestJmru)
#include "tst_jmru.moc"
