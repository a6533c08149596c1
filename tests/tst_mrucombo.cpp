// The name history: what a combo box shows after loading a saved history,
// what UpdateList adds and writes back, and that a form layout can set up the
// storage. Every test works on a store file in a fresh temporary folder.

#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "JError.h"
#include "Mrucombo.h"
#include "RegistryStore.h"
#include "ui_tst_mrucombo_form.h"

namespace {

const QString HistoryKey = QStringLiteral("Software\\Numbrook Software\\Quintor\\MRU");
const QByteArray Header = "Windows Registry Editor Version 5.00\n";

QByteArray StoreFile(const QByteArray &HistoryValues) {
  return Header +
         "\n[HKEY_CURRENT_USER\\Software]\n"
         "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software]\n"
         "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Quintor]\n"
         "\n[HKEY_CURRENT_USER\\Software\\Numbrook Software\\Quintor\\MRU]\n" +
         HistoryValues + "\n";
}

QStringList Items(const QComboBox &Combo) {
  QStringList List;
  for (int I = 0; I < Combo.count(); ++I) List << Combo.itemText(I);
  return List;
}

}  // namespace

class TestMRUCombo : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> FDir;

  QString StorePath() const { return RegistryStoreFile(TRegistryRoot::CurrentUser); }

  void SaveFile(const QByteArray &Bytes) {
    QFile File(StorePath());
    QVERIFY(File.open(QIODevice::WriteOnly));
    File.write(Bytes);
  }

  QByteArray FileBytes() const {
    QFile File(StorePath());
    return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
  }

  // A combo box as the form layout leaves it, loaded.
  std::unique_ptr<TMRUCombo> LoadedCombo(const QString &Key = HistoryKey) {
    auto Combo = std::make_unique<TMRUCombo>();
    Combo->Storage()->SetKey(Key);
    LoadComponents(Combo.get());
    return Combo;
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    SetRegistryFolder(FDir->path());
  }

  void cleanup() { SetRegistryFolder(QString()); }

  void firstNameIntoEmptyHistory() {
    auto Combo = LoadedCombo();
    QCOMPARE(Combo->count(), 0);
    QCOMPARE(Combo->currentText(), QString());

    Combo->setEditText(QStringLiteral("Ann"));
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), QStringList{QStringLiteral("Ann")});
    QCOMPARE(Combo->currentText(), QStringLiteral("Ann"));
    QCOMPARE(FileBytes(), StoreFile("\"0\"=\"Ann\"\n\"Count\"=dword:00000001\n"));
  }

  void loading_data() {
    QTest::addColumn<QByteArray>("Values");
    QTest::addColumn<QStringList>("ExpectedItems");
    QTest::addColumn<QString>("ExpectedText");

    QTest::newRow("saved order, first in the text field")
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"Cy\"\n\"1\"=\"Ann\"\n\"2\"=\"Bob\"\n")
        << QStringList{"Cy", "Ann", "Bob"} << "Cy";
    QTest::newRow("empty value 1 is skipped")
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"Ann\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n")
        << QStringList{"Ann", "Cy"} << "Ann";
    QTest::newRow("text field set from an empty value 0")
        << QByteArray("\"Count\"=dword:00000002\n\"0\"=\"\"\n\"1\"=\"Bob\"\n") << QStringList{"Bob"} << "";
    QTest::newRow("values at or above Count are not read")
        << QByteArray("\"Count\"=dword:00000001\n\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n") << QStringList{"Ann"} << "Ann";
    QTest::newRow("Count as text reads as no history")
        << QByteArray("\"Count\"=\"2\"\n\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n") << QStringList{} << "";
    QTest::newRow("a name stored as a number reads as empty")
        << QByteArray("\"Count\"=dword:00000002\n\"0\"=dword:00000007\n\"1\"=\"Bob\"\n") << QStringList{"Bob"}
        << "";
    QTest::newRow("negative Count") << QByteArray("\"Count\"=dword:ffffffff\n\"0\"=\"Ann\"\n") << QStringList{}
                                    << "";
    QTest::newRow("names in any case") << QByteArray("\"COUNT\"=dword:00000001\n\"0\"=\"Ann\"\n")
                                       << QStringList{"Ann"} << "Ann";
  }

  void loading() {
    QFETCH(QByteArray, Values);
    QFETCH(QStringList, ExpectedItems);
    QFETCH(QString, ExpectedText);
    SaveFile(StoreFile(Values));
    auto Combo = LoadedCombo();
    QCOMPARE(Items(*Combo), ExpectedItems);
    QCOMPARE(Combo->currentText(), ExpectedText);
    QCOMPARE(Combo->currentIndex(), -1);
  }

  void emptyValueClosesTheGapWhenSavedAgain() {
    SaveFile(StoreFile("\"Count\"=dword:00000003\n\"0\"=\"Ann\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n"));
    auto Combo = LoadedCombo();
    Combo->UpdateList();
    // "2" is above the new Count and stays behind, unread.
    QCOMPARE(FileBytes(), StoreFile("\"Count\"=dword:00000002\n\"0\"=\"Ann\"\n\"1\"=\"Cy\"\n\"2\"=\"Cy\"\n"));
  }

  void knownNamesAddNothing_data() {
    QTest::addColumn<QString>("Typed");
    QTest::newRow("same case") << "Ann";
    QTest::newRow("other case") << "aNN";
    QTest::newRow("empty text") << "";
  }

  void knownNamesAddNothing() {
    QFETCH(QString, Typed);
    const QByteArray Saved = StoreFile("\"Count\"=dword:00000002\n\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n");
    SaveFile(Saved);
    auto Combo = LoadedCombo();
    Combo->setEditText(Typed);
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), (QStringList{"Ann", "Bob"}));
    QCOMPARE(Combo->currentText(), Typed);
    QCOMPARE(FileBytes(), Saved);
  }

  void similarNamesAreNew_data() {
    QTest::addColumn<QString>("Typed");
    QTest::newRow("trailing space") << "Ann ";
    QTest::newRow("prefix") << "An";
    QTest::newRow("longer") << "Anna";
  }

  void similarNamesAreNew() {
    QFETCH(QString, Typed);
    SaveFile(StoreFile("\"Count\"=dword:00000001\n\"0\"=\"Ann\"\n"));
    auto Combo = LoadedCombo();
    Combo->setEditText(Typed);
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), (QStringList{"Ann", Typed}));
    QCOMPARE(Combo->currentText(), Typed);
  }

  void eleventhNameShownButNotSaved() {
    QByteArray Values = "\"Count\"=dword:0000000a\n";
    QStringList Names;
    for (int I = 0; I < 10; ++I) {
      Names << QStringLiteral("Player %1").arg(I);
      Values += QStringLiteral("\"%1\"=\"Player %1\"\n").arg(I).toUtf8();
    }
    SaveFile(StoreFile(Values));
    auto Combo = LoadedCombo();
    Combo->setEditText(QStringLiteral("Eleven"));
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), Names + QStringList{"Eleven"});
    QCOMPARE(FileBytes(), StoreFile(Values));

    auto NextRun = LoadedCombo();
    QCOMPARE(Items(*NextRun), Names);
  }

  void blankKey() {
    auto Combo = LoadedCombo(QString());  // loading swallows the error
    QCOMPARE(Combo->count(), 0);
    Combo->setEditText(QStringLiteral("Ann"));
    try {
      Combo->UpdateList();
      QFAIL("UpdateList must pass the error on");
    } catch (const EJError &Error) {
      QCOMPARE(QString::fromUtf8(Error.what()), QStringLiteral("Cannot open registry because TJStorage.Key is blank"));
    }
    QCOMPARE(Items(*Combo), QStringList{"Ann"});
    QVERIFY(!QFile::exists(StorePath()));
  }

  void designStateTouchesNoStorage() {
    SaveFile(StoreFile("\"Count\"=dword:00000001\n\"0\"=\"Ann\"\n"));
    TMRUCombo Combo;
    Combo.Include(csDesigning);
    Combo.Storage()->SetKey(HistoryKey);
    LoadComponents(&Combo);
    QCOMPARE(Combo.count(), 0);
    Combo.setEditText(QStringLiteral("Bob"));
    Combo.UpdateList();
    QCOMPARE(Items(Combo), QStringList{"Bob"});
    QCOMPARE(FileBytes(), StoreFile("\"Count\"=dword:00000001\n\"0\"=\"Ann\"\n"));
  }

  void unwritableStoreLosesTheNameSilently() {
    QFile Blocker(FDir->filePath(QStringLiteral("file")));
    QVERIFY(Blocker.open(QIODevice::WriteOnly));
    Blocker.close();
    SetRegistryFolder(Blocker.fileName() + QStringLiteral("/store"));
    auto Combo = LoadedCombo();
    Combo->setEditText(QStringLiteral("Ann"));
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), QStringList{"Ann"});
    QCOMPARE(LoadedCombo()->count(), 0);
  }

  void findStringExact_data() {
    QTest::addColumn<QString>("Text");
    QTest::addColumn<int>("StartAfter");
    QTest::addColumn<int>("Expected");
    QTest::newRow("from the top") << "alpha" << -1 << 0;
    QTest::newRow("after the first match") << "alpha" << 0 << 2;
    QTest::newRow("wraps round") << "alpha" << 2 << 0;
    QTest::newRow("start past the end searches from the top") << "alpha" << 9 << 0;
    QTest::newRow("trailing space is part of the text") << "alpha " << -1 << 3;
    QTest::newRow("no prefix match") << "alp" << -1 << -1;
    QTest::newRow("empty text finds nothing") << "" << -1 << -1;
  }

  void findStringExact() {
    QFETCH(QString, Text);
    QFETCH(int, StartAfter);
    QFETCH(int, Expected);
    TMRUCombo Combo;
    Combo.addItems({"Alpha", "beta", "ALPHA", "alpha "});
    QCOMPARE(Combo.FindStringExact(Text, StartAfter), Expected);
  }

  void typingAndReturnLeaveTheListAlone() {
    SaveFile(StoreFile("\"Count\"=dword:00000001\n\"0\"=\"Annabel\"\n"));
    auto Combo = LoadedCombo();
    Combo->show();
    QVERIFY(QTest::qWaitForWindowExposed(Combo.get()));
    Combo->lineEdit()->clear();
    QTest::keyClicks(Combo->lineEdit(), QStringLiteral("Ann"));
    QTest::keyClick(Combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(Combo->currentText(), QStringLiteral("Ann"));
    QCOMPARE(Items(*Combo), QStringList{"Annabel"});
  }

  void formLayoutSetsUpTheStorage() {
    SaveFile(StoreFile("\"Count\"=dword:00000002\n\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n"));
    QWidget Form;
    Ui::MRUComboForm Ui;
    Ui.setupUi(&Form);
    QCOMPARE(Ui.MRUCombo1->Storage()->Key(), HistoryKey);
    QCOMPARE(Ui.MRUCombo1->Storage()->RegistryRootKey(), atrkCurrentUser);
    QCOMPARE(Ui.MRUCombo1->ShowLatest, false);
    QCOMPARE(Ui.OtherRoot->Storage()->RegistryRootKey(), atrkLocalMachine);
    QCOMPARE(Ui.OtherRoot->ShowLatest, true);
    QCOMPARE(Ui.MRUCombo1->count(), 0);

    LoadComponents(&Form);
    QCOMPARE(Items(*Ui.MRUCombo1), (QStringList{"Ann", "Bob"}));
    QCOMPARE(Ui.MRUCombo1->currentText(), QStringLiteral("Ann"));
    QVERIFY(!Ui.MRUCombo1->InState(csLoading));
    QCOMPARE(Ui.OtherRoot->count(), 0);
  }
};

QTEST_MAIN(TestMRUCombo)
#include "tst_mrucombo.moc"
