// The end of a qualifying game with the real dialogs, through the interface
// the main window uses: the place announced, the name typed (Enter accepts;
// Escape and the close button do nothing), the name history saved before
// the entry is written, then the list.
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "BigScoreDlg.h"
#include "JStore.h"
#include "ProfileFile.h"
#include "RegistryStore.h"
#include "StrToInt.h"
#include "Top10Form.h"
#include "TopTenTestSupport.h"

namespace {
QStringList History() {
  TJStorage Storage;
  Storage.SetKey("Software\\Numbrook Software\\Quintor\\MRU");
  Storage.Open();
  QStringList Names;
  for (int I = 0, Count = Storage.ReadInteger("Count", 0); I < Count; ++I)
    Names << Storage.ReadString(QString::number(I), "");
  Storage.Close();
  return Names;
}

}  // namespace

class TstBigScoreDlg : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> Dir;
  std::unique_ptr<TTop10Form> Top10;
  std::unique_ptr<TBigScoreDlg> BigScore;
  QString TopTenPath;

  // As start-up makes them: the list first, then the name dialog, which
  // reads the history as it is created.
  void StartUp() {
    BigScore.reset();
    Top10 = std::make_unique<TTop10Form>(Dir->filePath("quintor"));
    BigScore = std::make_unique<TBigScoreDlg>();
    Top10->TopTenFile.SetBigScoreDlg(BigScore.get());
  }

 private slots:
  void init() {
    Dir = std::make_unique<QTemporaryDir>();
    SetRegistryFolder(Dir->path());
    TopTenPath = Dir->filePath("quintor.tps");
    StartUp();
  }
  void cleanup() { SetRegistryFolder(QString()); }

  // Escape and the window manager's close leave the name dialog open;
  // Enter accepts. The history is saved as the dialog closes, before the
  // entry is written; the list then shows the entry.
  void firstGameEntersAndLists() {
    QVERIFY(!(BigScore->windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint)));
    THighScores &HighScores = *Top10;
    QVERIFY(HighScores.GetTenthScore() < 120);
    QStringList Seen, HistoryWhenClosed, Listed;
    QByteArray FileWhenClosed;
    connect(BigScore.get(), &QDialog::finished, this, [&] {
      HistoryWhenClosed = History();
      FileWhenClosed = Slurp(TopTenPath);
    });
    WhenModal<TBigScoreDlg>([&](TBigScoreDlg *Dialog) {
      QLineEdit *Edit = Dialog->MRUCombo1->lineEdit();
      const QWidget *Focus = Dialog->focusWidget();
      Seen << Dialog->Message->text() << Edit->text() << QString::number(Focus == Edit || Focus == Dialog->MRUCombo1);
      QTest::keyClick(Edit, Qt::Key_Escape);
      Seen << QString::number(!Dialog->close() && QApplication::activeModalWidget() == Dialog);
      QTest::keyClicks(Edit, "Ann");
      QTest::keyClick(Edit, Qt::Key_Return);
    });
    HighScores.EnterNewScore(120, 2);
    WhenModal<TTop10Form>([&](TTop10Form *List) {
      for (int Column = 0; Column < 5; ++Column) Listed << List->ListView1->topLevelItem(0)->text(Column);
      QTest::mouseClick(List->OK, Qt::LeftButton);
    });
    HighScores.ShowList();

    QCOMPARE(Seen, QStringList({"You are number 1 on the Top Ten List. Please type your name:", "", "1", "1"}));
    QCOMPARE(HistoryWhenClosed, QStringList{"Ann"});
    QCOMPARE(FileWhenClosed, NoFile);
    QCOMPARE(Listed.mid(0, 2) + Listed.mid(3), QStringList({"1.", "Ann", "120", "2"}));
    QVERIFY(!Listed[2].isEmpty());
  }

  // A tie with place 3 is announced as place 3. The second game of a run
  // starts with the last name; both names are offered then and next run.
  void tiesAndRememberedNames() {
    for (int Total : {500, 400, 300, 200}) Top10->TopTenFile.AddEntry(Total, QString::number(Total), 0);
    QStringList Seen;
    for (const char *Name : {"Ann", "Bob"}) {
      WhenModal<TBigScoreDlg>([&, Name](TBigScoreDlg *Dialog) {
        Seen << Dialog->Message->text().mid(0, 17) << Dialog->MRUCombo1->currentText();
        Dialog->MRUCombo1->lineEdit()->clear();
        QTest::keyClicks(Dialog->MRUCombo1->lineEdit(), Name);
        QTest::mouseClick(Dialog->OK, Qt::LeftButton);
      });
      Top10->EnterNewScore(300, 1);
    }
    QCOMPARE(Seen, QStringList({"You are number 3 ", "", "You are number 3 ", "Ann"}));
    QCOMPARE(GetPrivateProfileString("Top Ten Scores", "Name03", "", 100, TopTenPath), "Bob");
    QCOMPARE(GetPrivateProfileString("Top Ten Scores", "Name05", "", 100, TopTenPath), "300");
    QCOMPARE(History(), QStringList({"Ann", "Bob"}));
    StartUp();  // the next run
    QCOMPARE(BigScore->MRUCombo1->currentText(), "Ann");
    QCOMPARE(BigScore->MRUCombo1->count(), 2);
  }

  // A score in the file that is not a whole number stops the entry before
  // the name is asked; nothing is written.
  void badScoreAsksNothing() {
    const QByteArray Data = "[Top Ten Scores]\nScore10=3\nScore09=nine\n";
    QVERIFY(Spit(TopTenPath, Data));
    bool Asked = false;
    QTimer Watch;
    connect(&Watch, &QTimer::timeout, this, [&] {
      if (auto *Dialog = qobject_cast<TBigScoreDlg *>(QApplication::activeModalWidget())) {
        Asked = true;
        Dialog->accept();
      }
    });
    Watch.start(1);
    QVERIFY_THROWS_EXCEPTION(EConvertError, Top10->EnterNewScore(10, 0));
    QVERIFY(!Asked);
    QCOMPARE(Slurp(TopTenPath), Data);
  }
};

int main(int argc, char *argv[]) {
  QApplication App(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  TstBigScoreDlg Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_bigscoredlg.moc"
