// The four windows as the program creates and joins them: the about box from
// the menu and from the emblem, with its version and link, the top-ten list
// from its command, and a finished game that beats the tenth score running
// through the name dialog into the list.

#include <QtWidgets>
#include <functional>
#include <memory>

#include "AboutForm.h"
#include "BigScoreDlg.h"
#include "ProfileFile.h"
#include "ProgramPath.h"
#include "RegistryStore.h"
#include "ScoreGrid.h"
#include "StartUp.h"
#include "TestSupport.h"
#include "Top10Form.h"
#include "URLStatic.h"
#include "Version.h"

using namespace quintor;

class TestStartUp : public QObject {
  Q_OBJECT

  QTemporaryDir Folder;
  std::unique_ptr<TQuintorForms> Forms;
  QList<QUrl> Opened;
  int AboutPresses = 0;

 public slots:
  void Open(const QUrl &Url) { Opened << Url; }

 protected:
  bool eventFilter(QObject *, QEvent *Event) override {
    AboutPresses += Event->type() == QEvent::MouseButtonPress;
    return false;
  }

 private slots:
  void init() {
    SetProgramFilePathForTesting(Folder.filePath(QStringLiteral("quintor")));
    SetRegistryFolder(Folder.filePath(QStringLiteral("registry")));
    Forms = std::make_unique<TQuintorForms>();
    Forms->MainForm.show();
    QVERIFY(QTest::qWaitForWindowExposed(&Forms->MainForm));
  }

  void cleanup() {
    Forms.reset();
    SetProgramFilePathForTesting(QString());
    SetRegistryFolder(QString());
  }

  // The dialogs follow the main window's first paint, in their order; a
  // menu command that comes before then makes the dialog it needs at once.
  void dialogsFollowTheFirstPaintOrComeWhenNeeded() {
    QTRY_COMPARE(Forms->DialogsCreated(), 3);
    QStringList Order;
    for (QDialog *Dialog : Forms->MainForm.findChildren<QDialog *>(Qt::FindDirectChildrenOnly))
      Order << QString::fromLatin1(Dialog->metaObject()->className());
    QCOMPARE(Order, QStringList({"TTop10Form", "TBigScoreDlg", "TAboutForm"}));

    TQuintorForms Unpainted;
    QTest::qWait(10);
    QCOMPARE(Unpainted.DialogsCreated(), 0);
    QStringList Shown;
    WhenModal<TTop10Form>([&](TTop10Form *List) {
      Shown << QStringLiteral("list %1").arg(Unpainted.DialogsCreated());
      Child<QPushButton>(List, "OK")->click();
    });
    Child<QAction>(&Unpainted.MainForm, "Top101")->trigger();
    WhenModal<TAboutForm>([&](TAboutForm *About) {
      Shown << QStringLiteral("about %1").arg(Unpainted.DialogsCreated());
      QTest::keyClick(About, Qt::Key_Return);
    });
    Child<QAction>(&Unpainted.MainForm, "About1")->trigger();
    QCOMPARE(Shown, QStringList({"list 1", "about 3"}));
  }

  // The list from Ctrl+T, with its ten rows; the about box from the emblem
  // (the menu commands are tried above). Escape leaves the box open, Enter
  // closes it.
  void commandsShowTheirDialogs() {
    TAboutForm *About = Forms->AboutForm();
    TTop10Form *List = Forms->Top10Form();
    QStringList Shown;
    WhenModal<TTop10Form>([&](TTop10Form *) {
      Shown << QString::number(Child<QTreeWidget>(List, "ListView1")->topLevelItemCount());
      Child<QPushButton>(List, "OK")->click();
    });
    QTest::keyClick(&Forms->MainForm, Qt::Key_T, Qt::ControlModifier);
    WhenModal<TAboutForm>([&](TAboutForm *) {
      QTest::keyClick(About, Qt::Key_Escape);
      Shown << (About->isVisible() ? "open" : "closed");
      QTest::keyClick(About, Qt::Key_Return);
    });
    QTest::mouseClick(Child<QLabel>(&Forms->MainForm, "Image1"), Qt::LeftButton);
    QCOMPARE(Shown, QStringList({"10", "open"}));
    QVERIFY(!About->isVisible() && !List->isVisible());
  }

  // The about box's version is read from the program file when the box is
  // made; its link opens on the press of the left button and takes the press
  // for itself. (Where the texts sit is left to the eye: fonts differ between
  // machines. Its colours are tst_accessibility's.)
  void aboutBoxVersionAndLink() {
    SetProgramFilePathForTesting(QString());  // this test program, which carries a version
    TAboutForm About{QPixmap(32, 32)};
    auto *Link = Child<TURLStatic>(&About, "URLStatic1");
    QCOMPARE(Child<TVersionLabel>(&About, "VersionLabel1")->text(), QStringLiteral("Version " QUINTOR_VERSION));
    QDesktopServices::setUrlHandler("https", this, "Open");
    About.installEventFilter(this);
    QTest::mousePress(Link, Qt::LeftButton, {}, {10, 7});
    QCOMPARE(Opened, QList<QUrl>{QUrl("https://www.numbrook.com/")});
    QTest::mouseRelease(Link, Qt::LeftButton, {}, {10, 7});
    QTest::mouseClick(Link, Qt::RightButton, {}, {10, 7});
    QMouseEvent Double(QEvent::MouseButtonDblClick, {10, 7}, {10, 7}, Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(Link, &Double);  // follows the second press, which opened already
    QDesktopServices::unsetUrlHandler("https");
    QCOMPARE(std::pair(Opened.size(), AboutPresses), std::pair(qsizetype(1), 1));  // the right button's press went on
  }

  // A game that beats the tenth score asks the name and lists it; one that
  // does not shows "Game Over".
  void gameEnd_data() {
    QTest::addColumn<bool>("Qualifies");
    QTest::newRow("first game on a fresh list") << true;
    QTest::newRow("tenth score out of reach") << false;
  }
  void gameEnd() {
    QFETCH(bool, Qualifies);
    const QString List = Folder.filePath(QStringLiteral("quintor.tps"));
    QFile::remove(List);
    if (!Qualifies) QVERIFY(WritePrivateProfileString("Top Ten Scores", "Score10", "99999", List));
    TMainForm &Main = Forms->MainForm;
    Child<QCheckBox>(&Main, "AnimationCheckbox")->setChecked(false);
    auto *Roll = Child<QPushButton>(&Main, "RollButton");
    QString Announced, Listed, GameOver;
    if (Qualifies) {
      WhenModal<TBigScoreDlg>([&](TBigScoreDlg *NameDialog) {
        Announced = Child<QLabel>(NameDialog, "Message")->text();
        QTest::keyClicks(NameDialog->focusWidget(), QStringLiteral("Ann"));
        QTest::keyClick(NameDialog->focusWidget(), Qt::Key_Return);  // OK is the default button
        WhenModal<TTop10Form>([&](TTop10Form *Top10) {
          QTreeWidgetItem *First = Child<QTreeWidget>(Top10, "ListView1")->topLevelItem(0);
          for (int Column = 0; Column < 5; ++Column) Listed += First->text(Column) + QLatin1Char('|');
          Child<QPushButton>(Top10, "OK")->click();
        });
      });
    } else {
      WhenModal<QMessageBox>([&](QMessageBox *Box) {
        // At 112 pixels title bars cut "Quintor" to "...".
        GameOver = Box->windowTitle() + QLatin1Char('|') + Box->text() + (Box->width() < 200 ? "|narrow" : "");
        Box->button(QMessageBox::Ok)->click();
      });
    }

    for (int Col = 0; Col < ColumnCount; ++Col)
      for (int Row = 0; Row < EntryRows; ++Row) {
        QTest::mouseClick(Roll, Qt::LeftButton);
        TScoreGrid *Grid = Main.BoxGrid(Row);
        QTest::mouseClick(Grid, Qt::LeftButton, {},
                          Grid->CellRect(Col, TMainForm::BoxGridRow(Row)).center() + Grid->ClientOrigin());
      }

    if (!Qualifies) {
      QCOMPARE(GameOver + Announced + Listed, QStringLiteral("Quintor|Game Over"));
      return;
    }
    const QString Total = Child<QLabel>(&Main, "GrandTotal")->text();
    QCOMPARE(GameOver + Announced, QStringLiteral("You are number 1 on the Top Ten List. Please type your name:"));
    QCOMPARE(Listed.section(QLatin1Char('|'), 0, 1) + QLatin1Char('|') + Listed.section(QLatin1Char('|'), 3),
             QStringLiteral("1.|Ann|%1|%2|").arg(Total).arg(Main.Game().Card().QuintorCount));
    QVERIFY(QFile::exists(List));  // beside the program
  }
};

QTEST_MAIN(TestStartUp)
#include "tst_startup.moc"
