// The game played from the keyboard alone: Roll! by Space where the focus
// stands at the start of a turn, the dice held by the keys 1 to 5, the score
// card reached by Tab (or by the third roll) and its cursor moved by the
// arrow keys onto the box that Enter or Space fills, and the grand total
// focused at the end.

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
    // At the end the grand total has the focus and says what to do next.
    QCOMPARE(Form->focusWidget(), Child<QWidget>("GrandTotal"));
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
    const int Held = Form->ShownDie(2);
    for (int Step = 1; Step < TGame::AnimationSteps; ++Step) {
      QVERIFY(QMetaObject::invokeMethod(Form.get(), "FlashTimerTimer"));
      QCOMPARE(Form->ShownDie(2), Held);
    }
    QCOMPARE(Form->Game().RollCount(), 1);
    Key(Qt::Key_3, Qt::KeypadModifier);
    QVERIFY(!Form->IsDieHeld(2));
  }

  // The moves themselves are the card cursor's (tst_scorecard); here each
  // key reaches its move, in both grids.
  void cursorSkipsFilledBoxes_data() {
    QTest::addColumn<QList<int>>("Keys");
    QTest::addColumn<QPoint>("Expected");  // column, entry row
    // Filled before: (1, Ones), the whole Twos row, (0, Threes), (2, Chance).
    QTest::newRow("right, right, left") << QList<int>{Qt::Key_Right, Qt::Key_Right, Qt::Key_Left} << QPoint(2, erOnes);
    QTest::newRow("right, down, up") << QList<int>{Qt::Key_Right, Qt::Key_Down, Qt::Key_Up} << QPoint(2, erOnes);
    QTest::newRow("end, home, down into the lower grid")
        << QList<int>{Qt::Key_End, Qt::Key_Home, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}
        << QPoint(1, erThreeOfAKind);
  }

  void cursorSkipsFilledBoxes() {
    QFETCH(QList<int>, Keys);
    QFETCH(QPoint, Expected);
    for (QPoint Box : {QPoint(1, erOnes), QPoint(0, erTwos), QPoint(1, erTwos), QPoint(2, erTwos),
                       QPoint(0, erThrees), QPoint(2, erChance)}) {
      Key(Qt::Key_Space);
      Press(Box.x(), Box.y());
    }
    Key(Qt::Key_Tab);
    for (int K : Keys) Key(K);
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
