// The list dialog: ten rows read from the file on every showing and gone
// on hide; the reset question and what each answer does.
#include <QFile>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "ModalAnswer.h"
#include "ProfileFile.h"
#include "Top10Form.h"

namespace {
QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

QStringList Row(QTreeWidget *List, int Index) {
  QStringList Texts;
  for (int Column = 0; Column < 5; ++Column) Texts << List->topLevelItem(Index)->text(Column);
  return Texts;
}

void ClickButton(QMessageBox *Box, QMessageBox::StandardButton Which) {
  QTest::mouseClick(Box->button(Which), Qt::LeftButton);
}
}  // namespace

class TstTop10Form : public QObject {
  Q_OBJECT
  QTemporaryDir Dir;
  QString Program, Path;

 private slots:
  void init() {
    Program = Dir.filePath("quintor");
    Path = Program + ".tps";
    QFile::remove(Path);
  }

  void layout() {
    TTop10Form Form(Program);
    QCOMPARE(Form.windowTitle(), "Top 10 List");
    QCOMPARE(Form.size(), QSize(478, 310));
    QVERIFY(Form.OK->isDefault());
    QVERIFY(!(Form.windowFlags() & Qt::WindowContextHelpButtonHint));
    QHeaderView *Header = Form.ListView1->header();
    const int Widths[] = {50, 140, 80, 60, 80};
    const char *Captions[] = {"Nr", "Player", "Date", "Score", "Quintors"};
    for (int Column = 0; Column < 5; ++Column) {
      QCOMPARE(Header->sectionSize(Column), Widths[Column]);
      QCOMPARE(Form.ListView1->headerItem()->text(Column), Captions[Column]);
      const bool Right = Column >= 3;
      QCOMPARE(bool(Form.ListView1->headerItem()->textAlignment(Column) & Qt::AlignRight), Right);
    }
  }

  // Ten rows each time it opens, none while it is closed; an entry written
  // while it is closed shows at the next opening.
  void rowsLiveWhileShown() {
    TTop10Form Form(Program);
    QList<QStringList> Seen;
    const auto Look = [&](TTop10Form *Shown) {
      QCOMPARE(Shown->ListView1->topLevelItemCount(), 10);
      for (int I = 0; I < 10; ++I) Seen << Row(Shown->ListView1, I);
      QVERIFY(Shown->ListView1->selectedItems().isEmpty());
      QCOMPARE(Shown->ListView1->topLevelItem(0)->textAlignment(3) & Qt::AlignRight, Qt::AlignRight);
      QTest::mouseClick(Shown->OK, Qt::LeftButton);
    };
    WhenModal<TTop10Form>(Look);
    Form.ShowList();
    QCOMPARE(Form.ListView1->topLevelItemCount(), 0);
    QCOMPARE(Seen.size(), 10);
    QCOMPARE(Seen[0], QStringList({"1.", "", "", "0", "0"}));
    QCOMPARE(Seen[9], QStringList({"10.", "", "", "0", "0"}));

    const QString LongName(99, u'L');
    Form.TopTenFile.AddEntry(250, LongName, 4);
    Seen.clear();
    WhenModal<TTop10Form>(Look);
    Form.ShowList();
    QCOMPARE(Seen.size(), 10);
    QCOMPARE(Seen[0].mid(0, 2), QStringList({"1.", LongName}));
    QCOMPARE(Seen[0].mid(3), QStringList({"250", "4"}));
    QCOMPARE(Seen[1], QStringList({"2.", "", "", "0", "0"}));
  }

  void resetQuestion_data() {
    QTest::addColumn<bool>("Yes");
    QTest::newRow("No keeps everything") << false;
    QTest::newRow("Yes wipes the list") << true;
  }
  void resetQuestion() {
    QFETCH(bool, Yes);
    TTop10Form Form(Program);
    Form.TopTenFile.AddEntry(300, "Ann", 2);
    Form.TopTenFile.AddEntry(200, "Bob", 1);
    const QByteArray Before = Slurp(Path);
    int RowsAfterAnswer = -1;
    QString Text, Title;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons Buttons;

    WhenModal<TTop10Form>([&](TTop10Form *Shown) {
      WhenModal<QMessageBox>([&](QMessageBox *Box) {
        Text = Box->text();
        Title = Box->windowTitle();
        Icon = Box->icon();
        Buttons = Box->standardButtons();
        ClickButton(Box, Yes ? QMessageBox::Yes : QMessageBox::No);
      });
      QTest::mouseClick(Shown->ResetScores, Qt::LeftButton);  // returns once answered
      RowsAfterAnswer = Shown->ListView1->topLevelItemCount();
      QTest::mouseClick(Shown->OK, Qt::LeftButton);
    });
    Form.ShowList();

    QCOMPARE(Text, "Are you sure ?");
    QCOMPARE(Title, "Reset Scores");
    QCOMPARE(Icon, QMessageBox::Warning);
    QCOMPARE(Buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(RowsAfterAnswer, Yes ? 0 : 10);
    if (!Yes) {
      QCOMPARE(Slurp(Path), Before);
      return;
    }
    int Keys = 0;
    for (int N = 1; N <= 10; ++N)
      for (const char *Prefix : {"Score", "Name", "Date", "Quintors"})
        Keys += GetPrivateProfileString("Top Ten Scores", QString::asprintf("%s%02d", Prefix, N), "<absent>", 100, Path) != "<absent>";
    QCOMPARE(Keys, 40);
    QCOMPARE(Form.GetTenthScore(), 0);
    QString Name, Score, Date, Quintors;
    Form.TopTenFile.ReadEntry(1, Name, Score, Date, Quintors);
    QCOMPARE(QStringList({Name, Score, Date, Quintors}), QStringList({"", "0", "", "0"}));
  }
};

int main(int argc, char *argv[]) {
  QApplication App(argc, argv);
  TstTop10Form Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_top10form.moc"
