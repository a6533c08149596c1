// The game played from the keyboard alone: Roll! by Space where the focus
// stands at the start of a turn, the dice held by the keys 1 to 5 (while
// they tumble too: tst_mainform's animation), the score card reached by Tab
// (or by the third roll) and its cursor moved by the arrow keys onto the box
// that Enter or Space fills, and the grand total focused at the end.

#include "Accessibility.h"
#include "MainFormTestSupport.h"

using namespace quintor;

class TestKeyboard : public QObject, TMainFormDriver {
  Q_OBJECT

  QWidget *Focus() { return QApplication::focusWidget(); }
  void Key(int K, Qt::KeyboardModifiers Modifiers = {}) { QTest::keyClick(Focus(), Qt::Key(K), Modifiers); }
  QString Preview(int Col, int EntryRow) { return QString::number(Form->Game().PreviewScore(Col, EntryRow)); }
  QPoint Cursor() { return {Form->GetCursorCol(), Form->GetCursorRow()}; }

 private slots:
  void init() { QVERIFY(OpenForm()); }

  // Turn T: one to three rolls, a die held after each roll but the last, and
  // a box of a fixed permutation (7 and 39 share no factor), reached from
  // Home over the open boxes.
  void wholeGameByKeys() {
    TModalAnswer Answer;
    for (int T = 0; T < BoxCount; ++T) {
      QCOMPARE(Focus(), Child<QWidget>("RollButton"));
      const int Rolls = 1 + T % 3;
      for (int Roll = 0; Roll < Rolls; ++Roll) {
        if (Roll > 0) {
          const int Die = (T + 2 * Roll) % DiceCount;
          Key(Qt::Key_1 + Die);
          QVERIFY(Form->IsDieHeld(Die));
        }
        Key(Qt::Key_Space);
      }
      // The third roll takes the focus to the card; after fewer, Tab does.
      if (Rolls < TGame::MaxRolls) Key(Qt::Key_Tab);
      QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
      Key(Qt::Key_Home);
      const int Target = T * 7 % BoxCount;
      for (int Box = 0; Box < Target; ++Box)
        if (!Form->Game().Card().IsFilled(Box % ColumnCount, Box / ColumnCount)) Key(Qt::Key_Right);
      QCOMPARE(Cursor(), QPoint(Target % ColumnCount, Target / ColumnCount));
      Key(T % 2 ? Qt::Key_Return : Qt::Key_Space);
      QVERIFY(Form->Game().Card().IsFilled(Target % ColumnCount, Target / ColumnCount));
      QCOMPARE(Form->Game().Card().FilledCount, T + 1);
    }
    // At the end the grand total has the focus and says what to do next; with
    // no game end plugged in, the game just ends, and a move over the panel
    // leaves the last box's score on show.
    QCOMPARE(Form->focusWidget(), Child<QWidget>("GrandTotal"));
    QVERIFY(!Child<QPushButton>("RollButton")->isEnabled());
    QTest::mouseMove(Child<QWidget>("ScorePanel"), QPoint(5, 200));
    const int Last = Form->Game().Card().BottomScore[2][erLargeStraight - UpperRows];  // box 38 * 7 % 39
    QCOMPARE(BoxText(2, erLargeStraight), QString::number(Last));
    QVERIFY(Form->Reader().Said().last().endsWith("; the game is over"));
    QVERIFY(QAccessible::queryAccessibleInterface(Form->focusWidget())
                ->text(QAccessible::Name)
                .endsWith(". The game is over; Ctrl+N starts a new game."));
  }

  // After the third roll Space must enter a box, not switch "Use colors"; an
  // entry or a new turn gives Roll! the focus back, and so does the undo of
  // an entry made with rolls left, while the undo of a third roll's entry
  // sends the focus back to the card.
  void focusFollowsTheGame() {
    for (int Roll = 0; Roll < TGame::MaxRolls; ++Roll) Key(Qt::Key_Space);
    QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
    Key(Qt::Key_Space);
    QVERIFY(Child<QCheckBox>("CheckBox1")->isChecked());
    QCOMPARE(Form->Game().Card().FilledCount, 1);
    QCOMPARE(Focus(), Child<QWidget>("RollButton"));

    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Focus(), Child<QWidget>("TopGrid"));
    Key(Qt::Key_Return);
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    Key(Qt::Key_Return);
    Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Focus(), Child<QWidget>("RollButton"));
    QCOMPARE(Form->Game().RollCount(), 1);
  }

  // The moves themselves are the card cursor's (tst_rules); here each
  // key reaches its move, in both grids.
  void cursorSkipsFilledBoxes() {
    for (QPoint Box : {QPoint(1, erOnes), QPoint(0, erTwos), QPoint(1, erTwos), QPoint(2, erTwos),
                       QPoint(0, erThrees), QPoint(2, erChance)}) {
      Key(Qt::Key_Space);
      Press(Box.x(), Box.y());
    }
    Key(Qt::Key_Tab);
    const QPoint Expected(2, erThreeOfAKind);
    for (const auto &[K, Col, Row] : {std::tuple{Qt::Key_End, 1, erChance}, {Qt::Key_Home, 0, erOnes},
                                      {Qt::Key_Right, 2, erOnes}, {Qt::Key_Right, 1, erThrees}, {Qt::Key_Left, 2, erOnes},
                                      {Qt::Key_Down, 2, erThrees}, {Qt::Key_Up, 2, erOnes}}) {
      Key(K);
      QCOMPARE(Cursor(), QPoint(Col, Row));
    }
    for (int Row = erThrees; Row <= Expected.y(); ++Row) Key(Qt::Key_Down);
    QCOMPARE(Cursor(), Expected);
    TScoreGrid *Shows = GridOf(Expected.y()), *Other = GridOf(Expected.y() < UpperRows ? erChance : erOnes);
    QCOMPARE(QPoint(Shows->GetCursorCol(), Shows->GetCursorRow()), QPoint(Expected.x(), GridRow(Expected.y())));
    QCOMPARE(Other->GetCursorCol(), -1);
    // The cursor's box is the focus a screen reader follows.
    QAccessibleInterface *Table = QAccessible::queryAccessibleInterface(Shows);
    QCOMPARE(Table->focusChild(), Table->tableInterface()->cellAt(GridRow(Expected.y()), Expected.x()));
    Key(Qt::Key_Tab);  // leaving the card takes the cursor away
    QVERIFY(Shows->GetCursorCol() == -1 && !Table->focusChild());
  }

  // One preview for the pointer and the cursor: whichever moved last shows
  // its box; the panel empties it as ever. (A move to where the pointer
  // already is would be no move: the boxes here are ones no other test
  // points at.)
  void previewFollowsTheCursor() {
    Key(Qt::Key_Tab);  // before the first roll the cursor shows nothing
    QCOMPARE(BoxText(0, erOnes), QString());
    Key(Qt::Key_Tab, Qt::ShiftModifier);
    Key(Qt::Key_Space);
    Key(Qt::Key_Tab);
    QCOMPARE(BoxText(0, erOnes), Preview(0, erOnes));
    Key(Qt::Key_Down);
    QCOMPARE(BoxText(0, erOnes), QString());
    QCOMPARE(BoxText(0, erTwos), Preview(0, erTwos));

    MoveTo(2, erFullHouse);
    QCOMPARE(BoxText(0, erTwos), QString());
    Key(Qt::Key_Right);
    QCOMPARE(BoxText(2, erFullHouse), QString());
    QCOMPARE(BoxText(1, erTwos), Preview(1, erTwos));
    QTest::mouseMove(Child<QWidget>("ScorePanel"), QPoint(5, 200));
    QCOMPARE(BoxText(1, erTwos), QString());

    // Enter fills the cursor's box, not the one the pointer last showed.
    MoveTo(2, erFullHouse);
    Key(Qt::Key_Enter);
    QVERIFY(Form->Game().Card().IsFilled(1, erTwos) && !Form->Game().Card().IsFilled(2, erFullHouse));
    QCOMPARE(BoxText(2, erFullHouse), QString());
  }
};

QUINTOR_MAINFORM_TEST_MAIN(TestKeyboard)
#include "tst_keyboard.moc"
