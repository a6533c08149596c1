// Storage settings: the errors of misuse, what reads give back when a value
// is missing or of another type, Clear, and what happens to an open storage
// when its Key or root changes. A write reaches the file when the batch is
// closed, which is how these tests see whether a storage was closed.

#include "Component.h"
#include "JStore.h"
#include "StoreTestSupport.h"

namespace {

void Open(TJStorage &Storage, const QString &Key, TJStorageRootKey Root = atrkCurrentUser) {
  Storage.SetKey(Key);
  Storage.SetRegistryRootKey(Root);
  Storage.Open();
}

// A value as a fresh storage reads it: "int:..." or "text:..." (a missing
// value reads as empty text).
QString Stored(const QString &Key, const QString &Name, TJStorageRootKey Root = atrkCurrentUser) {
  TJStorage Storage;
  Open(Storage, Key, Root);
  const int Number = Storage.ReadInteger(Name, -12345);
  return Number != -12345 ? QStringLiteral("int:%1").arg(Number) : "text:" + Storage.ReadString(Name, QString());
}

}  // namespace

class TestJStore : public QObject {
  Q_OBJECT
  std::optional<TTempStore> Store;

 private slots:
  void init() { Store.emplace(); }
  void cleanup() { Store.reset(); }

  // The state byte answers for elements 0 to 7 only.
  void stateSet() {
    const TComponentState All = 0xff, Designing = 1u << csDesigning;
    for (int Element : {-1, 8, 31, 32}) QVERIFY(!InStateSet(&All, Element));
    QVERIFY(InStateSet(&Designing, csDesigning) && !InStateSet(&Designing, csLoading) && !InStateSet(&Designing, csDestroying));
  }

  // Storages that cannot reach a store. A blank Key: the accessor stays,
  // without a key, until Close, and reads give their defaults. A root outside
  // the enumeration or a folder that cannot be made: an empty store that
  // cannot be written, where text reads give empty text.
  void withoutAStore_data() {
    QTest::addColumn<QString>("Key");
    QTest::addColumn<int>("Root");
    QTest::newRow("blank Key") << "" << 2;
    QTest::newRow("no such root") << "Software\\App" << 6;
    QTest::newRow("folder under a file") << "Software\\App" << 1;
  }

  void withoutAStore() {
    QFETCH(QString, Key);
    QFETCH(int, Root);
    const bool Blank = Key.isEmpty();
    TTempStore::Save("", Store->Dir.filePath("file"));
    SetRegistryFolder(Store->Dir.filePath("file/store"));
    TJStorage Storage;
    const QString NotOpen = QStringLiteral("JStorage not Open");
    QCOMPARE(ErrorOf([&] { Storage.WriteString("s", "x"); }) + ErrorOf([&] { Storage.ReadInteger("i", 1); }) +
                 ErrorOf([&] { Storage.Clear(); }), NotOpen + NotOpen + NotOpen);
    QCOMPARE(ErrorOf([&] { Open(Storage, Key, TJStorageRootKey(Root)); }),
             Blank ? "Cannot open registry because TJStorage.Key is blank" : "no error");
    QCOMPARE(Storage.IsOpen(), !Blank);
    Storage.WriteString("s", "x");
    Storage.WriteInteger("i", 1);
    QCOMPARE(Storage.ReadString("s", "dflt"), Blank ? "dflt" : "");
    QCOMPARE(Storage.ReadInteger("i", 9), 9);
    QCOMPARE(ErrorOf([&] { Storage.Clear(); }), Blank ? "TJWin32Registry is not open" : "no error");
    Storage.Close();
    QCOMPARE(ErrorOf([&] { Storage.ReadString("s", "x"); }), NotOpen);
    QCOMPARE(QDir(Store->Dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"file"});
  }

  // A value as a text read and an integer read see it, from a file made by
  // hand or exported elsewhere.
  void reads_data() {
    QTest::addColumn<QByteArray>("Line");
    QTest::addColumn<QString>("Text");
    QTest::addColumn<int>("Number");
    QTest::newRow("text") << QByteArray("\"v\"=\"42\"") << "42" << -1;
    QTest::newRow("integer") << QByteArray("\"v\"=dword:0000002a") << "dflt" << 42;
    QTest::newRow("missing") << QByteArray("\"w\"=\"42\"") << "" << -1;
    QTest::newRow("name in another case") << QByteArray("\"V\"=dword:00000007") << "dflt" << 7;
    QTest::newRow("text to expand, taken as stored") << QByteArray("\"v\"=hex(2):25,00,41,00,25,00,00,00") << "%A%" << -1;
    QTest::newRow("integer in hex form") << QByteArray("\"v\"=hex(4):2a,00,00,00") << "dflt" << 42;
    QTest::newRow("binary") << QByteArray("\"v\"=hex:2a,00,00,00") << "dflt" << -1;
  }

  void reads() {
    QFETCH(QByteArray, Line);
    QFETCH(QString, Text);
    QFETCH(int, Number);
    TTempStore::Save(StoreHeader + "[HKEY_CURRENT_USER\\Software\\Test]\n" + Line + "\n");
    TJStorage Storage;
    Open(Storage, "software\\TEST");
    QCOMPARE(Storage.ReadString("v", "dflt"), Text);
    QCOMPARE(Storage.ReadInteger("v", -1), Number);
  }

  void clearLeavesAnEmptyKey() {
    TTempStore::Save(StoreHeader + "[HKEY_CURRENT_USER\\Software\\Test\\Sub]\n[HKEY_CURRENT_USER\\Software\\Test]\n\"Old\"=\"x\"\n");
    TJStorage Storage;
    Open(Storage, "Software\\Test");
    Storage.WriteString("Lost", "written before the clear");
    Storage.Clear();
    Storage.WriteString("New", "y");
    QCOMPARE(Storage.ReadString("Old", "dflt"), QString());
    Storage.Close();
    QCOMPARE(TTempStore::Bytes(),
             StoreHeader + "\n[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Test]\n\"New\"=\"y\"\n\n");
  }

  void keyChangesWhileOpen() {
    TJStorage Storage;
    Open(Storage, "Software\\First");
    Storage.WriteString("a", "1");
    Storage.SetKey("Software\\First");  // unchanged: the batch stays open, unwritten
    QCOMPARE(Stored("Software\\First", "a"), QStringLiteral("text:"));
    Storage.SetKey("Software\\Second");  // the first batch is written, the second key opened
    QCOMPARE(Stored("Software\\First", "a"), QStringLiteral("text:1"));
    Storage.WriteString("b", "2");
    Storage.SetKey(QString());  // emptied: closed, not reopened
    QVERIFY(!Storage.IsOpen());
    QCOMPARE(Stored("Software\\Second", "b"), QStringLiteral("text:2"));
    Open(Storage, "Software\\Third");
    Storage.SetRegistryRootKey(atrkLocalMachine);  // closed and opened on the new root
    Storage.WriteInteger("Machine", 2);
    Storage.Close();
    QCOMPARE(Stored("Software\\Third", "Machine") + Stored("Software\\Third", "Machine", atrkLocalMachine),
             QStringLiteral("text:int:2"));
  }

  void assign() {
    TJStorage Source, Target;
    Open(Source, "Software\\Source", atrkLocalMachine);
    Open(Target, "Software\\Target");
    Target.WriteString("t", "1");
    Target.Assign(&Source);  // closes (writing "t"), then opens on the source's key and root, as the source is open
    QObject Other;  // a source of another class changes nothing
    QCOMPARE(ErrorOf([&] { Target.Assign(&Other); }), QStringLiteral("Cannot assign a QObject to a TJStorage"));
    QCOMPARE(ErrorOf([&] { Target.Assign(nullptr); }), QStringLiteral("Cannot assign a nil to a TJStorage"));
    Target.WriteInteger("s", 2);
    Target.Close();
    QCOMPARE(Stored("Software\\Target", "t") + Stored("Software\\Source", "s", atrkLocalMachine), QStringLiteral("text:1int:2"));
  }
};

QTEST_GUILESS_MAIN(TestJStore)
#include "tst_jstore.moc"
