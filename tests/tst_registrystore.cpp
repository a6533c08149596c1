// The settings store: the file format (what it reads, what it refuses, what
// it writes), names that ignore letter case, and that nothing is lost and
// nothing hangs: a corrupt file is kept aside, a FIFO or a read-only file is
// left alone, two writers never hold the lock at once (also through two
// paths to the store), and trees of any depth are copied and destroyed.

#include <sys/resource.h>
#include <sys/stat.h>

#include "TestSupport.h"

static QByteArray KeyLine(int Depth, const QByteArray &Prefix = "") {
  return Prefix + "[HKEY_CURRENT_USER" + QByteArray("\\a").repeated(Depth) + "]\n";
}

class TestRegistryStore : public QObject {
  Q_OBJECT
  std::optional<TTempFolder> Store;

 private slots:
  void init() { Store.emplace(); }

  // Each accepted file as the store writes it back (names in their first
  // case, types apart, data of other types as written), and that reading
  // that again gives the same tree and the same bytes.
  void parse_data() {
    // The file, and what follows the header line written (null: refused).
    TTable<QByteArray, QByteArray>::Add();
    const QByteArray K = StoreHeader + "[HKEY_CURRENT_USER\\A]\n", A = "\n[HKEY_CURRENT_USER\\A]\n";
    QTest::newRow("hand-edited: types, comments, spaces, a key repeated, hex data kept as written")
        << K + "; note\n\n \"s\" = \"10\" ;c\n\"d\"=dword:a\n\"b\"=hex:01,02,\\\n  03\n[hkey_current_user\\a]\n\"S\"=dword:2\n"
        << A + "\"s\"=dword:00000002\n\"d\"=dword:0000000a\n\"b\"=hex:01,02,03\n";
    QStringEncoder Utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    QTest::newRow("the registry editor's export: UTF-16 after a byte order mark, CRLF")
        << QByteArray(Utf16.encode(QString::fromUtf8("Windows Registry Editor Version 5.00\r\n\r\n"
                                                     "[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"\u00e9\u20ac\"\r\n")))
        << A + "\"n\"=\"\xc3\xa9\xe2\x82\xac\"\n";
    QTest::newRow("REGEDIT4 header: Windows-1252 text, and text in hex form made UTF-16")
        << QByteArray("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n\"n\"=\"J\xfcrgen \x80\"\r\n\"x\"=hex(2):41,e9,00\r\n")
        << A + "\"n\"=\"J\xc3\xbcrgen \xe2\x82\xac\"\n\"x\"=hex(2):41,00,e9,00,00,00\n";
    QTest::newRow("a stray value in Windows-1252 beside UTF-8 ones")
        << K + "\"u\"=\"\xc3\xa9\"\n\"s\"=\"caf\xe9\"\n[HKEY_CURRENT_USER\\A\\\xc3\xa9]\n"
        << A + "\"u\"=\"\xc3\xa9\"\n\"s\"=\"caf\xc3\xa9\"\n\n[HKEY_CURRENT_USER\\A\\\xc3\xa9]\n";
    QTest::newRow("delete lines applied as they are read")
        << K + "\"a\"=\"1\"\n\"b\"=\"2\"\n@=\"d\"\n\"a\" = - ;gone\n[HKEY_CURRENT_USER\\A\\Sub\\Deep]\n"
               "[HKEY_CURRENT_USER\\B]\n\"c\"=dword:1\n[-HKEY_CURRENT_USER\\a\\SUB]\n[-HKEY_CURRENT_USER\\Missing]\n"
               "[-HKEY_CURRENT_USER]\n[HKEY_CURRENT_USER\\A]\n\"A\"=\"3\"\n@=-\n\"none\"=-\n"
        << A + "\"b\"=\"2\"\n\"A\"=\"3\"\n\n[HKEY_CURRENT_USER\\B]\n\"c\"=dword:00000001\n";
    QTest::newRow("hex continued at the file's end") << K + "\"b\"=hex:01, \\\n  \n" << A + "\"b\"=hex:01,\n";
    QByteArray Levels;
    for (int Depth = 1; Depth <= RegistryMaxDepth; ++Depth) Levels += KeyLine(Depth, "\n");
    QTest::newRow("a key as deep as the platform allows") << StoreHeader + KeyLine(RegistryMaxDepth) << Levels;

    const auto Refused = [](const char *Why, const QByteArray &Body) { QTest::newRow(Why) << Body << QByteArray(); };
    Refused("no header", "[HKEY_CURRENT_USER\\A]\n");
    Refused("a key of another root", StoreHeader + "[HKEY_LOCAL_MACHINE\\A]\n");
    Refused("a delete line of another root", StoreHeader + "[-HKEY_LOCAL_MACHINE\\A]\n");
    Refused("a value after a deleted key", K + "[-HKEY_CURRENT_USER\\A]\n\"s\"=\"x\"\n");
    Refused("unterminated text", K + "\"s\"=\"x\n");
    Refused("data after the text", K + "\"s\"=\"x\"y\n");
    Refused("a key one level deeper than allowed", StoreHeader + KeyLine(RegistryMaxDepth + 1));
    Refused("a key a million levels deep", StoreHeader + KeyLine(1000000));
    Refused("the file ends inside a character", K + "\"s\"=\"x\"\n;\xe2\x82");
    Refused("the file ends inside a four-byte character", K + "\"s\"=\"\xf0\x9f\x8e\xb2\"\n;\xf0\x9f\x8e");
    Refused("UTF-16 with a lone surrogate in a key name",
            QStringEncoder(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom)
                .encode(u"Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\A\xd800]\r\n"));
  }

  void parse() {
    const auto [Body, Expected] = TTable<QByteArray, QByteArray>::Row();
    const auto Tree = TRegistryTree::Parse(Body, TRegistryRoot::CurrentUser);
    const QByteArray Written = Tree ? Tree->Serialize(TRegistryRoot::CurrentUser) : QByteArray();
    QCOMPARE(Written, Expected.isNull() ? Expected : StoreHeader + Expected + "\n");
    const auto Again = TRegistryTree::Parse(Written, TRegistryRoot::CurrentUser);
    QVERIFY(!Tree || (Again && *Again == *Tree && Again->Serialize(TRegistryRoot::CurrentUser) == Written));
  }

  // What a batch writes, byte for byte (keys sorted without regard to case,
  // empty keys kept), and that reading and writing it again changes nothing.
  void writtenFileRoundTrips() {
    TRegistryAccess Access;
    QVERIFY(Access.OpenKey("Software\\B\\Empty", true) && Access.OpenKey("\\Software\\a", true));
    Access.WriteString("Path", "C:\\Games\\\"Q\"\nline 2\r");
    Access.WriteString("Name", QString::fromUtf8("J\u00fcrgen \u00c5berg \u20ac \U0001F3B2"));
    Access.WriteString("Case", "first");
    Access.WriteInteger("CASE", -1);  // the same value; its name keeps the first case
    Access.CloseKey();
    const QByteArray Expected = StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\a]\n"
                                              "\"Path\"=\"C:\\\\Games\\\\\\\"Q\\\"\\nline 2\\r\"\n"
                                              "\"Name\"=\"J\xc3\xbcrgen \xc3\x85" "berg \xe2\x82\xac \xf0\x9f\x8e\xb2\"\n"
                                              "\"Case\"=dword:ffffffff\n\n[HKEY_CURRENT_USER\\Software\\B]\n"
                                              "\n[HKEY_CURRENT_USER\\Software\\B\\Empty]\n\n";
    QCOMPARE(Slurp(StorePath()), Expected);
    QCOMPARE(TRegistryTree::Parse(Expected, TRegistryRoot::CurrentUser)->Serialize(TRegistryRoot::CurrentUser), Expected);
  }

  // Names deleted in numbers (which squeezes the key's slots) leave the rest
  // in their order, found by any case, and keeping their first case; a
  // value and a subkey of one name are apart.
  void deletingManyNamesKeepsTheRest() {
    TRegistryKey Key;
    QStringList Expected, Deleted, Values, SubKeys;
    for (int I = 0; I < 100; ++I) {
      const QString Name = QStringLiteral("N%1").arg(I);
      Key.SetValue({Name, TRegistryValue::vkDword, {}, quint32(I)});
      Key.CreateSubKey(Name);
      (I % 3 ? Expected : Deleted) << Name;
    }
    for (QString Name : Deleted) QVERIFY(Key.DeleteValue(Name.toLower()) && Key.DeleteSubKey(Name.toLower()));
    QVERIFY(!Key.DeleteValue("n0") && !Key.DeleteSubKey("n0"));
    Key.SetValue({"n50", TRegistryValue::vkText, "new", 0});
    for (const TRegistryValue *Value : Key.Values()) Values << Value->Name;
    for (const TRegistryKey *Sub : Key.SubKeys()) SubKeys << Sub->Name();
    QCOMPARE(Values + SubKeys, Expected + Expected);
    QVERIFY(Key.Value("N50")->Text == "new" && Key.SubKey("N98") == Key.SubKeys().back());
  }

  // Far deeper than a file may hold (through the tree's own calls), so that
  // any recursion in copying, comparing or destroying would run out of
  // stack. A path deeper than a file may hold is refused by the accessor,
  // which would otherwise write a file it could not read back.
  void deepTreesNeedNoStack() {
    TRegistryTree Tree;
    Tree.Create(QStringList(200000, "k"))->SetValue({"v", TRegistryValue::vkText, "deep", 0});
    TRegistryTree Copy = Tree;
    QVERIFY(Copy == Tree);
    QCOMPARE(Copy.Find(QStringList(200000, "K"))->Value("V")->Text, "deep");
    QVERIFY(Copy.Delete({"k"}) && !(Copy == Tree));
    TRegistryAccess Access;
    QVERIFY(!Access.OpenKey(QStringList(RegistryMaxDepth + 1, "a").join(u'\\'), true) &&
            Access.OpenKey(QStringList(RegistryMaxDepth, "a").join(u'\\'), true));
  }

  // A file that cannot be parsed reads as empty and is renamed aside, never
  // over an earlier one, before the next batch is written.
  void corruptFileIsKeptAside() {
    const QString File = StorePath();
    QLoggingCategory::setFilterRules("quintor.files.warning=true");
    for (const QByteArray Bad : {"not a store", "second bad file"}) {
      QTest::ignoreMessage(QtWarningMsg, qPrintable(File + " cannot be read (line 1: no header); it was set aside as " +
                                                    File + (Bad == "not a store" ? ".corrupt" : ".corrupt.1")));
      TRegistryAccess Access;
      QVERIFY(Spit(File, Bad) && Access.OpenKey("Software", true));
      Access.WriteString("New", Bad);
    }
    QCOMPARE(Slurp(File) + Slurp(File + ".corrupt") + Slurp(File + ".corrupt.1"),
             StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\"New\"=\"second bad file\"\n\nnot a storesecond bad file");
  }

  // What stands in the store's place is read, or at once read as empty
  // (a FIFO would block an ordinary open until a writer came), but never
  // written over, moved or made writable: a FIFO, a folder, a file marked
  // read-only (also for root, whom the system lets write anything) and a
  // file whose replacement fails half-way (here: at the file size limit,
  // which binds root too, as a full disk would). The writer runs in a child,
  // which also keeps the limit out of this process.
  void storeFileIsLeftAlone_data() {
    // The store's content (null: not a file), its mode, the name read, whether the file size is limited.
    TTable<QByteArray, int, QString, bool>::Add();
    const QByteArray Ann = StoreHeader + "[HKEY_CURRENT_USER\\Software]\n\"Name\"=\"Ann\"\n";
    QTest::newRow("FIFO") << QByteArray() << int(S_IFIFO | 0644) << QString() << false;
    QTest::newRow("folder") << QByteArray() << int(S_IFDIR | 0755) << QString() << false;
    QTest::newRow("read-only store") << Ann << int(S_IFREG | 0444) << QStringLiteral("Ann") << false;
    QTest::newRow("read-only, unparsable") << QByteArray("not a store") << int(S_IFREG | 0444) << QString() << false;
    QTest::newRow("the write fails half-way") << Ann << int(S_IFREG | 0644) << QStringLiteral("Ann") << true;
  }

  void storeFileIsLeftAlone() {
    const auto [Body, Mode, Read, SizeLimit] = TTable<QByteArray, int, QString, bool>::Row();
    const QByteArray File = QFile::encodeName(StorePath());
    QVERIFY(Body.isNull() || Spit(StorePath(), Body));
    QCOMPARE(S_ISFIFO(Mode) ? mkfifo(File.constData(), 0) : S_ISDIR(Mode) ? mkdir(File.constData(), 0) : 0, 0);
    QCOMPARE(chmod(File.constData(), Mode & 07777), 0);
    QVERIFY(Ended(Spawn([&] {
      const rlimit Small{256, 256};
      if (SizeLimit && (std::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &Small) != 0)) return 2;
      TRegistryAccess Access;
      if (!Access.OpenKey("Software", true) || Access.ReadString("Name") != Read) return 1;
      Access.WriteString("Name", QString(SizeLimit ? 4000 : 3, u'x'));
      return 0;
    })));
    struct stat Info {};
    QCOMPARE(stat(File.constData(), &Info) == 0 ? int(Info.st_mode) : -1, Mode);
    QCOMPARE((Body.isNull() ? Body : Slurp(StorePath())) + FilesOf(Store->Dir.path()).join(' ').toUtf8(), Body + "HKEY_CURRENT_USER.reg");
  }

  // Each writer, once the start file is there, writes its own value in many
  // small batches; each batch must merge the other's, not overwrite it. The
  // second reaches the store through a symbolic link to its folder.
  void twoProcessesWritingAtOnceKeepBoth() {
    const QString Go = Store->Dir.filePath("start"), Link = Store->Dir.filePath("link");
    QVERIFY(QFile::link(Store->Dir.path(), Link));
    std::vector<pid_t> Writers;
    for (const QString Name : {"A", "B"})
      Writers.push_back(Spawn([&] {
        if (Name == "B") SetRegistryFolder(Link);
        while (!QFile::exists(Go)) QThread::msleep(1);
        TRegistryAccess Access;
        for (int I = 1; I <= 100; ++I)
          if (Access.OpenKey("Software\\Shared", true)) Access.WriteInteger(Name, I);
        return 0;
      }));
    QVERIFY(Spit(Go, ""));
    for (const pid_t Writer : Writers) QVERIFY(Ended(Writer));
    QCOMPARE(Slurp(StorePath()).count("\"=dword:00000064\n"), 2);  // A and B, each its last value
    QCOMPARE(FilesOf(Store->Dir.path()), QStringList({"HKEY_CURRENT_USER.reg", "link", "start"}));
  }
};

QTEST_GUILESS_MAIN(TestRegistryStore)
#include "tst_registrystore.moc"
