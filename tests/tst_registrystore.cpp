// The settings store: the file format (what it reads, what it refuses, what
// it writes), names that ignore letter case, and that nothing is lost: a
// corrupt file is kept aside, a failed write leaves the old file, and two
// processes writing at once both keep their values.

#include <QProcess>
#include <csignal>
#include <sys/resource.h>

#include "StoreTestSupport.h"

namespace {

// "key path|name|kind|data" for each value.
QStringList Dump(const TRegistryKey &Key, const QString &Path = QString()) {
  QStringList Lines;
  for (const TRegistryValue &V : Key.Values)
    Lines << QStringList{Path, V.Name, QStringList{"sz", "dword", "other"}[V.Kind],
                         V.Kind == TRegistryValue::vkDword ? QString::number(V.Dword) : V.Text}.join(u'|');
  for (const auto &Sub : Key.SubKeys) Lines += Dump(*Sub, Path.isEmpty() ? Sub->Name : Path + u'\\' + Sub->Name);
  return Lines;
}

// The child process of the concurrency test: once the start file is there,
// writes its own values in many small batches.
int RunWriter(const char *Folder, const QString &Name, const char *GoFile) {
  SetRegistryFolder(QString::fromLocal8Bit(Folder));
  while (!QFile::exists(QString::fromLocal8Bit(GoFile))) QThread::msleep(1);
  TRegistryAccess Access;
  for (int I = 1; I <= 100; ++I) {
    if (!Access.OpenKey("Software\\Shared", true)) return 2;
    Access.WriteInteger(Name, I);
    if (!Access.OpenKey("Software\\Own\\" + Name, true)) return 3;
    Access.WriteInteger("Last", I);
  }
  return 0;
}

}  // namespace

class TestRegistryStore : public QObject {
  Q_OBJECT
  std::optional<TTempStore> Store;

 private slots:
  void init() { Store.emplace(); }
  void cleanup() { Store.reset(); }

  void parse_data() {
    QTest::addColumn<QByteArray>("Body");
    QTest::addColumn<QStringList>("Expected");  // empty: refused, unless Body is empty too
    const QByteArray K = StoreHeader + "[HKEY_CURRENT_USER\\A]\n";
    QTest::newRow("types, comments, spaces, a key repeated")
        << K + "; note\n\n \"s\" = \"10\" ;c\n\"d\"=dword:a\n\"e\"=dword:FFFFFFFF\n[hkey_current_user\\a]\n\"S\"=dword:2\n"
        << QStringList{"A|s|dword|2", "A|d|dword|10", "A|e|dword|4294967295"};
    QTest::newRow("escapes") << K + "\"a\\\\b\"=\"say \\\"hi\\\"\\nbye\\r\\q\"\n@=\"dflt\"\n"
                             << QStringList{"A|a\\b|sz|say \"hi\"\nbye\rq", "A||sz|dflt"};
    QTest::newRow("BOM, CRLF and CR")
        << QByteArray("\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n\r[HKEY_CURRENT_USER\\A]\r\"s\"=\"x\"\r\n")
        << QStringList{"A|s|sz|x"};
    QTest::newRow("hex data kept as written") << K + "\"b\"=hex:01,02,\\\n  03\n\"m\"=hex(7):41,00\n"
                                              << QStringList{"A|b|other|hex:01,02,03", "A|m|other|hex(7):41,00"};
    QTest::newRow("empty file") << QByteArray() << QStringList();
    int N = 0;
    for (const QByteArray &Bad : {QByteArray("[HKEY_CURRENT_USER\\A]\n"), StoreHeader + "[HKEY_LOCAL_MACHINE\\A]\n",
                                  StoreHeader + "\"s\"=\"x\"\n", K + "\"s\"=\"x\n", K + "\"s\"=\"x\"y\n", K + "\"s\"=\"\xe9\"\n"})
      QTest::addRow("refused %d", ++N) << Bad << QStringList();
  }

  void parse() {
    QFETCH(QByteArray, Body);
    QFETCH(QStringList, Expected);
    const auto Tree = TRegistryTree::Parse(Body, TRegistryRoot::CurrentUser);
    QCOMPARE(!Tree, Expected.isEmpty() && !Body.isEmpty());
    if (Tree) QCOMPARE(Dump(Tree->Root()), Expected);
  }

  // What a batch writes, byte for byte (keys sorted without regard to case,
  // empty keys kept), and that reading and writing it again changes nothing.
  void writtenFileRoundTrips() {
    const QString Path = QStringLiteral("C:\\Games\\\"Q\"\nline 2\r");
    const QString Name = QString::fromUtf8("J\u00fcrgen \u00c5berg \u20ac \U0001F3B2");
    {
      TRegistryAccess Access;
      QVERIFY(Access.OpenKey("Software\\b\\Empty", true));
      QVERIFY(Access.OpenKey("\\Software\\A", true));
      Access.WriteString("Path", Path);
      Access.WriteString("Name", Name);
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
      QCOMPARE(Access.ReadString("Old"), QString());
      Access.WriteString("New", Bad);
    }
    QCOMPARE(TTempStore::Bytes(), StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\"New\"=\"second bad file\"\n\n");
    QCOMPARE(TTempStore::Bytes(File + ".corrupt") + TTempStore::Bytes(File + ".corrupt.1"), "not a storesecond bad file");
  }

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
    const QString Go = Store->Dir.filePath("go");
    QProcess A, B;
    for (auto [Process, Name] : {std::pair{&A, "A"}, std::pair{&B, "B"}}) {
      Process->setProcessChannelMode(QProcess::ForwardedChannels);
      Process->start(QCoreApplication::applicationFilePath(), {"--writer", Store->Dir.path(), Name, Go});
      QVERIFY(Process->waitForStarted());
    }
    TTempStore::Save("", Go);
    for (QProcess *Process : {&A, &B}) QVERIFY(Process->waitForFinished(120000) && Process->exitCode() == 0);
    QFile::remove(Go);
    const auto Tree = TRegistryTree::Parse(TTempStore::Bytes(), TRegistryRoot::CurrentUser);
    QVERIFY(Tree);
    for (const QString Name : {"A", "B"}) {
      QCOMPARE(Tree->Find({"Software", "Shared"})->Value(Name)->Dword, 100u);
      QCOMPARE(Tree->Find({"Software", "Own", Name})->Value("Last")->Dword, 100u);
    }
    QCOMPARE(QDir(Store->Dir.path()).entryList(QDir::Files), QStringList{"HKEY_CURRENT_USER.reg"});
  }
};

int main(int argc, char *argv[]) {
  QCoreApplication App(argc, argv);
  if (argc == 5 && qstrcmp(argv[1], "--writer") == 0) return RunWriter(argv[2], argv[3], argv[4]);
  TestRegistryStore Test;
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_registrystore.moc"
