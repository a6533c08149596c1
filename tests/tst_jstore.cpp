// Storage settings: the errors of misuse, what reads give back when a value
// is missing or of another type, Clear, and what happens to an open storage
// when its Key or root changes. A write reaches the file when the batch is
// closed, which is how these tests see whether a storage was closed.

#include "JStore.h"
#include "TestSupport.h"

static TJStorage &Open(TJStorage &Storage, const QString &Key, TJStorageRootKey Root = atrkCurrentUser) {
  Storage.SetKey(Key);
  Storage.SetRegistryRootKey(Root);
  Storage.Open();
  return Storage;
}

class TestJStore : public QObject {
  Q_OBJECT
  std::optional<TTempFolder> Store;

 private slots:
  void init() { Store.emplace(); }
  void cleanup() { Store.reset(); }

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
};

QTEST_GUILESS_MAIN(TestJStore)
#include "tst_jstore.moc"
