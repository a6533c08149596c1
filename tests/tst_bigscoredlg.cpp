// The end of a qualifying game with the real dialogs: the place announced,
// the name typed (Enter accepts, Escape and the close button do nothing),
// the name history saved before the entry is written, then the list. The
// main window's game end is reproduced through the high-score interface.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "BigScoreDlg.h"
#include "JStore.h"
#include "ModalAnswer.h"
#include "ProfileFile.h"
#include "RegistryStore.h"
#include "StrToInt.h"
#include "Top10Form.h"

namespace {
const QString HistoryKey = QStringLiteral("Software\\Numbrook Software\\Quintor\\MRU");

QStringList History() {
  TJStorage Storage;
  Storage.SetKey(HistoryKey);
  Storage.Open();
  QStringList Names;
  const int Count = Storage.ReadInteger("Count", 0);
  for (int I = 0; I < Count; ++I) Names << Storage.ReadString(QString::number(I), "");
  Storage.Close();
  return Names;
}

QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("<missing>");
}

QStringList Items(const QComboBox *Combo) {
  QStringList Texts;
  for (int I = 0; I < Combo->count(); ++I) Texts << Combo->itemText(I);
  return Texts;
}

// What the main window does when the 39th box is filled.
void GameEnd(THighScores &HighScores, int Total, int Quintors, QWidget *Owner) {
  if (HighScores.GetTenthScore() < Total) {
    HighScores.EnterNewScore(Total, Quintors);
    HighScores.ShowList();
  } else {
    QMessageBox::information(Owner, "Quintor", "Game Over");
  }
}

void TypeName(TBigScoreDlg *Dialog, const QString &Name) {
  QLineEdit *Edit = Dialog->MRUCombo1->lineEdit();
  Edit->selectAll();
  QTest::keyClick(Edit, Qt::Key_Delete);
  QTest::keyClicks(Edit, Name);
}
}  // namespace

class TstBigScoreDlg : public QObject {
  Q_OBJECT
  std::unique_ptr<QTemporaryDir> Dir;
  std::unique_ptr<TTop10Form> Top10;
  std::unique_ptr<TBigScoreDlg> BigScore;
  QString TopTenPath;

  // The two dialogs as start-up makes them: the list first, then the name
  // dialog, which reads the history as it is created.
  void StartUp() {
    BigScore.reset();
    Top10 = std::make_unique<TTop10Form>(Dir->filePath("quintor"));
    BigScore = std::make_unique<TBigScoreDlg>();
    Top10->TopTenFile.SetBigScoreDlg(BigScore.get());
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() {
    Dir = std::make_unique<QTemporaryDir>();
    QVERIFY(Dir->isValid());
    QVERIFY(QDir(Dir->path()).mkdir("registry"));
    SetRegistryFolder(Dir->filePath("registry"));
    TopTenPath = Dir->filePath("quintor.tps");
    StartUp();
  }

  void cleanup() {
    BigScore.reset();
    Top10.reset();
    SetRegistryFolder(QString());
  }

  void layout() {
    QCOMPARE(BigScore->windowTitle(), "Congratulations!");
    QCOMPARE(BigScore->size(), QSize(296, 140));
    const Qt::WindowFlags Flags = BigScore->windowFlags();
    QVERIFY(!(Flags & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint | Qt::WindowContextHelpButtonHint |
                       Qt::WindowMinMaxButtonsHint)));
    QVERIFY(BigScore->OK->isDefault());
    QVERIFY(BigScore->Message->wordWrap());
    QCOMPARE(BigScore->MRUCombo1->Storage()->Key(), HistoryKey);
    QCOMPARE(BigScore->MRUCombo1->Storage()->RegistryRootKey(), atrkCurrentUser);
  }

  // A fresh system: place 1, an empty name box; Enter accepts; the history
  // is saved before the entry is written; the list then shows the entry.
  void firstGameEntersAndLists() {
    QString Announced, NameBoxAtStart;
    QWidget *Focus = nullptr;
    QStringList HistoryWhenClosed;
    QByteArray FileWhenClosed;
    QStringList ListedFirst;
    connect(BigScore.get(), &QDialog::finished, this, [&] {
      // The modal loop has ended; the game end has not read the name yet.
      HistoryWhenClosed = History();
      FileWhenClosed = Slurp(TopTenPath);
    });
    WhenModal<TBigScoreDlg>([&](TBigScoreDlg *Dialog) {
      Announced = Dialog->Message->text();
      NameBoxAtStart = Dialog->MRUCombo1->currentText();
      Focus = Dialog->focusWidget();
      TypeName(Dialog, "Ann");
      WhenModal<TTop10Form>([&](TTop10Form *List) {
        for (int Column = 0; Column < 5; ++Column) ListedFirst << List->ListView1->topLevelItem(0)->text(Column);
        QTest::mouseClick(List->OK, Qt::LeftButton);
      });
      QTest::keyClick(Dialog->MRUCombo1->lineEdit(), Qt::Key_Return);
    });
    GameEnd(*Top10, 120, 2, nullptr);

    QCOMPARE(Announced, "You are number 1 on the Top Ten List. Please type your name:");
    QCOMPARE(NameBoxAtStart, "");
    QVERIFY(Focus == BigScore->MRUCombo1 || Focus == BigScore->MRUCombo1->lineEdit());
    QCOMPARE(HistoryWhenClosed, QStringList{"Ann"});
    QCOMPARE(FileWhenClosed, QByteArray("<missing>"));
    QCOMPARE(ListedFirst.mid(0, 2), QStringList({"1.", "Ann"}));
    QCOMPARE(ListedFirst.mid(3), QStringList({"120", "2"}));
    QVERIFY(!ListedFirst[2].isEmpty());
  }

  // Neither Escape nor the window manager's close ends the dialog; OK does.
  void onlyOkLeaves() {
    bool VisibleAfterEscape = false, CloseRefused = false, VisibleAfterClose = false;
    WhenModal<TBigScoreDlg>([&](TBigScoreDlg *Dialog) {
      TypeName(Dialog, "Eve");
      QTest::keyClick(Dialog->MRUCombo1->lineEdit(), Qt::Key_Escape);
      QTest::keyClick(Dialog, Qt::Key_Escape);
      QCoreApplication::processEvents();
      VisibleAfterEscape = Dialog->isVisible() && QApplication::activeModalWidget() == Dialog;
      CloseRefused = !Dialog->close();
      QCoreApplication::processEvents();
      VisibleAfterClose = Dialog->isVisible();
      QTest::mouseClick(Dialog->OK, Qt::LeftButton);
    });
    Top10->EnterNewScore(50, 0);
    QVERIFY(VisibleAfterEscape);
    QVERIFY(CloseRefused);
    QVERIFY(VisibleAfterClose);
    QCOMPARE(GetPrivateProfileString("Top Ten Scores", "Name01", "", 100, TopTenPath), "Eve");
  }

  // A tie with place 3 is announced as place 3 and goes there.
  void tieIsAnnouncedAtItsPlace() {
    for (int Total : {500, 400, 300, 200})
      Top10->TopTenFile.AddEntry(Total, QString("P%1").arg(Total), 0);
    QString Announced;
    WhenModal<TBigScoreDlg>([&](TBigScoreDlg *Dialog) {
      Announced = Dialog->Message->text();
      TypeName(Dialog, "Tie");
      QTest::mouseClick(Dialog->OK, Qt::LeftButton);
    });
    Top10->EnterNewScore(300, 1);
    QCOMPARE(Announced, "You are number 3 on the Top Ten List. Please type your name:");
    QString Name, Score, Date, Quintors;
    Top10->TopTenFile.ReadEntry(3, Name, Score, Date, Quintors);
    QCOMPARE(Name + ' ' + Score, "Tie 300");
    Top10->TopTenFile.ReadEntry(4, Name, Score, Date, Quintors);
    QCOMPARE(Name + ' ' + Score, "P300 300");
  }

  // The second qualifying game of a run starts with the last name; a new
  // name joins the drop-down list; the next run offers both.
  void namesAreRemembered() {
    const auto Enter = [&](const QString &Name, QString *Shown) {
      WhenModal<TBigScoreDlg>([=](TBigScoreDlg *Dialog) {
        *Shown = Dialog->MRUCombo1->currentText();
        TypeName(Dialog, Name);
        QTest::mouseClick(Dialog->OK, Qt::LeftButton);
      });
      Top10->EnterNewScore(100, 0);
    };
    QString Shown;
    Enter("Ann", &Shown);
    Enter("Bob", &Shown);
    QCOMPARE(Shown, "Ann");
    QCOMPARE(Items(BigScore->MRUCombo1), QStringList({"Ann", "Bob"}));
    QCOMPARE(History(), QStringList({"Ann", "Bob"}));

    StartUp();  // the next run
    QCOMPARE(BigScore->MRUCombo1->currentText(), "Ann");
    QCOMPARE(Items(BigScore->MRUCombo1), QStringList({"Ann", "Bob"}));
  }

  // A score in the file that is not a whole number stops the entry before
  // the name is asked; nothing is written, and the history is untouched.
  void badScoreAsksNothing() {
    QFile F(TopTenPath);
    QVERIFY(F.open(QIODevice::WriteOnly));
    F.write("[Top Ten Scores]\nScore10=3\nScore09=nine\n");
    F.close();
    const QByteArray Before = Slurp(TopTenPath);
    bool Asked = false;
    QTimer Watch;
    connect(&Watch, &QTimer::timeout, this, [&] {
      if (auto *Dialog = qobject_cast<TBigScoreDlg *>(QApplication::activeModalWidget())) {
        Asked = true;
        Dialog->accept();
      }
    });
    Watch.start(1);
    QVERIFY(Top10->GetTenthScore() < 10);
    QVERIFY_THROWS_EXCEPTION(EConvertError, Top10->EnterNewScore(10, 0));
    try {
      Top10->EnterNewScore(10, 0);
    } catch (const EConvertError &E) {
      QCOMPARE(QString(E.what()), "'nine' is not a valid integer value");
    }
    QVERIFY(!Asked);
    QCOMPARE(Slurp(TopTenPath), Before);
    QCOMPARE(History(), QStringList());
  }

  // A total that only ties the tenth is no new high score.
  void tieWithTheTenthIsGameOver() {
    for (int I = 0; I < 10; ++I) Top10->TopTenFile.AddEntry(10 + I, "X", 0);
    const QByteArray Before = Slurp(TopTenPath);
    QString Text;
    WhenModal<QMessageBox>([&](QMessageBox *Box) {
      Text = Box->windowTitle() + ": " + Box->text();
      Box->accept();
    });
    GameEnd(*Top10, 10, 0, nullptr);
    QCOMPARE(Text, "Quintor: Game Over");
    QCOMPARE(Slurp(TopTenPath), Before);
  }
};

int main(int argc, char *argv[]) {
  QApplication App(argc, argv);
  TstBigScoreDlg Test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_bigscoredlg.moc"
