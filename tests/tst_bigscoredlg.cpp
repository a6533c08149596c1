// The end of a qualifying game with the real dialogs, through the interface
// the main window uses: the place announced (a tie ranks the new game
// first), the name typed (Escape and the close button do nothing, Enter
// accepts), the name history saved before the entry is written. The whole
// game end through the main window is tested with the other windows.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>

#include "BigScoreDlg.h"
#include "ProfileFile.h"
#include "RegistryStore.h"
#include "Top10Form.h"
#include "TopTenTestSupport.h"

class TstBigScoreDlg : public QObject {
  Q_OBJECT
 private slots:
  void nameAskedAndSavedBeforeTheEntry() {
    QStandardPaths::setTestModeEnabled(true);
    QTemporaryDir Dir;
    const QString TopTenPath = Dir.filePath("quintor.tps"), History = Dir.filePath("HKEY_CURRENT_USER.reg");
    SetRegistryFolder(Dir.path());
    TTop10Form Top10(Dir.filePath("quintor"));  // the list first, then the name dialog, as at start-up
    TBigScoreDlg BigScore;
    Top10.TopTenFile.SetBigScoreDlg(&BigScore);
    for (int Total : {500, 400, 300, 200}) Top10.TopTenFile.AddEntry(Total, QString::number(Total), 0);
    QVERIFY(!(BigScore.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));

    QStringList Seen;
    connect(&BigScore, &QDialog::finished, this, [&] {
      Seen << QString::number(Slurp(History).contains("\"0\"=\"Ann\""))
           << GetPrivateProfileString(Sect, "Name03", "", 100, TopTenPath);
    });
    WhenModal<TBigScoreDlg>([&](TBigScoreDlg *Dialog) {
      QLineEdit *Edit = Dialog->MRUCombo1->lineEdit();
      Seen << Dialog->Message->text() << Edit->text()
           << QString::number(Dialog->focusWidget() == Edit || Dialog->focusWidget() == Dialog->MRUCombo1);
      QTest::keyClick(Edit, Qt::Key_Escape);
      Seen << QString::number(!Dialog->close() && QApplication::activeModalWidget() == Dialog);
      QTest::keyClicks(Edit, "Ann");
      QTest::keyClick(Edit, Qt::Key_Return);
    });
    Top10.EnterNewScore(300, 1);
    QCOMPARE(Seen, QStringList({"You are number 3 on the Top Ten List. Please type your name:", "", "1", "1",
                                "1", "300"}));
    QCOMPARE(GetPrivateProfileString(Sect, "Name03", "", 100, TopTenPath), "Ann");
    QCOMPARE(GetPrivateProfileString(Sect, "Name04", "", 100, TopTenPath), "300");
    SetRegistryFolder(QString());
  }
};

QTEST_MAIN(TstBigScoreDlg)
#include "tst_bigscoredlg.moc"
