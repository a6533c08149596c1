// The list dialog: ten rows read from the file on every showing and gone on
// hide; the reset question and what each answer does.
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "ProfileFile.h"
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

class TstTop10Form : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QString Program = Dir.filePath("quintor"), Path = Program + ".tps";

 private slots:
  void init() { QFile::remove(Path); }

  // Ten rows each time it opens, none while it is closed (Escape does not
  // close it); an entry written
  // while it is closed shows at the next opening, a long name whole.
  void rowsLiveWhileShown() {
    TTop10Form Form(Program);
    QStringList Rows = Shown(Form, [](TTop10Form *List) {
      QTest::keyClick(List, Qt::Key_Escape);  // no cancel button: Escape leaves it open
      QVERIFY(List->isVisible());
    });
    QCOMPARE(Form.ListView1->topLevelItemCount(), 0);
    QCOMPARE(Rows.size(), 50);
    QCOMPARE(Rows.mid(0, 5) + Rows.mid(45), QStringList({"1.", "", "", "0", "0", "10.", "", "", "0", "0"}));
    Form.TopTenFile.AddEntry(250, QString(99, u'L'), 4);
    Rows = Shown(Form);
    QCOMPARE(Rows.size(), 50);
    QCOMPARE(Rows.mid(1, 1) + Rows.mid(3, 3), QStringList({QString(99, u'L'), "250", "4", "2."}));
  }

  // No leaves file and rows alone; Yes empties the table at once and
  // leaves every key in the file, zero or empty.
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
    QCOMPARE(GetPrivateProfileString(Sect, "Score01", "absent", 99, Path), "0");
  }
};

QTEST_MAIN(TstTop10Form)
#include "tst_top10form.moc"
