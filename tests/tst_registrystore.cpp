// The settings store: the file format (what it reads, what it refuses, what
// it writes), names that ignore letter case, and that nothing is lost: a
// corrupt file is kept aside, a failed write leaves the old file, and two
// processes writing at once both keep their values.

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <csignal>
#include <sys/resource.h>

#include "RegistryStore.h"

namespace {

const QByteArray Header = "Windows Registry Editor Version 5.00\n";

// One line per value, "key path|name|kind|data", in file order: a compact
// view of a parsed tree to compare against.
QStringList Dump(const TRegistryKey &Key, const QString &Path = QString()) {
  QStringList Lines;
  if (!Path.isEmpty() && Key.Values.empty()) Lines << Path;
  for (const TRegistryValue &V : Key.Values) {
    const QString Data = V.Kind == TRegistryValue::vkDword ? QString::number(V.Dword) : V.Text;
    const char *Kind = V.Kind == TRegistryValue::vkText ? "sz" : V.Kind == TRegistryValue::vkDword ? "dword" : "other";
    Lines << Path + u'|' + V.Name + u'|' + QLatin1String(Kind) + u'|' + Data;
  }
  for (const auto &Sub : Key.SubKeys)
    Lines += Dump(*Sub, Path.isEmpty() ? Sub->Name : Path + u'\\' + Sub->Name);
  return Lines;
}

QByteArray ReadAll(const QString &Path) {
  QFile File(Path);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

void WriteAll(const QString &Path, const QByteArray &Bytes) {
  QFile File(Path);
  QVERIFY(File.open(QIODevice::WriteOnly));
  QCOMPARE(File.write(Bytes), Bytes.size());
}

// The child process of the concurrency test: waits for the start signal,
// then writes its own values in many small batches.
int RunWriter(const QString &Folder, const QString &Name, const QString &GoFile) {
  SetRegistryFolder(Folder);
  while (!QFile::exists(GoFile)) QThread::msleep(1);
  TRegistryAccess Access;
  for (int I = 1; I <= 100; ++I) {
    if (!Access.OpenKey(QStringLiteral("Software\\Shared"), true)) return 2;
    Access.WriteInteger(Name, I);
    Access.CloseKey();
    if (!Access.OpenKey(QStringLiteral("Software\\Own\\") + Name, true)) return 3;
    Access.WriteInteger(QStringLiteral("Last"), I);
    Access.CloseKey();
  }
  return 0;
}

}  // namespace

class TestRegistryStore : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> FDir;

  QString UserFile() const { return RegistryStoreFile(TRegistryRoot::CurrentUser); }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    SetRegistryFolder(FDir->path());
  }

  void cleanup() { SetRegistryFolder(QString()); }

  void parse_data() {
    QTest::addColumn<QByteArray>("Body");
    QTest::addColumn<QStringList>("Expected");  // nothing: refused, unless Body is empty
    const QByteArray K = Header + "[HKEY_CURRENT_USER\\A]\n";
    const auto Row = [](const char *Name, const QByteArray &Body, const QStringList &Expected) {
      QTest::newRow(Name) << Body << Expected;
    };
    Row("types, comments, spaces around =",
        Header + "; note\n\n[HKEY_CURRENT_USER\\A]\n \"s\" = \"10\" ;c\n\"d\"=dword:a\n\"e\"=dword:FFFFFFFF\n",
        {"A|s|sz|10", "A|d|dword|10", "A|e|dword|4294967295"});
    Row("escapes", K + "\"a\\\\b\"=\"say \\\"hi\\\"\\nbye\\r\\q\"\n@=\"dflt\"\n",
        {"A|a\\b|sz|say \"hi\"\nbye\rq", "A||sz|dflt"});
    Row("CRLF and CR", "Windows Registry Editor Version 5.00\r\n\r[HKEY_CURRENT_USER\\A]\r\"s\"=\"x\"\r\n", {"A|s|sz|x"});
    Row("byte order mark", "\xef\xbb\xbf" + K + "\"s\"=\"\xc3\xa9\"\n", {QString::fromUtf8("A|s|sz|\u00e9")});
    Row("repeated key merges, later value wins",
        K + "\"x\"=\"1\"\n[hkey_current_user\\a]\n\"X\"=dword:2\n\"y\"=\"3\"\n", {"A|x|dword|2", "A|y|sz|3"});
    Row("hex data kept as written", K + "\"b\"=hex:01,02,\\\n  03\n\"m\"=hex(7):41,00\n",
        {"A|b|other|hex:01,02,03", "A|m|other|hex(7):41,00"});
    const QString Utf16 = QString::fromUtf8(K) + "\"s\"=\"\u00e9\"\r\n";
    Row("UTF-16 with byte order mark",
        "\xff\xfe" + QByteArray(reinterpret_cast<const char *>(Utf16.utf16()), Utf16.size() * 2),
        {QString::fromUtf8("A|s|sz|\u00e9")});
    Row("empty file", "", {});
    Row("no header", "[HKEY_CURRENT_USER\\A]\n", {});
    Row("another root", Header + "[HKEY_LOCAL_MACHINE\\A]\n", {});
    Row("empty key name", Header + "[HKEY_CURRENT_USER\\A\\\\B]\n", {});
    Row("value before any key", Header + "\"s\"=\"x\"\n", {});
    Row("unterminated text", K + "\"s\"=\"x\n", {});
    Row("text followed by junk", K + "\"s\"=\"x\"y\n", {});
    Row("dword with 0x", K + "\"d\"=dword:0x1\n", {});
    Row("not UTF-8", K + "\"s\"=\"\xe9\"\n", {});
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
      QVERIFY(Access.OpenKey("\\Software\\zeta", true));
      QVERIFY(Access.OpenKey("Software\\Beta\\Empty", true));
      QVERIFY(Access.OpenKey("Software\\Alpha", true));
      Access.WriteString("Path", Path);
      Access.WriteString("Name", Name);
      Access.WriteString("Case", "first");
      Access.WriteInteger("CASE", -1);  // the same value; its name keeps the first case
    }
    const QByteArray Expected = Header +
                                "\n[HKEY_CURRENT_USER\\Software]\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Alpha]\n"
                                "\"Path\"=\"C:\\\\Games\\\\\\\"Q\\\"\\nline 2\\r\"\n"
                                "\"Name\"=\"J\xc3\xbcrgen \xc3\x85" "berg \xe2\x82\xac \xf0\x9f\x8e\xb2\"\n"
                                "\"Case\"=dword:ffffffff\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Beta]\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Beta\\Empty]\n"
                                "\n[HKEY_CURRENT_USER\\Software\\zeta]\n\n";
    QCOMPARE(ReadAll(UserFile()), Expected);
    QCOMPARE(TRegistryTree::Parse(Expected, TRegistryRoot::CurrentUser)->Serialize(TRegistryRoot::CurrentUser),
             Expected);
    TRegistryAccess Fresh;
    QVERIFY(Fresh.OpenKey("SOFTWARE\\ALPHA", false));
    QCOMPARE(Fresh.ReadString("path"), Path);
    QCOMPARE(Fresh.ReadString("NAME"), Name);
  }

  void corruptFileIsKeptAside() {
    WriteAll(UserFile(), "not a store");
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey("Software", true));
    QCOMPARE(Access.ReadString("anything"), QString());
    Access.WriteString("New", "value");
    Access.CloseKey();
    QCOMPARE(ReadAll(UserFile()), Header + "\n[HKEY_CURRENT_USER\\Software]\n\"New\"=\"value\"\n\n");

    WriteAll(UserFile(), "second bad file");
    QVERIFY(Access.OpenKey("Software", true));  // a key new to the empty store: written
    Access.CloseKey();
    QCOMPARE(ReadAll(UserFile() + ".corrupt"), QByteArray("not a store"));
    QCOMPARE(ReadAll(UserFile() + ".corrupt.1"), QByteArray("second bad file"));
  }

  // A write that fails half-way (here: the file size limit, which binds root
  // too, as a full disk would) must leave the old file whole.
  void failedWriteKeepsTheOldFile() {
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey("Software", true));
    Access.CloseKey();
    const QByteArray Before = ReadAll(UserFile());

    rlimit Saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &Saved), 0);
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Small = Saved;
    Small.rlim_cur = 256;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &Small), 0);
    QVERIFY(Access.OpenKey("Software", true));
    Access.WriteString("Big", QString(4000, u'x'));
    Access.CloseKey();
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);

    QCOMPARE(ReadAll(UserFile()), Before);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{"HKEY_CURRENT_USER.reg"});
  }

  void twoProcessesWritingAtOnceKeepBoth() {
    const QString Go = FDir->filePath("go");
    QProcess A, B;
    for (auto [Process, Name] : {std::pair{&A, "A"}, std::pair{&B, "B"}}) {
      Process->setProcessChannelMode(QProcess::ForwardedChannels);
      Process->start(QCoreApplication::applicationFilePath(), {"--writer", FDir->path(), Name, Go});
      QVERIFY(Process->waitForStarted());
    }
    WriteAll(Go, "");
    for (QProcess *Process : {&A, &B}) {
      QVERIFY(Process->waitForFinished(120000));
      QCOMPARE(Process->exitCode(), 0);
    }
    QFile::remove(Go);

    const auto Tree = TRegistryTree::Parse(ReadAll(UserFile()), TRegistryRoot::CurrentUser);
    QVERIFY(Tree);
    for (const QString Name : {"A", "B"}) {
      QCOMPARE(Tree->Find({"Software", "Shared"})->Value(Name)->Dword, 100u);
      QCOMPARE(Tree->Find({"Software", "Own", Name})->Value("Last")->Dword, 100u);
    }
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{"HKEY_CURRENT_USER.reg"});
  }
};

int main(int argc, char *argv[]) {
  if (argc == 5 && qstrcmp(argv[1], "--writer") == 0) {
    QCoreApplication App(argc, argv);
    return RunWriter(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                     QString::fromLocal8Bit(argv[4]));
  }
  QCoreApplication App(argc, argv);
  TestRegistryStore Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_registrystore.moc"
