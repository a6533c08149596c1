// The two dialogs of the top ten. The list: ten rows read from the file on
// every showing and gone on hide; the reset question and what each answer
// does. The name dialog, through the interface the main window uses: the
// place announced (a tie ranks the new game first), the name typed (Escape
// and the close button do nothing, Enter accepts), the name history saved
// before the entry is written. The whole game end through the main window is
// tested with the other windows.
#include <QLineEdit>
#include <QMessageBox>
#include <QtTest>

#include "BigScoreDlg.h"
#include "ProfileFile.h"
#include "RegistryStore.h"
#include "Top10Form.h"
#include "TopTenTestSupport.h"

namespace {
// Shows the list modally and returns what it held while up (its rows, and
// "selected" if a row was); Also runs before OK closes it.
QStringList Shown(TTop10Form &Form, std::function<void(TTop10Form *)> Also = {}) {
  QStringList Texts;
  WhenModal<TTop10Form>([&](TTop10Form *List) {
    for (int I = 0; I < List->ListView1->topLevelItemCount(); ++I)
      for (int Column = 0; Column < 5; ++Column) Texts << List->ListView1->topLevelItem(I)->text(Column);
    if (!List->ListView1->selectedItems().isEmpty()) Texts << "selected";
    if (Also) Also(List);
    QTest::mouseClick(List->OK, Qt::LeftButton);
  });
  Form.ShowList();
  return Texts;
}
}  // namespace

class TstTop10Form : public QObject, TTopTenFolder {
  Q_OBJECT

 private slots:
  void init() { QFile::remove(Path); }

  // Ten rows each time it opens (the last row's texts prove there are no
  // more), none while it is closed, and Escape does not close it; an entry
  // written while it is closed shows at the next opening, a long name whole.
  void rowsLiveWhileShown() {
    TTop10Form Form(Program);
    QStringList Rows = Shown(Form, [](TTop10Form *List) {
      QTest::keyClick(List, Qt::Key_Escape);  // no cancel button: Escape leaves it open
      QVERIFY(List->isVisible());
    });
    QCOMPARE(Form.ListView1->topLevelItemCount(), 0);
    QCOMPARE(Rows.mid(0, 5) + Rows.mid(45), QStringList({"1.", "", "", "0", "0", "10.", "", "", "0", "0"}));
    Form.TopTenFile.AddEntry(250, QString(99, u'L'), 4);
    Rows = Shown(Form);
    QCOMPARE(Rows.size(), 50);
    QCOMPARE(Rows.mid(1, 1) + Rows.mid(3, 3), QStringList({QString(99, u'L'), "250", "4", "2."}));
  }

  // No leaves file and rows alone; Yes empties the table at once and resets
  // the file, keeping its keys.
  void resetQuestion() {
    TTop10Form Form(Program);
    Form.TopTenFile.AddEntry(300, "Ann", 2);
    const QByteArray Before = Slurp(Path);
    QStringList Seen;
    Shown(Form, [&](TTop10Form *List) {
      for (const auto Answer : {QMessageBox::No, QMessageBox::Yes}) {
        WhenModal<QMessageBox>([&](QMessageBox *Box) {
          Seen << Box->windowTitle() << Box->text()
               << QString::number(Box->icon() == QMessageBox::Warning &&
                                  Box->standardButtons() == (QMessageBox::Yes | QMessageBox::No));
          QTest::mouseClick(Box->button(Answer), Qt::LeftButton);
        });
        QTest::mouseClick(List->ResetScores, Qt::LeftButton);  // returns once answered
        Seen << QString::number(List->ListView1->topLevelItemCount()) << QString::number(Slurp(Path) == Before);
      }
    });
    const QStringList Asked{"Reset Scores", "Are you sure ?", "1"};
    QCOMPARE(Seen, Asked + QStringList({"10", "1"}) + Asked + QStringList({"0", "0"}));
    QCOMPARE(GetPrivateProfileString(Sect, "Name01", "absent", 99, Path), "");
  }

  // A total equal to place 3 is announced as number 3; what the history
  // holds and what place 3 holds are taken the moment the dialog closes.
  void nameAskedAndSavedBeforeTheEntry() {
    QStandardPaths::setTestModeEnabled(true);
    SetRegistryFolder(Dir.path());
    TTop10Form Top10(Program);  // the list first, then the name dialog, as at start-up
    TBigScoreDlg BigScore;
    Top10.TopTenFile.SetBigScoreDlg(&BigScore);
    for (int Total : {500, 400, 300, 200}) Top10.TopTenFile.AddEntry(Total, QString::number(Total), 0);
    QVERIFY(!(BigScore.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
    QStringList Seen;
    connect(&BigScore, &QDialog::finished, this, [&] {
      Seen << QString::number(Slurp(Dir.filePath("HKEY_CURRENT_USER.reg")).contains("\"0\"=\"Ann\""))
           << GetPrivateProfileString(Sect, "Name03", "", 100, Path);
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
    QCOMPARE(GetPrivateProfileString(Sect, "Name03", "", 100, Path), "Ann");
    SetRegistryFolder(QString());
  }
};

QTEST_MAIN(TstTop10Form)
#include "tst_top10form.moc"
