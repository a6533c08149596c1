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
    Access.WriteString(Name + QStringLiteral(" text"), QStringLiteral("%1 wrote %2").arg(Name).arg(I));
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

  void userStoreFollowsStandardPaths() {
    SetRegistryFolder(QString());
    const QString Config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QVERIFY(Config.contains(QStringLiteral("qttest")));
    QCOMPARE(RegistryStoreFile(TRegistryRoot::CurrentUser), Config + "/jstore/HKEY_CURRENT_USER.reg");
    QCOMPARE(RegistryStoreFile(TRegistryRoot::LocalMachine), QStringLiteral("/etc/jstore/HKEY_LOCAL_MACHINE.reg"));
  }

  void parse_data() {
    QTest::addColumn<QByteArray>("Body");
    QTest::addColumn<QStringList>("Expected");  // empty with Fails
    QTest::addColumn<bool>("Fails");

    const QByteArray K = "[HKEY_CURRENT_USER\\Software\\A]\n";
    const auto Ok = [](const char *Name, const QByteArray &Body, const QStringList &Expected) {
      QTest::newRow(Name) << Body << Expected << false;
    };
    const auto Bad = [](const char *Name, const QByteArray &Body) {
      QTest::newRow(Name) << Body << QStringList() << true;
    };

    Ok("text and dword", Header + K + "\"s\"=\"10\"\n\"d\"=dword:0000000a\n",
       {"Software", "Software\\A|s|sz|10", "Software\\A|d|dword|10"});
    Ok("short and upper-case dword", Header + K + "\"a\"=dword:a\n\"b\"=dword:0000000A\n\"c\"=dword:ffffffff\n",
       {"Software", "Software\\A|a|dword|10", "Software\\A|b|dword|10", "Software\\A|c|dword|4294967295"});
    Ok("comments, blank lines, spaces around =",
       Header + "; note\n\n" + K + "  \"d\" = dword:0000000a ;c\n\"s\"\t=\t\"x\" ; c\n",
       {"Software", "Software\\A|d|dword|10", "Software\\A|s|sz|x"});
    Ok("escapes", Header + K + "\"a\\\\b\"=\"say \\\"hi\\\"\\nbye\\r\\q\"\n",
       {"Software", "Software\\A|a\\b|sz|say \"hi\"\nbye\rq"});
    Ok("default value", Header + K + "@=\"dflt\"\n", {"Software", "Software\\A||sz|dflt"});
    Ok("CRLF", "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"s\"=\"x\"\r\n",
       {"A|s|sz|x"});
    Ok("CR alone", "Windows Registry Editor Version 5.00\r\r[HKEY_CURRENT_USER\\A]\r\"s\"=\"x\"\r", {"A|s|sz|x"});
    Ok("UTF-8 byte order mark", "\xef\xbb\xbf" + Header + "[HKEY_CURRENT_USER\\A]\n\"s\"=\"\xc3\xa9\"\n",
       {"A|s|sz|\u00e9"});
    Ok("root in any case", Header + "[hkey_current_user\\A]\n", {"A"});
    Ok("repeated key merges, later value wins",
       Header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"1\"\n[HKEY_CURRENT_USER\\a]\n\"X\"=dword:2\n\"y\"=\"3\"\n",
       {"A|x|dword|2", "A|y|sz|3"});
    Ok("hex data kept as written, with continuation lines",
       Header + "[HKEY_CURRENT_USER\\A]\n\"b\"=hex:01,02,\\\n  03,04\n\"m\"=hex(7):41,00,00,00\n",
       {"A|b|other|hex:01,02,03,04", "A|m|other|hex(7):41,00,00,00"});
    Ok("empty file", "", {});
    Ok("header only", Header, {});

    Bad("no header", "[HKEY_CURRENT_USER\\A]\n\"s\"=\"x\"\n");
    Bad("other header", "REGEDIT4\n\n[HKEY_CURRENT_USER\\A]\n");
    Bad("another root", Header + "[HKEY_LOCAL_MACHINE\\A]\n");
    Bad("space after [", Header + "[ HKEY_CURRENT_USER\\A]\n");
    Bad("key deletion", Header + "[-HKEY_CURRENT_USER\\A]\n");
    Bad("empty key name", Header + "[HKEY_CURRENT_USER\\A\\\\B]\n");
    Bad("no ]", Header + "[HKEY_CURRENT_USER\\A\n");
    Bad("value before any key", Header + "\"s\"=\"x\"\n");
    Bad("unterminated text", Header + K + "\"s\"=\"x\n");
    Bad("text followed by junk", Header + K + "\"s\"=\"x\"y\n");
    Bad("dword with 0x", Header + K + "\"d\"=dword:0x1\n");
    Bad("dword of nine digits", Header + K + "\"d\"=dword:123456789\n");
    Bad("dword without digits", Header + K + "\"d\"=dword:\n");
    Bad("value deletion", Header + K + "\"s\"=-\n");
    Bad("unknown line", Header + K + "s=x\n");
    Bad("not UTF-8", Header + K + "\"s\"=\"\xe9\"\n");
    Bad("binary junk", QByteArray("\x00\x01\x02\xff", 4));
  }

  void parse() {
    QFETCH(QByteArray, Body);
    QFETCH(QStringList, Expected);
    QFETCH(bool, Fails);
    const auto Tree = TRegistryTree::Parse(Body, TRegistryRoot::CurrentUser);
    QCOMPARE(!Tree, Fails);
    if (Tree) QCOMPARE(Dump(Tree->Root()), Expected);
  }

  void utf16File() {
    QString Text = QString::fromUtf8(Header) + "\r\n[HKEY_CURRENT_USER\\A]\r\n\"s\"=\"\u00e9\u20ac\"\r\n";
    QByteArray Bytes("\xff\xfe");
    for (QChar C : Text) Bytes.append(char(C.unicode() & 0xff)).append(char(C.unicode() >> 8));
    const auto Tree = TRegistryTree::Parse(Bytes, TRegistryRoot::CurrentUser);
    QVERIFY(Tree);
    QCOMPARE(Dump(Tree->Root()), QStringList{QString::fromUtf8("A|s|sz|\u00e9\u20ac")});
  }

  // What a batch writes, byte for byte, and that reading it back and writing
  // it again gives the same bytes.
  void writtenFileRoundTrips() {
    {
      TRegistryAccess Access;
      QVERIFY(Access.OpenKey(QStringLiteral("\\Software\\zeta"), true));
      QVERIFY(Access.OpenKey(QStringLiteral("Software\\Beta\\Empty"), true));
      QVERIFY(Access.OpenKey(QStringLiteral("Software\\Alpha"), true));
      Access.WriteString(QStringLiteral("Path"), QStringLiteral("C:\\Games\\\"Q\"\nline 2\r"));
      Access.WriteString(QStringLiteral("Name"), QString::fromUtf8("J\u00fcrgen \u00c5berg \u20ac \U0001F3B2"));
      Access.WriteInteger(QStringLiteral("Minus one"), -1);
      Access.WriteString(QString(), QStringLiteral("default"));
      Access.WriteString(QStringLiteral("Tab\tand \"quote\""), QString());
      Access.CloseKey();
    }
    const QByteArray Expected = Header +
                                "\n[HKEY_CURRENT_USER\\Software]\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Alpha]\n"
                                "\"Path\"=\"C:\\\\Games\\\\\\\"Q\\\"\\nline 2\\r\"\n"
                                "\"Name\"=\"J\xc3\xbcrgen \xc3\x85" "berg \xe2\x82\xac \xf0\x9f\x8e\xb2\"\n"
                                "\"Minus one\"=dword:ffffffff\n"
                                "@=\"default\"\n"
                                "\"Tab\tand \\\"quote\\\"\"=\"\"\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Beta]\n"
                                "\n[HKEY_CURRENT_USER\\Software\\Beta\\Empty]\n"
                                "\n[HKEY_CURRENT_USER\\Software\\zeta]\n"
                                "\n";
    QCOMPARE(ReadAll(UserFile()), Expected);

    const auto Tree = TRegistryTree::Parse(Expected, TRegistryRoot::CurrentUser);
    QVERIFY(Tree);
    QCOMPARE(Tree->Serialize(TRegistryRoot::CurrentUser), Expected);

    TRegistryAccess Fresh;
    QVERIFY(Fresh.OpenKey(QStringLiteral("SOFTWARE\\ALPHA"), false));
    QCOMPARE(Fresh.ReadString(QStringLiteral("path")), QStringLiteral("C:\\Games\\\"Q\"\nline 2\r"));
    QCOMPARE(Fresh.ReadString(QStringLiteral("NAME")), QString::fromUtf8("J\u00fcrgen \u00c5berg \u20ac \U0001F3B2"));
    QCOMPARE(Fresh.ReadInteger(QStringLiteral("minus ONE")), -1);
    QCOMPARE(Fresh.ReadString(QString()), QStringLiteral("default"));
  }

  void namesIgnoreCaseAndKeepTheFirst() {
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey(QStringLiteral("Software\\App"), true));
    Access.WriteString(QStringLiteral("Player"), QStringLiteral("Ann"));
    Access.WriteInteger(QStringLiteral("PLAYER"), 5);
    Access.CloseKey();
    QVERIFY(Access.OpenKey(QStringLiteral("software\\APP\\Sub"), true));
    Access.CloseKey();
    QCOMPARE(ReadAll(UserFile()), Header +
                                      "\n[HKEY_CURRENT_USER\\Software]\n"
                                      "\n[HKEY_CURRENT_USER\\Software\\App]\n"
                                      "\"Player\"=dword:00000005\n"
                                      "\n[HKEY_CURRENT_USER\\Software\\App\\Sub]\n\n");
  }

  void typesStayApart() {
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey(QStringLiteral("K"), true));
    Access.WriteString(QStringLiteral("Text"), QStringLiteral("7"));
    Access.WriteInteger(QStringLiteral("Number"), 7);
    QVERIFY_THROWS_EXCEPTION(ERegistryError, Access.ReadInteger(QStringLiteral("Text")));
    QVERIFY_THROWS_EXCEPTION(ERegistryError, Access.ReadString(QStringLiteral("Number")));
    QVERIFY_THROWS_EXCEPTION(ERegistryError, Access.ReadInteger(QStringLiteral("Missing")));
    QCOMPARE(Access.ReadString(QStringLiteral("Missing")), QString());
    Access.CloseKey();
    QCOMPARE(Access.ReadString(QStringLiteral("Text")), QString());
    QVERIFY_THROWS_EXCEPTION(ERegistryError, Access.ReadInteger(QStringLiteral("Number")));
    QVERIFY_THROWS_EXCEPTION(ERegistryError, Access.WriteString(QStringLiteral("Text"), QString()));
  }

  void keysThatCannotBeOpened_data() {
    QTest::addColumn<QString>("Key");
    QTest::addColumn<bool>("CanCreate");
    QTest::newRow("missing, not created") << "Software\\Missing" << false;
    QTest::newRow("empty name inside") << "Software\\\\X" << true;
    QTest::newRow("line break in a name") << "Software\\A\nB" << true;
  }

  void keysThatCannotBeOpened() {
    QFETCH(QString, Key);
    QFETCH(bool, CanCreate);
    TRegistryAccess Access;
    QVERIFY(!Access.OpenKey(Key, CanCreate));
    QVERIFY(!Access.HasCurrentKey());
    QVERIFY(!QFile::exists(UserFile()));
  }

  void noRootOpensNothing() {
    TRegistryAccess Access;
    Access.SetRootKey(std::nullopt);
    QVERIFY(!Access.OpenKey(QStringLiteral("Software"), true));
    QVERIFY(!Access.DeleteKey(QStringLiteral("Software")));
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList());
  }

  void eachRootHasItsOwnFile() {
    TRegistryAccess Access;
    Access.SetRootKey(TRegistryRoot::LocalMachine);
    QVERIFY(Access.OpenKey(QStringLiteral("Software"), true));
    Access.WriteInteger(QStringLiteral("Machine"), 1);
    Access.CloseKey();
    QCOMPARE(ReadAll(FDir->filePath(QStringLiteral("HKEY_LOCAL_MACHINE.reg"))),
             Header + "\n[HKEY_LOCAL_MACHINE\\Software]\n\"Machine\"=dword:00000001\n\n");
    QVERIFY(!QFile::exists(UserFile()));
  }

  void deleteKeyTakesTheSubKeys() {
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey(QStringLiteral("A\\B\\C"), true));
    Access.WriteInteger(QStringLiteral("x"), 1);
    QVERIFY(Access.OpenKey(QStringLiteral("A\\Other"), true));
    Access.CloseKey();
    QVERIFY(Access.DeleteKey(QStringLiteral("a\\b")));
    QVERIFY(!Access.DeleteKey(QStringLiteral("A\\B")));
    QVERIFY(!Access.DeleteKey(QString()));
    QCOMPARE(ReadAll(UserFile()), Header + "\n[HKEY_CURRENT_USER\\A]\n\n[HKEY_CURRENT_USER\\A\\Other]\n\n");
  }

  void corruptFileIsKeptAside() {
    const QByteArray Corrupt = "this is not a store\n";
    WriteAll(UserFile(), Corrupt);
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey(QStringLiteral("Software"), true));
    QCOMPARE(Access.ReadString(QStringLiteral("anything")), QString());
    Access.WriteString(QStringLiteral("New"), QStringLiteral("value"));
    Access.CloseKey();
    QCOMPARE(ReadAll(UserFile() + ".corrupt"), Corrupt);
    QCOMPARE(ReadAll(UserFile()), Header + "\n[HKEY_CURRENT_USER\\Software]\n\"New\"=\"value\"\n\n");

    WriteAll(UserFile(), "second bad file");
    QVERIFY(Access.OpenKey(QStringLiteral("Software"), true));  // a new key: written at once
    Access.CloseKey();
    QCOMPARE(ReadAll(UserFile() + ".corrupt"), Corrupt);
    QCOMPARE(ReadAll(UserFile() + ".corrupt.1"), QByteArray("second bad file"));
  }

  void readingRewritesNothing() {
    const QByteArray Original = Header + "; a person's note\n[HKEY_CURRENT_USER\\Software]\n\"s\" = \"x\"\n";
    WriteAll(UserFile(), Original);
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey(QStringLiteral("Software"), true));
    QCOMPARE(Access.ReadString(QStringLiteral("S")), QStringLiteral("x"));
    Access.WriteString(QStringLiteral("S"), QStringLiteral("x"));  // the same value again
    Access.CloseKey();
    QCOMPARE(ReadAll(UserFile()), Original);
  }

  void folderUnderAFileTakesNoWrites() {
    const QString Blocker = FDir->filePath(QStringLiteral("file"));
    WriteAll(Blocker, "x");
    TRegistryStore Store(TRegistryRoot::CurrentUser, Blocker + "/store/HKEY_CURRENT_USER.reg");
    QVERIFY(!Store.CanWrite());
    QVERIFY(!Store.Apply({{TRegistryChange::ckCreateKey, {"A"}, {}}}));
    QVERIFY(Dump(Store.Read().Root()).isEmpty());

    SetRegistryFolder(Blocker + "/store");
    TRegistryAccess Access;
    QVERIFY(!Access.OpenKey(QStringLiteral("Software"), true));
    QCOMPARE(Access.ReadString(QStringLiteral("s")), QString());
    QVERIFY_THROWS_EXCEPTION(ERegistryError, Access.WriteString(QStringLiteral("s"), QStringLiteral("x")));
    QCOMPARE(ReadAll(Blocker), QByteArray("x"));
  }

  // A write that fails half-way (here: the file size limit, which binds root
  // too, as a full disk would) must leave the old file whole.
  void failedWriteKeepsTheOldFile() {
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey(QStringLiteral("Software"), true));
    Access.WriteString(QStringLiteral("Old"), QStringLiteral("kept"));
    Access.CloseKey();
    const QByteArray Before = ReadAll(UserFile());
    QVERIFY(Before.size() < 200);

    rlimit Saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &Saved), 0);
    const auto OldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit Small = Saved;
    Small.rlim_cur = 256;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &Small), 0);
    QVERIFY(Access.OpenKey(QStringLiteral("Software"), true));
    Access.WriteString(QStringLiteral("Big"), QString(4000, u'x'));
    Access.CloseKey();
    setrlimit(RLIMIT_FSIZE, &Saved);
    std::signal(SIGXFSZ, OldHandler);

    QCOMPARE(ReadAll(UserFile()), Before);
    QCOMPARE(QDir(FDir->path()).entryList(QDir::Files), QStringList{"HKEY_CURRENT_USER.reg"});

    QVERIFY(Access.OpenKey(QStringLiteral("Software"), true));  // and the store still works
    Access.WriteString(QStringLiteral("Big"), QString(4000, u'x'));
    Access.CloseKey();
    QVERIFY(ReadAll(UserFile()).size() > 4000);
  }

  void lockedStoreLosesTheBatch() {
    WriteAll(UserFile(), Header + "\n[HKEY_CURRENT_USER\\A]\n\n");
    QLockFile Other(UserFile() + ".lock");
    QVERIFY(Other.tryLock(0));
    TRegistryStore Store(TRegistryRoot::CurrentUser, UserFile());
    Store.LockTimeoutMs = 50;
    QVERIFY(!Store.Apply({{TRegistryChange::ckCreateKey, {"B"}, {}}}));
    Other.unlock();
    QCOMPARE(ReadAll(UserFile()), Header + "\n[HKEY_CURRENT_USER\\A]\n\n");
    QVERIFY(Store.Apply({{TRegistryChange::ckCreateKey, {"B"}, {}}}));
  }

  void twoProcessesWritingAtOnceKeepBoth() {
    const QString Go = FDir->filePath(QStringLiteral("go"));
    QProcess A, B;
    for (auto [Process, Name] : {std::pair{&A, "A"}, std::pair{&B, "B"}}) {
      Process->setProcessChannelMode(QProcess::ForwardedChannels);
      Process->start(QCoreApplication::applicationFilePath(), {"--writer", FDir->path(), Name, Go});
      QVERIFY(Process->waitForStarted());
    }
    WriteAll(Go, "");
    for (QProcess *Process : {&A, &B}) {
      QVERIFY(Process->waitForFinished(120000));
      QCOMPARE(Process->exitStatus(), QProcess::NormalExit);
      QCOMPARE(Process->exitCode(), 0);
    }
    QFile::remove(Go);

    const auto Tree = TRegistryTree::Parse(ReadAll(UserFile()), TRegistryRoot::CurrentUser);
    QVERIFY(Tree);
    const TRegistryKey *Shared = Tree->Find({"Software", "Shared"});
    QVERIFY(Shared);
    for (const QString Name : {"A", "B"}) {
      QVERIFY(Shared->Value(Name));
      QCOMPARE(Shared->Value(Name)->Dword, 100u);
      QCOMPARE(Shared->Value(Name + " text")->Text, Name + " wrote 100");
      QVERIFY(Tree->Find({"Software", "Own", Name}));
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
