// The main window driven the way a player drives it: real presses and moves
// on the score grids, real clicks on the dice and the Roll button, real
// shortcuts, the real timer or ticks driven by hand, and the modal boxes
// answered from a timer.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "DiceImages.h"
#include "Game.h"
#include "HelpWindow.h"
#include "JError.h"
#include "MainForm.h"
#include "ProgramPath.h"
#include "QuintorApplication.h"
#include "ScoreGrid.h"
#include "StartUp.h"

using namespace quintor;

namespace {

// The first throw a seed gives when all five dice are free and the roll is
// not animated.
TThrow FirstThrow(std::uint64_t Seed) {
  TRandomSource Random;
  Random.Seed(Seed);
  TThrow Throw{};
  for (int &Die : Throw) Die = Random.RandomBelow(6);
  return Throw;
}

std::uint64_t FindSeed(const std::function<bool(const TThrow &)> &Wanted) {
  for (std::uint64_t Seed = 1;; ++Seed)
    if (Wanted(FirstThrow(Seed))) return Seed;
}

int CountOf(const TThrow &Throw, int Value) {
  return static_cast<int>(std::count(Throw.begin(), Throw.end(), Value));
}

class TFakeHighScores : public THighScores {
 public:
  std::function<int()> Tenth = [] { return 0; };
  int Entered = 0, EnteredTotal = -1, EnteredQuintors = -1, Listed = 0;
  int GetTenthScore() override { return Tenth(); }
  void EnterNewScore(int Total, int Quintors) override {
    ++Entered;
    EnteredTotal = Total;
    EnteredQuintors = Quintors;
  }
  void ShowList() override { ++Listed; }
};

class TCountingDialog : public QDialog {
 public:
  int Shown = 0;
  int exec() override { return ++Shown, Accepted; }
};

// Answers the next modal box with OK and keeps what it said. The polling
// timer dies with the answer, so nothing outlives the test that armed it.
struct TModalAnswer {
  QString Title, Text;
  int Buttons = 0;
  bool Seen = false;
  QTimer Poll;
  TModalAnswer() {
    Poll.setInterval(5);
    QObject::connect(&Poll, &QTimer::timeout, &Poll, [this] {
      auto *Box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
      if (!Box) return;
      Poll.stop();
      Seen = true;
      Title = Box->windowTitle();
      Text = Box->text();
      Buttons = static_cast<int>(Box->buttons().size());
      Box->button(QMessageBox::Ok)->click();
    });
  }
  void Arm() { Poll.start(); }
};

}  // namespace

class TestMainForm : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<TMainForm> Form;
  TScoreGrid *Top = nullptr, *TopTotal = nullptr, *Bottom = nullptr, *BottomTotal = nullptr;
  QPushButton *Roll = nullptr;
  QLabel *GrandTotal = nullptr;

  template <typename T>
  T *Child(const char *Name) {
    T *Found = Form->findChild<T *>(QLatin1String(Name));
    if (!Found) qFatal("no child %s", Name);
    return Found;
  }
  QToolButton *Die(int I) { return Child<QToolButton>(qPrintable(QStringLiteral("SpeedButton%1").arg(I + 1))); }
  QAction *Action(const char *Name) { return Child<QAction>(Name); }
  void SetAnimation(bool On) { Child<QCheckBox>("AnimationCheckbox")->setChecked(On); }

  static QPoint BoxPoint(int Col, int Row) {
    return QPoint(TScoreGrid::BorderWidth + Col * 31 + 12, TScoreGrid::BorderWidth + Row * 17 + 8);
  }
  TScoreGrid *GridOf(int EntryRow) { return EntryRow < UpperRows ? Top : Bottom; }
  int GridRow(int EntryRow) { return EntryRow < UpperRows ? EntryRow : EntryRow - UpperRows; }
  QString BoxText(int Col, int EntryRow) { return GridOf(EntryRow)->Cell(Col, GridRow(EntryRow)); }
  void MoveTo(int Col, int EntryRow) { QTest::mouseMove(GridOf(EntryRow), BoxPoint(Col, GridRow(EntryRow))); }
  void MoveToPanel() { QTest::mouseMove(Child<QWidget>("ScorePanel"), QPoint(5, 200)); }
  void Press(int Col, int EntryRow) {
    MoveTo(Col, EntryRow);
    QTest::mouseClick(GridOf(EntryRow), Qt::LeftButton, {}, BoxPoint(Col, GridRow(EntryRow)));
  }
  bool RollDice() {
    QTest::mouseClick(Roll, Qt::LeftButton);
    return QTest::qWaitFor([this] { return !Form->Game().IsRolling(); });
  }
  void Tick() { QVERIFY(QMetaObject::invokeMethod(Form.get(), "FlashTimerTimer")); }
  QStringList TotalsColumn(TScoreGrid *Grid, int Col) {
    QStringList Cells;
    for (int Row = 0; Row < Grid->GetRowCount(); ++Row) Cells << Grid->Cell(Col, Row);
    return Cells;
  }
  // Plays every box of the card in order; the last press ends the game.
  void PlayWholeGame() {
    SetAnimation(false);
    for (int Col = 0; Col < ColumnCount; ++Col)
      for (int Row = 0; Row < EntryRows; ++Row) {
        QVERIFY(RollDice());
        Press(Col, Row);
      }
  }

 private slots:
  void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

  void init() {
    Form = std::make_unique<TMainForm>();
    Form->setProperty("FlashInterval", 0);
    Form->show();
    QVERIFY(QTest::qWaitForWindowActive(Form.get()));
    Top = Child<TScoreGrid>("TopGrid");
    TopTotal = Child<TScoreGrid>("TopTotal");
    Bottom = Child<TScoreGrid>("BottomGrid");
    BottomTotal = Child<TScoreGrid>("BottomTotal");
    Roll = Child<QPushButton>("RollButton");
    GrandTotal = Child<QLabel>("GrandTotal");
  }

  void cleanup() {
    Form.reset();
    SetProgramFilePathForTesting(QString());
  }

  void freshWindow() {
    QCOMPARE(Form->windowTitle(), QStringLiteral("Quintor"));
    QCOMPARE(Form->centralWidget()->size(), QSize(330, 421));
    QCOMPARE(Form->minimumSize(), Form->maximumSize());
    QVERIFY(!(Form->windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(GrandTotal->text(), QStringLiteral("0"));
    QVERIFY(Child<QCheckBox>("CheckBox1")->isChecked());
    QVERIFY(Child<QCheckBox>("AnimationCheckbox")->isChecked());
    QVERIFY(!Action("Undo1")->isEnabled());
    QVERIFY(Roll->isEnabled());
    for (int I = 0; I < DiceCount; ++I) {
      QVERIFY(!Die(I)->isEnabled());
      QCOMPARE(Form->ShownDie(I), NotThrown);
    }
    for (QLabel *Label : Form->findChildren<QLabel *>()) QVERIFY2(Label->isEnabled(), qPrintable(Label->text()));

    // The menu bar itself carries the two commands; each has its shortcut.
    const QList<QAction *> Bar = Child<QWidget>("MainMenu1")->actions();
    QVERIFY(Bar.contains(Action("Undo1")));
    QVERIFY(Bar.contains(Action("Top101")));
    const QList<std::pair<const char *, QKeySequence>> Shortcuts = {
        {"New1", QKeySequence(QStringLiteral("Ctrl+N"))},    {"Exit1", QKeySequence(QStringLiteral("Alt+F4"))},
        {"Undo1", QKeySequence(QStringLiteral("Ctrl+Z"))},   {"Top101", QKeySequence(QStringLiteral("Ctrl+T"))},
        {"RulesandScoring1", QKeySequence(Qt::Key_F1)}};
    for (const auto &[Name, Keys] : Shortcuts) QCOMPARE(Action(Name)->shortcut(), Keys);

    // No caption is clipped by the fixed layout.
    for (QLabel *Label : Form->centralWidget()->findChildren<QLabel *>()) {
      if (Label->text().isEmpty()) continue;
      const QSize Text = Label->fontMetrics().size(Qt::TextSingleLine, Label->text());
      QVERIFY2(Text.width() <= Label->contentsRect().width(), qPrintable(Label->text()));
      QVERIFY2(Label->fontMetrics().ascent() <= Label->contentsRect().height(), qPrintable(Label->text()));
    }
    for (QCheckBox *Box : Form->centralWidget()->findChildren<QCheckBox *>())
      QVERIFY2(Box->sizeHint().width() <= Box->width(), qPrintable(Box->text()));
    QVERIFY(Roll->fontMetrics().horizontalAdvance(QStringLiteral("Roll!")) + 8 <= Roll->width());
  }

  void pressAtPixelBorders_data() {
    QTest::addColumn<bool>("InBottomGrid");
    QTest::addColumn<QPoint>("Client");
    QTest::addColumn<int>("Col");
    QTest::addColumn<int>("EntryRow");  // -1: the press enters nothing
    QTest::newRow("x 30 is column 0") << false << QPoint(30, 5) << 0 << 0;
    QTest::newRow("x 31 is column 1") << false << QPoint(31, 5) << 1 << 0;
    QTest::newRow("y 16 is row 0") << false << QPoint(5, 16) << 0 << 0;
    QTest::newRow("y 17 is row 1") << false << QPoint(5, 17) << 0 << 1;
    QTest::newRow("last upper cell") << false << QPoint(92, 101) << 2 << 5;
    QTest::newRow("x 61 lower is column 1") << true << QPoint(61, 20) << 1 << 7;
    QTest::newRow("x 62 lower is column 2") << true << QPoint(62, 20) << 2 << 7;
    QTest::newRow("last lower row") << true << QPoint(5, 118) << 0 << 12;
    QTest::newRow("on the border") << false << QPoint(-1, 5) << 0 << -1;
  }

  void pressAtPixelBorders() {
    QFETCH(bool, InBottomGrid);
    QFETCH(QPoint, Client);
    QFETCH(int, Col);
    QFETCH(int, EntryRow);
    SetAnimation(false);
    QVERIFY(RollDice());
    TScoreGrid *Grid = InBottomGrid ? Bottom : Top;
    QTest::mouseClick(Grid, Qt::LeftButton, {}, Client + Grid->ClientOrigin());
    if (EntryRow < 0) {
      QCOMPARE(Form->Game().Card().FilledCount, 0);
      return;
    }
    QCOMPARE(Form->Game().Card().FilledCount, 1);
    QVERIFY(Form->Game().Card().IsFilled(Col, EntryRow));
    QCOMPARE(BoxText(Col, EntryRow), QString::number(BoxScore(EntryRow, Form->Game().Dice(), Form->Game().Flags())));
  }

  void pressesThatEnterNothing() {
    SetAnimation(false);
    Press(0, erChance);  // before the first roll
    QCOMPARE(Form->Game().Card().FilledCount, 0);
    QCOMPARE(BoxText(0, erChance), QString());

    QVERIFY(RollDice());
    Press(0, erChance);
    const QString Entered = BoxText(0, erChance);
    QVERIFY(RollDice());
    Press(0, erChance);  // filled: the turn goes on
    QCOMPARE(Form->Game().Card().FilledCount, 1);
    QCOMPARE(Form->Game().RollCount(), 1);
    QCOMPARE(BoxText(0, erChance), Entered);
    QTest::mouseClick(Top, Qt::RightButton, {}, BoxPoint(1, erOnes));  // any button enters
    QCOMPARE(Form->Game().Card().FilledCount, 2);
  }

  void previewRules() {
    SetAnimation(false);
    QVERIFY(RollDice());
    Press(0, erTwos);
    const QString Twos = BoxText(0, erTwos);
    QVERIFY(RollDice());
    auto Preview = [this](int Col, int Row) { return QString::number(Form->Game().PreviewScore(Col, Row)); };

    MoveTo(0, erOnes);
    QCOMPARE(BoxText(0, erOnes), Preview(0, erOnes));
    MoveTo(0, erTwos);  // a filled box keeps the preview elsewhere on show
    QCOMPARE(BoxText(0, erOnes), Preview(0, erOnes));
    QCOMPARE(BoxText(0, erTwos), Twos);
    MoveToPanel();  // the free panel empties it but remembers the box
    QCOMPARE(BoxText(0, erOnes), QString());
    QCOMPARE(Form->GetPreviewRow(), int(erOnes));
    MoveToPanel();
    QCOMPARE(BoxText(0, erTwos), Twos);

    MoveTo(0, erOnes);
    MoveTo(2, erChance);  // across grids: the old cell is emptied
    QCOMPARE(BoxText(0, erOnes), QString());
    QCOMPARE(BoxText(2, erChance), Preview(2, erChance));
    QTest::mouseMove(TopTotal, QPoint(10, 10));  // the totals take no input
    QCOMPARE(BoxText(2, erChance), QString());

    // A roll while the pointer rests on a box shows the new throw's score.
    MoveTo(1, erChance);
    Roll->click();
    QCOMPARE(BoxText(1, erChance), Preview(1, erChance));

    // An entry made without the pointer passing over its box leaves no
    // stale preview behind in the box that had it.
    MoveTo(0, erOnes);
    QTest::mouseClick(Bottom, Qt::LeftButton, {}, BoxPoint(1, erChance - UpperRows));
    QCOMPARE(BoxText(0, erOnes), QString());
    QCOMPARE(Form->GetPreviewRow(), -1);
    const QString Chance = BoxText(1, erChance);
    QVERIFY(!Chance.isEmpty());
    MoveToPanel();
    QCOMPARE(BoxText(1, erChance), Chance);
    MoveTo(2, erChance);  // before the next roll there is no preview
    QCOMPARE(BoxText(2, erChance), QString());
  }

  void totalsAfterUpperEntryInThirdColumn() {
    SetAnimation(false);
    int Face = -1;  // a face (value) whose dice make 12
    Form->Game().Seed(FindSeed([&Face](const TThrow &Throw) {
      for (int V = 0; V < 6; ++V)
        if (CountOf(Throw, V) * (V + 1) == 12) return Face = V, true;
      return false;
    }));
    QVERIFY(RollDice());
    Press(2, Face);
    QCOMPARE(TotalsColumn(TopTotal, 2), (QStringList{"12", "", "12"}));
    QCOMPARE(TotalsColumn(BottomTotal, 2), (QStringList{"", "", "12", "36"}));
    QCOMPARE(TotalsColumn(TopTotal, 0), (QStringList{"", "", ""}));
    QCOMPARE(TotalsColumn(BottomTotal, 1), (QStringList{"", "", "", ""}));
    QCOMPARE(GrandTotal->text(), QStringLiteral("36"));
    QVERIFY(Action("Undo1")->isEnabled());

    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Form->Game().Card().FilledCount, 0);
    QCOMPARE(BoxText(2, Face), QString());
    QCOMPARE(TotalsColumn(TopTotal, 2), (QStringList{"0", "", "0"}));
    QCOMPARE(TotalsColumn(BottomTotal, 2), (QStringList{"", "", "0", "0"}));
    QCOMPARE(GrandTotal->text(), QStringLiteral("0"));
    QVERIFY(!Action("Undo1")->isEnabled());
    for (int I = 0; I < DiceCount; ++I) {  // the throw is back, free to hold
      QVERIFY(Die(I)->isEnabled());
      QCOMPARE(Form->ShownDie(I), Form->Game().Dice()[I]);
    }
  }

  void quintorBonusCellAndItsUndo() {
    SetAnimation(false);
    const std::uint64_t Seed = FindSeed([](const TThrow &T) { return CountOf(T, T[0]) == 5; });
    const int Boxes[] = {erQuintor, erChance, erThreeOfAKind, erFourOfAKind};
    for (int Box : Boxes) {
      Form->Game().Seed(Seed);
      QVERIFY(RollDice());
      Press(1, Box);
    }
    // The fourth five of a kind gives the first column its bonus.
    QCOMPARE(BottomTotal->Cell(0, 1), QStringLiteral("100"));
    QCOMPARE(BottomTotal->Cell(0, 2), QStringLiteral("100"));
    QCOMPARE(BottomTotal->Cell(0, 3), QStringLiteral("100"));
    QCOMPARE(BottomTotal->Cell(1, 1), QString());
    const int WithBonus = GrandTotal->text().toInt();
    const int Undone = BoxText(1, erFourOfAKind).toInt();

    Action("Undo1")->trigger();
    QCOMPARE(BottomTotal->Cell(0, 1), QString());
    QCOMPARE(BottomTotal->Cell(0, 2), QStringLiteral("0"));
    QCOMPARE(BottomTotal->Cell(0, 3), QStringLiteral("0"));
    QCOMPARE(BoxText(1, erFourOfAKind), QString());
    QCOMPARE(GrandTotal->text().toInt(), WithBonus - 100 - 2 * Undone);
    // Entered again, the same five of a kind gives the bonus back.
    Press(1, erFourOfAKind);
    QCOMPARE(BottomTotal->Cell(0, 1), QStringLiteral("100"));
    QCOMPARE(GrandTotal->text().toInt(), WithBonus);
  }

  void undoNewGameAndShortcuts() {
    SetAnimation(false);
    TFakeHighScores HighScores;
    TCountingDialog About;
    QVERIFY(RollDice());
    Press(0, erChance);
    QVERIFY(Action("Undo1")->isEnabled());
    QVERIFY(RollDice());  // a completed roll ends the chance to undo
    QVERIFY(!Action("Undo1")->isEnabled());
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Form->Game().Card().FilledCount, 1);

    Press(1, erChance);
    QTest::keyClick(Form.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(Form->Game().Card().FilledCount, 0);
    QCOMPARE(BoxText(0, erChance), QString());
    QCOMPARE(BottomTotal->Cell(0, 3), QString());
    QCOMPARE(GrandTotal->text(), QStringLiteral("0"));
    QVERIFY(!Action("Undo1")->isEnabled());

    QTest::keyClick(Form.get(), Qt::Key_T, Qt::ControlModifier);  // no top ten yet: nothing
    Form->SetHighScores(&HighScores);
    QTest::keyClick(Form.get(), Qt::Key_T, Qt::ControlModifier);
    QCOMPARE(HighScores.Listed, 1);

    Action("About1")->trigger();  // no about box yet: nothing
    Form->SetAboutBox(&About);
    Action("About1")->trigger();
    QTest::mouseClick(Child<QLabel>("Image1"), Qt::LeftButton);
    QCOMPARE(About.Shown, 2);
  }

  void captionsFollowTheRoll() {
    SetAnimation(false);
    Form->Game().Seed(FindSeed([](const TThrow &T) { return CountOf(T, T[0]) < 5; }));
    QVERIFY(RollDice());
    const char *Names[EntryRows] = {"Label1", "Label2", "Label3", "Label4", "Label5", "Label6", "LabelTOK",
                                    "LabelFOK", "LabelFH", "LabelSS", "LabelLS", "LabelQ", "LabelC"};
    for (int Row = 0; Row < EntryRows; ++Row)
      QCOMPARE(Child<QLabel>(Names[Row])->isEnabled(), Form->Game().Flags()[Row]);
    QVERIFY(!Child<QLabel>("LabelQ")->isEnabled());
    QVERIFY(Child<QLabel>("LabelC")->isEnabled());
    Press(0, erChance);  // entries leave the captions alone
    QVERIFY(!Child<QLabel>("LabelQ")->isEnabled());
    Action("New1")->trigger();
    for (const char *Name : Names) QVERIFY(Child<QLabel>(Name)->isEnabled());
  }

  void animationKeepsHeldDie() {
    Form->setProperty("FlashInterval", 3600 * 1000);  // ticks come from the test only
    SetAnimation(false);
    QVERIFY(RollDice());
    SetAnimation(true);
    QTest::mouseClick(Die(1), Qt::LeftButton);
    QVERIFY(Form->IsDieHeld(1));
    const int Held = Form->Game().Dice()[1];
    QTest::mouseClick(Roll, Qt::LeftButton);
    for (int Step = 1; Step <= TGame::AnimationSteps; ++Step) {
      QVERIFY(Form->Game().IsRolling());
      Tick();
      QCOMPARE(Form->ShownDie(1), Held);
      for (int I = 0; I < DiceCount; ++I) QCOMPARE(Form->ShownDie(I), Form->Game().Dice()[I]);
    }
    QVERIFY(!Form->Game().IsRolling());
    QCOMPARE(Form->Game().RollCount(), 2);
    QVERIFY(Form->IsDieHeld(1));
  }

  void rollPressedTwiceCompletesOnce() {
    Form->setProperty("FlashInterval", 3600 * 1000);
    QTest::mouseClick(Roll, Qt::LeftButton);
    Tick();
    Tick();
    QTest::mouseClick(Roll, Qt::LeftButton);  // the count starts over
    for (int Step = 1; Step < TGame::AnimationSteps; ++Step) Tick();
    QVERIFY(Form->Game().IsRolling());
    QCOMPARE(Form->Game().RollCount(), 0);
    Tick();
    QVERIFY(!Form->Game().IsRolling());
    QCOMPARE(Form->Game().RollCount(), 1);
    QVERIFY(!Child<QTimer>("FlashTimer")->isActive());
    Tick();  // a stray tick changes nothing
    QCOMPARE(Form->Game().RollCount(), 1);

    // Unticking Animation mid-roll completes the roll at the next tick.
    QTest::mouseClick(Roll, Qt::LeftButton);
    Tick();
    SetAnimation(false);
    Tick();
    QVERIFY(!Form->Game().IsRolling());
    QCOMPARE(Form->Game().RollCount(), 2);

    // And with the real timer.
    SetAnimation(true);
    Form->setProperty("FlashInterval", 1);
    QTest::mouseClick(Roll, Qt::LeftButton);
    QTRY_VERIFY(!Form->Game().IsRolling());
    QCOMPARE(Form->Game().RollCount(), 3);
    QVERIFY(!Roll->isEnabled());
  }

  void colourToggleRedrawsOnly() {
    SetAnimation(false);
    QVERIFY(RollDice());
    QTest::mouseClick(Die(3), Qt::LeftButton);
    const TThrow Before = Form->Game().Dice();
    auto Background = [this](int I) { return Die(I)->grab().toImage().pixelColor(5, 5); };
    QCOMPARE(Background(0), DieFaceColor(Before[0]));
    QList<qint64> Icons;
    for (int I = 0; I < DiceCount; ++I) Icons << Die(I)->icon().cacheKey();

    Child<QCheckBox>("CheckBox1")->click();
    for (int I = 0; I < DiceCount; ++I) {
      QVERIFY(Die(I)->icon().cacheKey() != Icons[I]);
      QCOMPARE(Form->ShownDie(I), Before[I]);
      QCOMPARE(Form->IsDieHeld(I), I == 3);
    }
    QCOMPARE(Form->Game().Dice(), Before);
    QVERIFY(Background(0) != DieFaceColor(Before[0]));  // the button face shows through
    QCOMPARE(Form->Game().RollCount(), 1);
  }

  void dieFacePixels_data() {
    QTest::addColumn<int>("Value");
    QTest::addColumn<QPoint>("Pip");       // the centre of one pip of the face
    QTest::addColumn<QPoint>("NoPip");     // a point a pip of another face would cover
    QTest::newRow("1") << 0 << QPoint(15, 15) << QPoint(6, 6);
    QTest::newRow("2") << 1 << QPoint(24, 6) << QPoint(15, 15);
    QTest::newRow("3 one pixel right") << 2 << QPoint(16, 15) << QPoint(24, 24);
    QTest::newRow("4") << 3 << QPoint(6, 24) << QPoint(15, 15);
    QTest::newRow("5") << 4 << QPoint(15, 15) << QPoint(6, 15);
    QTest::newRow("6") << 5 << QPoint(24, 15) << QPoint(15, 15);
  }

  void dieFacePixels() {
    QFETCH(int, Value);
    QFETCH(QPoint, Pip);
    QFETCH(QPoint, NoPip);
    const QImage Color = DieFace(Value, TDiceSet::dsColor).toImage();
    const QImage Plain = DieFace(Value, TDiceSet::dsPlain).toImage();
    QCOMPARE(Color.size(), QSize(DieFaceSize, DieFaceSize));
    QCOMPARE(Color.pixelColor(1, 1), DieFaceColor(Value));
    QCOMPARE(Color.pixelColor(NoPip), DieFaceColor(Value));
    QVERIFY(Color.pixelColor(Pip).lightness() < 40);
    QCOMPARE(Plain.pixelColor(1, 1).alpha(), 0);
    QCOMPARE(Plain.pixelColor(NoPip).alpha(), 0);
    QVERIFY(Plain.pixelColor(Pip).lightness() < 40);
    QCOMPARE(Plain.pixelColor(Pip).alpha(), 255);
    // Drawn at twice the density, not scaled: the pip's rim is one device
    // pixel thin, so its core starts right inside it.
    const QImage Sharp = DieFace(Value, TDiceSet::dsColor, 2.0).toImage();
    QCOMPARE(Sharp.size(), QSize(2 * DieFaceSize, 2 * DieFaceSize));
    QVERIFY(Sharp.pixelColor(Pip * 2).lightness() < 40);
    QCOMPARE(Sharp.pixelColor(2, 2), DieFaceColor(Value));
  }

  void notThrownFaces() {
    const QImage Color = DieFace(NotThrown, TDiceSet::dsColor).toImage();
    const QImage Plain = DieFace(NotThrown, TDiceSet::dsPlain).toImage();
    QCOMPARE(Color.pixelColor(1, 1), QColor(248, 248, 200));
    QCOMPARE(Plain.pixelColor(1, 1).alpha(), 0);
    int Dark = 0, Grey = 0;
    for (int Y = 0; Y < DieFaceSize; ++Y)
      for (int X = 0; X < DieFaceSize; ++X) {
        Dark += Color.pixelColor(X, Y).lightness() < 60;
        const QColor P = Plain.pixelColor(X, Y);
        Grey += P.alpha() == 255 && P.lightness() > 100 && P.lightness() < 160;
      }
    QVERIFY2(Dark > 20, "a black question mark");
    QVERIFY2(Grey > 20, "a grey question mark");
  }

  void wholeGameEnd_data() {
    QTest::addColumn<bool>("WithTopTen");
    QTest::addColumn<int>("TenthBelowTotal");
    QTest::addColumn<bool>("Qualifies");
    QTest::newRow("no top ten yet") << false << 1000 << false;
    QTest::newRow("equal to the tenth") << true << 0 << false;
    QTest::newRow("one above the tenth") << true << 1 << true;
  }

  void wholeGameEnd() {
    QFETCH(bool, WithTopTen);
    QFETCH(int, TenthBelowTotal);
    QFETCH(bool, Qualifies);
    TFakeHighScores HighScores;
    HighScores.Tenth = [&] { return quintor::GrandTotal(Form->Game().Card()) - TenthBelowTotal; };
    if (WithTopTen) Form->SetHighScores(&HighScores);
    TModalAnswer Answer;
    Answer.Arm();
    PlayWholeGame();

    QCOMPARE(Answer.Seen, !Qualifies);
    if (!Qualifies) {
      QCOMPARE(Answer.Title, QStringLiteral("Quintor"));
      QCOMPARE(Answer.Text, QStringLiteral("Game Over"));
      QCOMPARE(Answer.Buttons, 1);
    }
    QCOMPARE(HighScores.Entered, Qualifies ? 1 : 0);
    QCOMPARE(HighScores.Listed, Qualifies ? 1 : 0);
    if (Qualifies) {
      QCOMPARE(HighScores.EnteredTotal, GrandTotal->text().toInt());
      QCOMPARE(HighScores.EnteredQuintors, Form->Game().Card().QuintorCount);
    }
    QCOMPARE(Form->Game().RollCount(), TGame::GameEndedRollCount);
    QVERIFY(!Roll->isEnabled());
    QVERIFY(!Action("Undo1")->isEnabled());
    // The last box keeps its score; the dice keep the last throw.
    const QString Last = BoxText(2, erChance);
    MoveToPanel();
    QCOMPARE(BoxText(2, erChance), Last);
    for (int I = 0; I < DiceCount; ++I) QCOMPARE(Form->ShownDie(I), Form->Game().Dice()[I]);
  }

  void errorHandlerShowsTheMessageAndGoesOn() {
    TModalAnswer Answer;
    Answer.Arm();
    bool After = false;
    QTimer::singleShot(0, [] { throw EJError("JStorage not Open"); });
    QTimer::singleShot(1, [&After] { After = true; });
    QTRY_VERIFY(After);
    QVERIFY(Answer.Seen);
    QCOMPARE(Answer.Text, QStringLiteral("JStorage not Open"));
    QCOMPARE(Answer.Title, QStringLiteral("Quintor"));
  }

  void helpOpensTheDocumentAtItsContents() {
    QTemporaryDir Folder;
    QVERIFY(QFile::copy(QStringLiteral(QUINTOR_HELP_DOCUMENT), Folder.filePath(QStringLiteral("quintor.html"))));
    SetProgramFilePathForTesting(Folder.filePath(QStringLiteral("quintor")));
    QTest::keyClick(Form.get(), Qt::Key_F1);
    THelpWindow *Help = TQuintorApplication::Instance()->HelpWindow();
    QVERIFY(Help && Help->isVisible());
    QCOMPARE(Help->GetDocumentPath(), Folder.filePath(QStringLiteral("quintor.html")));
    const QString Text = Help->Browser()->toPlainText();
    for (const char *Caption : {"Ones", "Sixes", "Three of a kind", "Four of a kind", "Full house",
                                "Small straight", "Large straight", "Chance", "35", "100", "Undo", "Top"})
      QVERIFY2(Text.contains(QLatin1String(Caption)), Caption);
    Help->close();
  }

  void helpMissingDocumentSaysSo() {
    QTemporaryDir Empty;
    SetProgramFilePathForTesting(Empty.filePath(QStringLiteral("quintor")));
    if (THelpWindow *Help = TQuintorApplication::Instance()->HelpWindow()) Help->hide();
    TModalAnswer Answer;
    Answer.Arm();
    Action("RulesandScoring1")->trigger();
    QVERIFY(Answer.Seen);
    QVERIFY(Answer.Text.contains(QStringLiteral("quintor.hlp")));
    QVERIFY(!TQuintorApplication::Instance()->HelpWindow()->isVisible());
  }
};

int main(int argc, char *argv[]) {
  TQuintorApplication App(argc, argv);
  InitApplication(App);
  TestMainForm Test;
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_mainform.moc"
