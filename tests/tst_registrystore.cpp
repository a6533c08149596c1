// The settings store: the file format (what it reads, what it refuses, what
// it writes), names that ignore letter case, and that nothing is lost: a
// corrupt file is kept aside, and two processes writing at once both keep
// their values.

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "StoreTestSupport.h"

// Work runs in a child process of its own; a crash in it fails the test
// instead of ending it.
template <typename TWork>
static pid_t Spawn(TWork Work) {
  const pid_t Child = fork();
  if (Child == 0) _exit(Work());
  return Child;
}

static bool ExitedCleanly(pid_t Child) {
  int Status = -1;
  return waitpid(Child, &Status, 0) == Child && WIFEXITED(Status) && WEXITSTATUS(Status) == 0;
}

class TestRegistryStore : public QObject {
  Q_OBJECT
  std::optional<TTempStore> Store;

 private slots:
  void init() { Store.emplace(); }
  void cleanup() { Store.reset(); }

  // Each accepted file as the store writes it back: names in their first
  // case, types apart, data of other types as written.
  void parse_data() {
    QTest::addColumn<QByteArray>("Body");
    QTest::addColumn<QByteArray>("Expected");  // what follows the header line; null: refused
    const QByteArray K = StoreHeader + "[HKEY_CURRENT_USER\\A]\n", A = "\n[HKEY_CURRENT_USER\\A]\n";
    QTest::newRow("hand-edited: types, comments, spaces, a key repeated, hex data kept as written")
        << K + "; note\n\n \"s\" = \"10\" ;c\n\"d\"=dword:a\n\"b\"=hex:01,02,\\\n  03\n[hkey_current_user\\a]\n\"S\"=dword:2\n"
        << A + "\"s\"=dword:00000002\n\"d\"=dword:0000000a\n\"b\"=hex:01,02,03\n";
    int N = 0;
    for (const QByteArray &Bad : {QByteArray("[HKEY_CURRENT_USER\\A]\n"), StoreHeader + "[HKEY_LOCAL_MACHINE\\A]\n",
                                  StoreHeader + "\"s\"=\"x\"\n", K + "\"s\"=\"x\n", K + "\"s\"=\"x\"y\n", K + "\"s\"=\"\xe9\"\n"})
      QTest::addRow("refused %d", ++N) << Bad << QByteArray();
  }

  void parse() {
    QFETCH(QByteArray, Body);
    QFETCH(QByteArray, Expected);
    const auto Tree = TRegistryTree::Parse(Body, TRegistryRoot::CurrentUser);
    QCOMPARE(!Tree, Expected.isNull());
    if (Tree) QCOMPARE(Tree->Serialize(TRegistryRoot::CurrentUser), StoreHeader + Expected + "\n");
  }

  // What a batch writes, byte for byte (keys sorted without regard to case,
  // empty keys kept), and that reading and writing it again changes nothing.
  void writtenFileRoundTrips() {
    {
      TRegistryAccess Access;
      QVERIFY(Access.OpenKey("Software\\b\\Empty", true));
      QVERIFY(Access.OpenKey("\\Software\\A", true));
      Access.WriteString("Path", "C:\\Games\\\"Q\"\nline 2\r");
      Access.WriteString("Name", QString::fromUtf8("J\u00fcrgen \u00c5berg \u20ac \U0001F3B2"));
      Access.WriteString("Case", "first");
      Access.WriteInteger("CASE", -1);  // the same value; its name keeps the first case
    }
    const QByteArray Expected = StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\A]\n"
                                              "\"Path\"=\"C:\\\\Games\\\\\\\"Q\\\"\\nline 2\\r\"\n"
                                              "\"Name\"=\"J\xc3\xbcrgen \xc3\x85" "berg \xe2\x82\xac \xf0\x9f\x8e\xb2\"\n"
                                              "\"Case\"=dword:ffffffff\n\n[HKEY_CURRENT_USER\\Software\\b]\n"
                                              "\n[HKEY_CURRENT_USER\\Software\\b\\Empty]\n\n";
    QCOMPARE(TTempStore::Bytes(), Expected);
    QCOMPARE(TRegistryTree::Parse(Expected, TRegistryRoot::CurrentUser)->Serialize(TRegistryRoot::CurrentUser), Expected);
  }

  // A file that cannot be parsed reads as empty and is renamed aside, never
  // over an earlier one, before the next batch is written.
  void corruptFileIsKeptAside() {
    const QString File = RegistryStoreFile(TRegistryRoot::CurrentUser);
    for (const QByteArray Bad : {"not a store", "second bad file"}) {
      TTempStore::Save(Bad);
      TRegistryAccess Access;
      QVERIFY(Access.OpenKey("Software", true));
      Access.WriteString("New", Bad);
    }
    QCOMPARE(TTempStore::Bytes(), StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\"New\"=\"second bad file\"\n\n");
    QCOMPARE(TTempStore::Bytes(File + ".corrupt") + TTempStore::Bytes(File + ".corrupt.1"), "not a storesecond bad file");
  }

  // Each writer, once the start file is there, writes its own value in many
  // small batches; each batch must merge the other's, not overwrite it.
  // A write that fails half-way (here: the file size limit, which binds root
  // too, as a full disk would) must leave the old file whole.
  void failedWriteKeepsTheOldFile() {
    const QByteArray Before = StoreHeader + "[HKEY_CURRENT_USER\\Software]\n";
    TTempStore::Save(Before);
    rlimit Saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &Saved), 0);
    const rlimit Small{256, Saved.rlim_max};
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &Small), 0);
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey("Software", true));
    Access.WriteString("Big", QString(4000, u'x'));
    Access.CloseKey();
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);
    QCOMPARE(TTempStore::Bytes(), Before);
    QCOMPARE(QDir(Store->Dir.path()).entryList(QDir::Files), QStringList{"HKEY_CURRENT_USER.reg"});
  }

  void twoProcessesWritingAtOnceKeepBoth() {
    const QString Go = Store->Dir.filePath("start");
    std::vector<pid_t> Writers;
    for (const QString Name : {"A", "B"})
      Writers.push_back(Spawn([&] {
        while (!QFile::exists(Go)) QThread::msleep(1);
        TRegistryAccess Access;
        for (int I = 1; I <= 100; ++I)
          if (Access.OpenKey("Software\\Shared", true)) Access.WriteInteger(Name, I);
        return 0;
      }));
    TTempStore::Save("", Go);
    for (const pid_t Writer : Writers) QVERIFY(ExitedCleanly(Writer));
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey("Software\\Shared", false));
    QCOMPARE(QList<int>({Access.ReadInteger("A"), Access.ReadInteger("B")}), QList<int>({100, 100}));
    QCOMPARE(QDir(Store->Dir.path()).entryList(QDir::Files), QStringList({"HKEY_CURRENT_USER.reg", "start"}));
  }
};

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "tst_registrystore.moc"
