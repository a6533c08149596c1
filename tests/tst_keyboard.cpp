// The game played from the keyboard alone: Roll! by Space where the focus
// stands at the start of a turn, the dice held by the keys 1 to 5, the score
// card reached by Tab (or by the third roll) and its cursor moved by the
// arrow keys onto the box that Enter or Space fills. The same game played by
// mouse from the same seed must reach the same card.

#include <QtTest>
#include <QtWidgets>

#include "MainForm.h"
#include "QuintorApplication.h"
#include "ScoreGrid.h"
#include "StartUp.h"

using namespace quintor;

class TestKeyboard : public QObject {
  Q_OBJECT

  // While in scope, answers each modal message box with OK.
  struct TModalAnswer : QTimer {
    TModalAnswer() {
      connect(this, &QTimer::timeout, this, [] {
        if (auto *Box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
          Box->button(QMessageBox::Ok)->click();
      });
      start(5);
    }
  };

  std::unique_ptr<TMainForm> Form;

  template <typename T>
  T *Child(const char *Name) {
    if (T *Found = Form->findChild<T *>(QLatin1String(Name))) return Found;
    qFatal("no child %s", Name);
  }
  QToolButton *Die(int I) {
    return Child<QToolButton>(qPrintable(QStringLiteral("SpeedButton%1").arg(I + 1)));
  }
  QWidget *Focus() { return QApplication::focusWidget(); }
  void Key(int K) { QTest::keyClick(Focus(), Qt::Key(K)); }

  static int GridRow(int EntryRow) { return EntryRow < UpperRows ? EntryRow : EntryRow - UpperRows; }
  static QPoint BoxPoint(int Col, int EntryRow) {
    return QPoint(2 + Col * 31 + 12, 2 + GridRow(EntryRow) * 17 + 8);
  }
  TScoreGrid *GridOf(int EntryRow) {
    return Child<TScoreGrid>(EntryRow < UpperRows ? "TopGrid" : "BottomGrid");
  }
  QString BoxText(int Col, int EntryRow) { return GridOf(EntryRow)->Cell(Col, GridRow(EntryRow)); }
  QString Preview(int Col, int EntryRow) { return QString::number(Form->Game().PreviewScore(Col, EntryRow)); }
  void Click(int Col, int EntryRow) {
    QTest::mouseMove(GridOf(EntryRow), BoxPoint(Col, EntryRow));
    QTest::mouseClick(GridOf(EntryRow), Qt::LeftButton, {}, BoxPoint(Col, EntryRow));
  }
  QPoint Cursor() { return {Form->GetCursorCol(), Form->GetCursorRow()}; }

  // Every total of the card and the grand total, and every box.
  QString Card() {
    QStringList Cells;
    for (const char *Name : {"TopGrid", "BottomGrid", "TopTotal", "BottomTotal"}) {
      TScoreGrid *Grid = Child<TScoreGrid>(Name);
      for (int Row = 0; Row < Grid->GetRowCount(); ++Row)
        for (int Col = 0; Col < ColumnCount; ++Col) Cells << Grid->Cell(Col, Row);
    }
    return (Cells << Child<QLabel>("GrandTotal")->text()).join(QLatin1Char('|'));
  }

  // Turn T of the game both players play: one to three rolls, a die held
  // after each roll but the last, and a box of a fixed permutation.
  static int Rolls(int T) { return 1 + T % 3; }
  static int HeldAfterRoll(int T, int Roll) { return (T + 2 * Roll) % DiceCount; }
  static int BoxOfTurn(int T) { return T * 7 % BoxCount; }  // 7 and 39 share no factor

 private slots:
  void init() {
    Form = std::make_unique<TMainForm>();
    Child<QCheckBox>("AnimationCheckbox")->setChecked(false);
    Form->show();
    QVERIFY(QTest::qWaitForWindowActive(Form.get()));
  }

  void wholeGameByKeysMatchesTheMouse() {
    TModalAnswer Answer;
    Form->Game().Seed(20261206);
    for (int T = 0; T < BoxCount; ++T) {
      for (int Roll = 0; Roll < Rolls(T); ++Roll) {
        if (Roll > 0) QTest::mouseClick(Die(HeldAfterRoll(T, Roll - 1)), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>("RollButton"), Qt::LeftButton);
      }
      Click(BoxOfTurn(T) % ColumnCount, BoxOfTurn(T) / ColumnCount);
    }
    QCOMPARE(Form->Game().Card().FilledCount, BoxCount);
    const QString ByMouse = Card();

    init();
    Form->Game().Seed(20261206);
    for (int T = 0; T < BoxCount; ++T) {
      QCOMPARE(Focus(), Child<QWidget>("RollButton"));
      for (int Roll = 0; Roll < Rolls(T); ++Roll) {
        if (Roll > 0) Key(Qt::Key_1 + HeldAfterRoll(T, Roll - 1));
        Key(Qt::Key_Space);
      }
      // The third roll takes the focus to the card; after fewer, Tab does.
      if (Rolls(T) < TGame::MaxRolls) Key(Qt::Key_Tab);
      QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
      Key(Qt::Key_Home);
      const int Target = BoxOfTurn(T);
      for (int Box = 0; Box < Target; ++Box)
        if (!Form->Game().Card().IsFilled(Box % ColumnCount, Box / ColumnCount)) Key(Qt::Key_Right);
      QCOMPARE(Cursor(), QPoint(Target % ColumnCount, Target / ColumnCount));
      Key(T % 2 ? Qt::Key_Return : Qt::Key_Space);
    }
    QCOMPARE(Form->Game().Card().FilledCount, BoxCount);
    QCOMPARE(Card(), ByMouse);
  }

  // After the third roll Space must enter a box, not switch "Use colors"; an
  // entry or a new turn gives Roll! the focus back, and so does the undo of
  // an entry made with rolls left, while the undo of a third roll's entry
  // sends the focus back to the card.
  void focusFollowsTheGame() {
    for (int Roll = 0; Roll < TGame::MaxRolls; ++Roll) Key(Qt::Key_Space);
    QVERIFY(!Child<QPushButton>("RollButton")->isEnabled());
    QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
    Key(Qt::Key_Space);
    QVERIFY(Child<QCheckBox>("CheckBox1")->isChecked());
    QCOMPARE(Form->Game().Card().FilledCount, 1);
    QCOMPARE(Focus(), Child<QWidget>("RollButton"));

    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Form->Game().RollCount(), 3);
    QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
    Key(Qt::Key_Return);
    QCOMPARE(Focus(), Child<QWidget>("RollButton"));

    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Focus(), Child<QWidget>("RollButton"));
    QCOMPARE(Form->Game().RollCount(), 1);
  }

  // The digit keys press the dice as the mouse does: nothing before the first
  // roll, and during the animation a hold that counts from the next step.
  void digitKeysHoldAsAPressDoes() {
    Key(Qt::Key_3);
    QVERIFY(!Form->IsDieHeld(2));
    Child<QCheckBox>("AnimationCheckbox")->setChecked(true);
    Form->setProperty("FlashInterval", 3600 * 1000);  // the test ticks
    Key(Qt::Key_Space);
    QVERIFY(QMetaObject::invokeMethod(Form.get(), "FlashTimerTimer"));
    Key(Qt::Key_3);
    QVERIFY(Form->IsDieHeld(2));
    const int Held = Form->ShownDie(2);
    for (int Step = 1; Step < TGame::AnimationSteps; ++Step) {
      QVERIFY(QMetaObject::invokeMethod(Form.get(), "FlashTimerTimer"));
      QCOMPARE(Form->ShownDie(2), Held);
    }
    QCOMPARE(Form->Game().RollCount(), 1);
    QTest::keyClick(Focus(), Qt::Key_3, Qt::KeypadModifier);
    QVERIFY(!Form->IsDieHeld(2));
  }

  void cursorSkipsFilledBoxes_data() {
    QTest::addColumn<QList<int>>("Keys");
    QTest::addColumn<QPoint>("Expected");  // column, entry row
    // Filled before: (1, Ones), the whole Twos row, (0, Threes), (2, Chance).
    QTest::newRow("right skips a filled box") << QList<int>{Qt::Key_Right} << QPoint(2, erOnes);
    QTest::newRow("right goes on to the next row")
        << QList<int>{Qt::Key_Right, Qt::Key_Right} << QPoint(1, erThrees);
    QTest::newRow("down skips a filled row, to the nearest column")
        << QList<int>{Qt::Key_Down} << QPoint(1, erThrees);
    QTest::newRow("up comes back over it")
        << QList<int>{Qt::Key_Right, Qt::Key_Down, Qt::Key_Up} << QPoint(2, erOnes);
    QTest::newRow("end is the last open box") << QList<int>{Qt::Key_End} << QPoint(1, erChance);
    QTest::newRow("left at the start stays") << QList<int>{Qt::Key_Left} << QPoint(0, erOnes);
    QTest::newRow("from the upper grid to the lower")
        << QList<int>{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}
        << QPoint(1, erThreeOfAKind);
  }

  void cursorSkipsFilledBoxes() {
    QFETCH(QList<int>, Keys);
    QFETCH(QPoint, Expected);
    for (QPoint Box : {QPoint(1, erOnes), QPoint(0, erTwos), QPoint(1, erTwos), QPoint(2, erTwos),
                       QPoint(0, erThrees), QPoint(2, erChance)}) {
      Key(Qt::Key_Space);
      Click(Box.x(), Box.y());
    }
    Key(Qt::Key_Tab);
    for (int K : Keys) Key(K);
    QCOMPARE(Cursor(), Expected);
    TScoreGrid *Shows = GridOf(Expected.y()), *Other = GridOf(Expected.y() < UpperRows ? erChance : erOnes);
    QCOMPARE(QPoint(Shows->GetCursorCol(), Shows->GetCursorRow()),
             QPoint(Expected.x(), GridRow(Expected.y())));
    QCOMPARE(Other->GetCursorCol(), -1);
    Key(Qt::Key_Tab);  // leaving the card takes the cursor away
    QCOMPARE(Shows->GetCursorCol(), -1);
  }

  // One preview for the pointer and the cursor: whichever moved last shows
  // its box; the panel empties it as ever.
  void previewFollowsTheCursor() {
    // (A move to where the pointer already is would be no move: the boxes
    // here are ones no other test points at.)
    Key(Qt::Key_Tab);  // before the first roll the cursor shows nothing
    QCOMPARE(BoxText(0, erOnes), QString());
    QTest::keyClick(Focus(), Qt::Key_Tab, Qt::ShiftModifier);
    QCOMPARE(Focus(), Child<QWidget>("RollButton"));
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    QCOMPARE(BoxText(0, erOnes), Preview(0, erOnes));
    Key(Qt::Key_Down);
    QCOMPARE(BoxText(0, erOnes), QString());
    QCOMPARE(BoxText(0, erTwos), Preview(0, erTwos));

    QTest::mouseMove(GridOf(erFullHouse), BoxPoint(2, erFullHouse));
    QCOMPARE(BoxText(0, erTwos), QString());
    QCOMPARE(BoxText(2, erFullHouse), Preview(2, erFullHouse));
    Key(Qt::Key_Right);
    QCOMPARE(BoxText(2, erFullHouse), QString());
    QCOMPARE(BoxText(1, erTwos), Preview(1, erTwos));
    QTest::mouseMove(Child<QWidget>("ScorePanel"), QPoint(5, 200));
    QCOMPARE(BoxText(1, erTwos), QString());

    // Enter fills the cursor's box, not the one the pointer last showed.
    QTest::mouseMove(GridOf(erFullHouse), BoxPoint(2, erFullHouse));
    Key(Qt::Key_Enter);
    QVERIFY(Form->Game().Card().IsFilled(1, erTwos) && !Form->Game().Card().IsFilled(2, erFullHouse));
    QCOMPARE(BoxText(2, erFullHouse), QString());
  }
};

int main(int argc, char *argv[]) {
  TQuintorApplication App(argc, argv);
  InitApplication(App);
  TestKeyboard Test;
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_keyboard.moc"
