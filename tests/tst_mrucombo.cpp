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
    Combo->setEditText("Ann");
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), QStringList{"Ann"});
    QCOMPARE(FileBytes(), StoreFile("\"0\"=\"Ann\"\n\"Count\"=dword:00000001\n"));
  }

  void loading_data() {
    QTest::addColumn<QByteArray>("Values");
    QTest::addColumn<QStringList>("ExpectedItems");
    QTest::addColumn<QString>("ExpectedText");
    QTest::newRow("saved order, first in the text field, above Count unread")
        << QByteArray("\"Count\"=dword:00000002\n\"0\"=\"Cy\"\n\"1\"=\"Ann\"\n\"2\"=\"Bob\"\n")
        << QStringList{"Cy", "Ann"} << "Cy";
    QTest::newRow("empty value 1 is skipped")
        << QByteArray("\"Count\"=dword:00000003\n\"0\"=\"Ann\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n") << QStringList{"Ann", "Cy"}
        << "Ann";
    QTest::newRow("text field set from an empty value 0")
        << QByteArray("\"Count\"=dword:00000002\n\"0\"=\"\"\n\"1\"=\"Bob\"\n") << QStringList{"Bob"} << "";
    QTest::newRow("Count as text reads as no history")
        << QByteArray("\"Count\"=\"1\"\n\"0\"=\"Ann\"\n") << QStringList{} << "";
  }

  void loading() {
    QFETCH(QByteArray, Values);
    QFETCH(QStringList, ExpectedItems);
    QFETCH(QString, ExpectedText);
    SaveFile(StoreFile(Values));
    auto Combo = LoadedCombo();
    QCOMPARE(Items(*Combo), ExpectedItems);
    QCOMPARE(Combo->currentText(), ExpectedText);
  }

  void emptyValueClosesTheGapWhenSavedAgain() {
    SaveFile(StoreFile("\"Count\"=dword:00000003\n\"0\"=\"Ann\"\n\"1\"=\"\"\n\"2\"=\"Cy\"\n"));
    LoadedCombo()->UpdateList();
    // "2" is above the new Count and stays behind, unread.
    QCOMPARE(FileBytes(), StoreFile("\"Count\"=dword:00000002\n\"0\"=\"Ann\"\n\"1\"=\"Cy\"\n\"2\"=\"Cy\"\n"));
  }

  void typedName_data() {
    QTest::addColumn<QString>("Typed");
    QTest::addColumn<bool>("Added");
    QTest::newRow("same case") << "Ann" << false;
    QTest::newRow("other case") << "aNN" << false;
    QTest::newRow("empty text") << "" << false;
    QTest::newRow("trailing space") << "Ann " << true;
    QTest::newRow("prefix") << "An" << true;
    QTest::newRow("not a prefix match either") << "Bo" << true;
  }

  void typedName() {
    QFETCH(QString, Typed);
    QFETCH(bool, Added);
    const QByteArray Saved = StoreFile("\"Count\"=dword:00000002\n\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n");
    SaveFile(Saved);
    auto Combo = LoadedCombo();
    Combo->setEditText(Typed);
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), QStringList({"Ann", "Bob"}) + (Added ? QStringList{Typed} : QStringList()));
    QCOMPARE(Combo->currentText(), Typed);
    if (!Added) QCOMPARE(FileBytes(), Saved);
    if (Added) QCOMPARE(LoadedCombo()->itemText(2), Typed);
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
    Combo->setEditText("Eleven");
    Combo->UpdateList();
    QCOMPARE(Items(*Combo), Names + QStringList{"Eleven"});
    QCOMPARE(FileBytes(), StoreFile(Values));
    QCOMPARE(Items(*LoadedCombo()), Names);
  }

  void blankKey() {
    auto Combo = LoadedCombo(QString());  // loading swallows the error
    Combo->setEditText("Ann");
    try {
      Combo->UpdateList();
      QFAIL("UpdateList must pass the error on");
    } catch (const EJError &Error) {
      QCOMPARE(QString::fromUtf8(Error.what()), QStringLiteral("Cannot open registry because TJStorage.Key is blank"));
    }
    QCOMPARE(Items(*Combo), QStringList{"Ann"});
  }

  // What the player types is kept as typed: no completion from the list, and
  // Return adds nothing.
  void typingAndReturnLeaveTheListAlone() {
    SaveFile(StoreFile("\"Count\"=dword:00000001\n\"0\"=\"Annabel\"\n"));
    auto Combo = LoadedCombo();
    Combo->show();
    QVERIFY(QTest::qWaitForWindowExposed(Combo.get()));
    Combo->lineEdit()->clear();
    QTest::keyClicks(Combo->lineEdit(), "Ann");
    QTest::keyClick(Combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(Combo->currentText(), QStringLiteral("Ann"));
    QCOMPARE(Items(*Combo), QStringList{"Annabel"});
  }

  void formLayoutSetsUpTheStorage() {
    SaveFile(StoreFile("\"Count\"=dword:00000002\n\"0\"=\"Ann\"\n\"1\"=\"Bob\"\n"));
    QWidget Form;
    Ui::MRUComboForm Ui;
    Ui.setupUi(&Form);
    QCOMPARE(Ui.MRUCombo1->count(), 0);
    QCOMPARE(Ui.OtherRoot->Storage()->RegistryRootKey(), atrkLocalMachine);
    QCOMPARE(Ui.OtherRoot->ShowLatest, true);
    LoadComponents(&Form);
    QCOMPARE(Items(*Ui.MRUCombo1), (QStringList{"Ann", "Bob"}));
    QCOMPARE(Ui.MRUCombo1->currentText(), QStringLiteral("Ann"));
    QCOMPARE(Ui.OtherRoot->count(), 0);
  }
};

QTEST_MAIN(TestMRUCombo)
#include "tst_mrucombo.moc"
