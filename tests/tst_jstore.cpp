// Storage settings: the errors of misuse, what reads give back when a value
// is missing or of the other type, Clear, and what happens to an open
// storage when its Key or root changes. A write reaches the file when the
// batch is closed, which is how these tests see whether a storage was closed.

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "JError.h"
#include "JStore.h"
#include "RegistryStore.h"

namespace {

template <typename TCall>
QString ErrorOf(TCall &&Call) {
  try {
    Call();
  } catch (const EJError &Error) {
    return QString::fromUtf8(Error.what());
  }
  return QStringLiteral("no error");
}

QByteArray UserFile() {
  QFile File(RegistryStoreFile(TRegistryRoot::CurrentUser));
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

// A value as a fresh storage reads it: "int:..." or "text:..." (a missing
// value reads as empty text).
QString Stored(const QString &Key, const QString &Name, TJStorageRootKey Root = atrkCurrentUser) {
  TJStorage Storage;
  Storage.SetKey(Key);
  Storage.SetRegistryRootKey(Root);
  Storage.Open();
  const int Number = Storage.ReadInteger(Name, -12345);
  if (Number != -12345) return QStringLiteral("int:%1").arg(Number);
  return QStringLiteral("text:") + Storage.ReadString(Name, QString());
}

}  // namespace

class TestJStore : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> FDir;

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    SetRegistryFolder(FDir->path());
  }

  void cleanup() { SetRegistryFolder(QString()); }

  void misuse() {
    TJStorage Storage;
    const QString NotOpen = QStringLiteral("JStorage not Open");
    QCOMPARE(ErrorOf([&] { Storage.WriteString("a", "b"); }), NotOpen);
    QCOMPARE(ErrorOf([&] { Storage.ReadInteger("a", 1); }), NotOpen);
    QCOMPARE(ErrorOf([&] { Storage.Clear(); }), NotOpen);
    QCOMPARE(ErrorOf([&] { Storage.Open(); }), QStringLiteral("Cannot open registry because TJStorage.Key is blank"));
    QVERIFY(!Storage.IsOpen());
    // The accessor made by the failed Open stays until Close: reads give
    // their defaults, writes are dropped, Clear names the accessor.
    QCOMPARE(Storage.ReadString("a", "dflt"), QStringLiteral("dflt"));
    QCOMPARE(Storage.ReadInteger("a", 7), 7);
    Storage.WriteString("a", "b");
    QCOMPARE(ErrorOf([&] { Storage.Clear(); }), QStringLiteral("TJWin32Registry is not open"));
    Storage.Close();
    QCOMPARE(ErrorOf([&] { Storage.ReadString("a", "b"); }), NotOpen);
  }

  void readsKeepTypesApart() {
    TJStorage Storage;
    Storage.SetKey("Software\\Test");
    Storage.Open();
    Storage.WriteString("Text", "42");
    Storage.WriteInteger("Number", 42);
    QCOMPARE(Storage.ReadInteger("Text", -1), -1);
    QCOMPARE(Storage.ReadString("Number", "dflt"), QStringLiteral("dflt"));
    QCOMPARE(Storage.ReadString("Missing", "dflt"), QString());
    QCOMPARE(Storage.ReadInteger("Missing", 3), 3);
    Storage.Close();
    QCOMPARE(Stored("Software\\Test", "Text"), QStringLiteral("text:42"));
    QCOMPARE(Stored("software\\test", "NUMBER"), QStringLiteral("int:42"));
  }

  void clearLeavesAnEmptyKey() {
    {
      TRegistryAccess Access;
      QVERIFY(Access.OpenKey("Software\\Test\\Sub", true));
      QVERIFY(Access.OpenKey("Software\\Test", true));
      Access.WriteString("Old", "x");
    }
    TJStorage Storage;
    Storage.SetKey("Software\\Test");
    Storage.Open();
    Storage.WriteString("Lost", "written before the clear");
    Storage.Clear();
    Storage.WriteString("New", "y");
    QCOMPARE(Storage.ReadString("Old", "dflt"), QString());
    Storage.Close();
    QCOMPARE(UserFile(), "Windows Registry Editor Version 5.00\n"
                         "\n[HKEY_CURRENT_USER\\Software]\n"
                         "\n[HKEY_CURRENT_USER\\Software\\Test]\n\"New\"=\"y\"\n\n");
  }

  void keyChangesWhileOpen() {
    TJStorage Storage;
    Storage.SetKey("Software\\First");
    Storage.Open();
    Storage.WriteString("a", "1");
    Storage.SetKey("Software\\First");  // unchanged: the batch stays open, unwritten
    QCOMPARE(Stored("Software\\First", "a"), QStringLiteral("text:"));

    Storage.SetKey("Software\\Second");  // the first batch is written, the second key opened
    QVERIFY(Storage.IsOpen());
    QCOMPARE(Stored("Software\\First", "a"), QStringLiteral("text:1"));
    Storage.WriteString("b", "2");

    Storage.SetKey(QString());  // emptied: closed, not reopened
    QVERIFY(!Storage.IsOpen());
    QCOMPARE(Stored("Software\\Second", "b"), QStringLiteral("text:2"));

    Storage.SetKey("Software\\Third");
    Storage.Open();
    Storage.SetRegistryRootKey(atrkLocalMachine);
    Storage.WriteInteger("Machine", 2);
    Storage.Close();
    QCOMPARE(Stored("Software\\Third", "Machine"), QStringLiteral("text:"));
    QCOMPARE(Stored("Software\\Third", "Machine", atrkLocalMachine), QStringLiteral("int:2"));
  }

  // A root outside the enumeration, or a store whose folder cannot be made,
  // behaves as an empty store that cannot be written.
  void storesThatCannotBeOpened() {
    QFile Blocker(FDir->filePath("file"));
    QVERIFY(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    for (const bool UnderAFile : {false, true}) {
      if (UnderAFile) SetRegistryFolder(Blocker.fileName() + "/store");
      TJStorage Storage;
      Storage.SetKey("Software\\App");
      Storage.SetRegistryRootKey(UnderAFile ? atrkLocalMachine : TJStorageRootKey(6));
      Storage.Open();
      QVERIFY(Storage.IsOpen());
      Storage.WriteString("s", "x");
      Storage.WriteInteger("i", 1);
      QCOMPARE(Storage.ReadString("s", "dflt"), QString());
      QCOMPARE(Storage.ReadInteger("i", 9), 9);
      Storage.Clear();
    }
    QCOMPARE(QDir(FDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"file"});
  }

  void assign() {
    TJStorage Source, Target;
    Source.SetKey("Software\\Source");
    Source.SetRegistryRootKey(atrkLocalMachine);
    Target.SetKey("Software\\Target");
    Target.Open();
    Target.WriteString("t", "1");
    Target.Assign(&Source);
    QCOMPARE(Target.Key(), QStringLiteral("Software\\Source"));
    QCOMPARE(Target.RegistryRootKey(), atrkLocalMachine);
    QVERIFY(!Target.IsOpen());
    QCOMPARE(Stored("Software\\Target", "t"), QStringLiteral("text:1"));
    Source.Open();
    Target.Assign(&Source);
    QVERIFY(Target.IsOpen());

    QObject Other;
    QCOMPARE(ErrorOf([&] { Target.Assign(&Other); }), QStringLiteral("Cannot assign a QObject to a TJStorage"));
    QCOMPARE(ErrorOf([&] { Target.Assign(nullptr); }), QStringLiteral("Cannot assign a nil to a TJStorage"));
    QVERIFY(Target.IsOpen());
  }
};

QTEST_GUILESS_MAIN(TestJStore)
#include "tst_jstore.moc"
