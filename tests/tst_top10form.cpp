// The list dialog: ten rows read from the file on every showing and gone on
// hide; the reset question and what each answer does.
#include <QHeaderView>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "ProfileFile.h"
#include "Top10Form.h"
#include "TopTenTestSupport.h"

namespace {
QStringList Rows(const QTreeWidget *List) {
  QStringList Texts;
  for (int I = 0; I < List->topLevelItemCount(); ++I)
    for (int Column = 0; Column < 5; ++Column) Texts << List->topLevelItem(I)->text(Column);
  return Texts;
}
}  // namespace

class TstTop10Form : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QString Program = Dir.filePath("quintor"), Path = Program + ".tps";

 private slots:
  void init() { QFile::remove(Path); }

  // Ten rows each time it opens, none while it is closed; an entry written
  // while it is closed shows at the next opening, a long name whole.
  void rowsLiveWhileShown() {
    TTop10Form Form(Program);
    QCOMPARE(Form.ListView1->header()->sectionSize(1), 140);
    QVERIFY(Form.ListView1->headerItem()->textAlignment(3) & Qt::AlignRight);
    QStringList Seen;
    const auto Look = [&](TTop10Form *Shown) {
      Seen = Rows(Shown->ListView1);
      if (!Shown->ListView1->selectedItems().isEmpty()) Seen << "selected";
      QTest::mouseClick(Shown->OK, Qt::LeftButton);
    };
    WhenModal<TTop10Form>(Look);
    Form.ShowList();
    QCOMPARE(Form.ListView1->topLevelItemCount(), 0);
    QCOMPARE(Seen.size(), 50);
    QCOMPARE(Seen.mid(0, 5), QStringList({"1.", "", "", "0", "0"}));
    QCOMPARE(Seen.mid(45), QStringList({"10.", "", "", "0", "0"}));

    Form.TopTenFile.AddEntry(250, QString(99, u'L'), 4);
    WhenModal<TTop10Form>(Look);
    Form.ShowList();
    QCOMPARE(Seen.size(), 50);
    QCOMPARE(Seen[1], QString(99, u'L'));
    QCOMPARE(Seen.mid(3, 3), QStringList({"250", "4", "2."}));
  }

  void resetQuestion_data() {
    QTest::addColumn<bool>("Yes");
    QTest::newRow("No keeps everything") << false;
    QTest::newRow("Yes wipes the list at once") << true;
  }
  void resetQuestion() {
    QFETCH(bool, Yes);
    TTop10Form Form(Program);
    Form.TopTenFile.AddEntry(300, "Ann", 2);
    const QByteArray Before = Slurp(Path);
    QString Question;
    int RowsAfterAnswer = -1;
    WhenModal<TTop10Form>([&](TTop10Form *Shown) {
      WhenModal<QMessageBox>([&](QMessageBox *Box) {
        Question = QStringList{Box->windowTitle(), Box->text(), QString::number(Box->icon()),
                               QString::number(Box->standardButtons())}.join('|');
        QTest::mouseClick(Box->button(Yes ? QMessageBox::Yes : QMessageBox::No), Qt::LeftButton);
      });
      QTest::mouseClick(Shown->ResetScores, Qt::LeftButton);  // returns once answered
      RowsAfterAnswer = Shown->ListView1->topLevelItemCount();
      QTest::mouseClick(Shown->OK, Qt::LeftButton);
    });
    Form.ShowList();
    QCOMPARE(Question, QStringList({"Reset Scores", "Are you sure ?", QString::number(QMessageBox::Warning),
                                    QString::number(QMessageBox::Yes | QMessageBox::No)}).join('|'));
    QCOMPARE(RowsAfterAnswer, Yes ? 0 : 10);
    if (!Yes) QCOMPARE(Slurp(Path), Before);
    else QCOMPARE(GetPrivateProfileString("Top Ten Scores", "Name01", "absent", 99, Path), "");
  }
};

int main(int argc, char *argv[]) {
  QApplication App(argc, argv);
  TstTop10Form Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_top10form.moc"
