// The turn and the game through TGame's public operations, watched through a
// recording view: roll counting, holding, undo and its five-of-a-kind
// correction, the roll animation and the commands it shuts out, a whole game
// of 39 entries and its hand-over to the top ten.

#include <QtTest>

#include "Game.h"
#include "RecordingView.h"

using namespace quintor;

namespace {

TThrow Faces(const QString &Text) {
  TThrow Throw = {};
  const QStringList Parts = Text.split(QLatin1Char('-'));
  for (int I = 0; I < DiceCount; ++I) Throw[I] = Parts[I].toInt() - 1;
  return Throw;
}

// A seed from which the next five dice are exactly Wanted.
std::uint64_t SeedFor(const TThrow &Wanted) {
  for (std::uint64_t Seed = 1;; ++Seed) {
    TRandomSource Source;
    Source.Seed(Seed);
    bool Match = true;
    for (int I = 0; I < DiceCount && Match; ++I) Match = Source.RandomBelow(6) == Wanted[I];
    if (Match) return Seed;
  }
}

struct TFixture {
  TRecordingView View;
  TGame Game{View, View};
  TFixture() { Game.NewGame(); }

  // One roll (animation off) that shows exactly the given faces.
  void RollFaces(const QString &Text) {
    Game.Seed(SeedFor(Faces(Text)));
    Game.StartRoll();
  }
  void Enter(const QString &Text, int Col, int EntryRow) {
    RollFaces(Text);
    Game.EnterThrow(Col, EntryRow);
  }
};

// Every observable of the start of a turn.
void CheckTurnStart(const TFixture &F) {
  QCOMPARE(F.Game.RollCount(), 0);
  QVERIFY(F.View.RollEnabled);
  QVERIFY(!F.View.DiceEnabled);
  for (int I = 0; I < DiceCount; ++I) {
    QCOMPARE(F.View.DieShown[I], NotThrown);
    QVERIFY(!F.View.Held[I]);
  }
}

}  // namespace

class TestGame : public QObject {
  Q_OBJECT

 private slots:
  void randomSourceFromSeedOne();
  void randomBelowZero();
  void newGameShowsAnEmptyCard();
  void threeRollsThenRollIsDisabled();
  void heldDiceKeepTheirFacesAndTheRollCounts();
  void entryIgnoredBeforeFirstRollAndOnFilledBox();
  void entryStartsTheNextTurnAndKeepsTheThrow();
  void undoAfterFirstRollRestoresTheTurn();
  void undoAfterThirdRollLeavesRollDisabled();
  void undoRefusedAfterTheNextRoll();
  void undoOfTheFourthQuintorTakesItsBonusBack();
  void undoOfALowerEntry();
  void animationRunsFourSteps();
  void rollPressedAgainRestartsTheCount();
  void untickingAnimationCompletesAtTheNextTick();
  void commandsIgnoredWhileRolling();
  void wholeGame_data();
  void wholeGame();
};

void TestGame::randomSourceFromSeedOne() {
  TRandomSource Source;
  Source.Seed(1);
  QList<int> Dice;
  for (int I = 0; I < 5; ++I) Dice << Source.RandomBelow(6);
  QCOMPARE(Dice, (QList<int>{4, 2, 2, 0, 4}));

  // The draw is bits 32 to 62 of the new state.
  Source.Seed(1);
  const std::uint32_t Draw = Source.Draw();
  const std::uint64_t State = (std::uint64_t{346} << 32) + 20021 + 1;
  QCOMPARE(Source.GetState(), State);
  QCOMPARE(Draw, std::uint32_t(State >> 32) & 0x7FFFFFFFu);

  // Through the game: the same seed, the same throw.
  TFixture F;
  F.Game.Seed(1);
  F.Game.StartRoll();
  QCOMPARE(F.Game.Dice(), (TThrow{4, 2, 2, 0, 4}));
  QCOMPARE(F.View.DieShown[3], 0);
}

void TestGame::randomBelowZero() {
  TRandomSource Source;
  Source.Seed(7);
  QCOMPARE(Source.RandomBelow(0), 0);
  QCOMPARE(Source.GetState(), std::uint64_t{7});  // no draw made
}

void TestGame::newGameShowsAnEmptyCard() {
  TFixture F;
  F.Enter("2-2-2-3-4", 1, erTwos);
  F.Enter("1-2-3-4-6", 0, erFullHouse);
  QCOMPARE(F.View.Grand, QStringLiteral("12"));
  QVERIFY(F.View.UndoEnabled);
  F.RollFaces("6-6-6-6-6");
  QVERIFY(!F.View.Captions[erSmallStraight]);

  F.Game.NewGame();
  CheckTurnStart(F);
  QCOMPARE(F.View.Grand, QStringLiteral("0"));
  QVERIFY(F.View.Box[1][erTwos].isEmpty());
  QVERIFY(F.View.Upper[1][2].isEmpty());
  QVERIFY(F.View.Lower[0][0].isEmpty());
  QVERIFY(!F.View.UndoEnabled);
  for (bool Enabled : F.View.Captions) QVERIFY(Enabled);
  QCOMPARE(F.Game.Card().FilledCount, 0);
  QVERIFY(!F.Game.Card().IsFilled(1, erTwos));
}

void TestGame::threeRollsThenRollIsDisabled() {
  TFixture F;
  F.Game.Seed(99);
  for (int Roll = 1; Roll <= 3; ++Roll) {
    F.Game.StartRoll();
    QCOMPARE(F.Game.RollCount(), Roll);
    QVERIFY(F.View.DiceEnabled);
    QCOMPARE(F.View.RollEnabled, Roll < 3);
  }
  const TThrow Before = F.Game.Dice();
  F.Game.StartRoll();
  QCOMPARE(F.Game.RollCount(), 3);
  QCOMPARE(F.Game.Dice(), Before);
}

void TestGame::heldDiceKeepTheirFacesAndTheRollCounts() {
  TFixture F;
  F.RollFaces("3-1-4-1-5");
  F.Game.Seed(5);
  for (bool &H : F.View.Held) H = true;
  F.Game.StartRoll();
  QCOMPARE(F.Game.RollCount(), 2);
  QCOMPARE(F.Game.Dice(), Faces("3-1-4-1-5"));

  // One die free: only it changes.
  F.View.Held[2] = false;
  F.Game.Seed(SeedFor(Faces("6-6-6-6-6")));
  F.Game.StartRoll();
  QCOMPARE(F.Game.RollCount(), 3);
  QCOMPARE(F.Game.Dice(), Faces("3-1-6-1-5"));
  QVERIFY(!F.View.RollEnabled);
}

void TestGame::entryIgnoredBeforeFirstRollAndOnFilledBox() {
  TFixture F;
  F.Game.EnterThrow(0, erOnes);
  QCOMPARE(F.Game.Card().FilledCount, 0);
  QVERIFY(F.View.Box[0][erOnes].isEmpty());

  F.Enter("1-1-2-3-4", 0, erOnes);
  F.RollFaces("1-1-1-1-1");
  F.Game.EnterThrow(0, erOnes);
  QCOMPARE(F.Game.Card().FilledCount, 1);
  QCOMPARE(F.View.Box[0][erOnes], QStringLiteral("2"));
  QCOMPARE(F.Game.RollCount(), 1);  // still the same turn
  F.Game.EnterThrow(3, erOnes);     // outside the card
  F.Game.EnterThrow(0, EntryRows);
  QCOMPARE(F.Game.Card().FilledCount, 1);
}

void TestGame::entryStartsTheNextTurnAndKeepsTheThrow() {
  TFixture F;
  const int Forgotten = F.View.PreviewsForgotten;
  F.Enter("4-4-4-1-2", 2, erFours);
  CheckTurnStart(F);
  QCOMPARE(F.Game.Dice(), Faces("4-4-4-1-2"));  // kept for undo
  QVERIFY(F.View.UndoEnabled);
  QVERIFY(F.View.PreviewsForgotten > Forgotten);
  QCOMPARE(F.Game.SavedRollCount(), 1);
  QCOMPARE(F.Game.LastCol(), 2);
  QCOMPARE(F.Game.LastRow(), int(erFours));
  // Upper entry in the third column: total 12, no bonus, upper total 12;
  // the lower total stays empty; combined 12, weighted 36.
  QCOMPARE(F.View.Upper[2][0], QStringLiteral("12"));
  QCOMPARE(F.View.Upper[2][1], QString());
  QCOMPARE(F.View.Upper[2][2], QStringLiteral("12"));
  QCOMPARE(F.View.Lower[2][0], QString());
  QCOMPARE(F.View.Lower[2][2], QStringLiteral("12"));
  QCOMPARE(F.View.Lower[2][3], QStringLiteral("36"));
  QCOMPARE(F.View.Grand, QStringLiteral("36"));
}

void TestGame::undoAfterFirstRollRestoresTheTurn() {
  TFixture F;
  F.Enter("2-3-4-5-6", 0, erLargeStraight);
  QCOMPARE(F.View.Grand, QStringLiteral("40"));
  F.View.Held[1] = true;  // pressed after the entry: undo releases it
  F.Game.UndoLastEntry();

  QCOMPARE(F.Game.RollCount(), 1);
  QVERIFY(F.View.RollEnabled);
  QVERIFY(F.View.DiceEnabled);
  QVERIFY(!F.View.UndoEnabled);
  QVERIFY(!F.View.Held[1]);
  for (int I = 0; I < DiceCount; ++I) QCOMPARE(F.View.DieShown[I], F.Game.Dice()[I]);
  QVERIFY(F.View.Box[0][erLargeStraight].isEmpty());
  QCOMPARE(F.View.Lower[0][0], QStringLiteral("0"));
  QCOMPARE(F.View.Grand, QStringLiteral("0"));
  QCOMPARE(F.Game.Card().FilledCount, 0);
  QVERIFY(!F.Game.Card().IsFilled(0, erLargeStraight));

  // Two more rolls are left, and the throw can go elsewhere.
  F.Game.StartRoll();
  F.Game.StartRoll();
  QCOMPARE(F.Game.RollCount(), 3);
  F.Game.EnterThrow(1, erChance);
  QCOMPARE(F.Game.Card().FilledCount, 1);
}

void TestGame::undoAfterThirdRollLeavesRollDisabled() {
  TFixture F;
  F.Game.Seed(3);
  F.Game.StartRoll();
  F.Game.StartRoll();
  F.Game.StartRoll();
  const TThrow Throw = F.Game.Dice();
  F.Game.EnterThrow(1, erChance);
  F.Game.UndoLastEntry();
  QCOMPARE(F.Game.RollCount(), 3);
  QVERIFY(!F.View.RollEnabled);
  F.Game.StartRoll();
  QCOMPARE(F.Game.Dice(), Throw);
  F.Game.EnterThrow(2, erChance);
  QVERIFY(F.Game.Card().IsFilled(2, erChance));
}

void TestGame::undoRefusedAfterTheNextRoll() {
  TFixture F;
  F.Enter("1-2-3-4-5", 0, erChance);
  F.RollFaces("6-6-5-5-4");
  QVERIFY(!F.View.UndoEnabled);
  F.Game.UndoLastEntry();
  QVERIFY(F.Game.Card().IsFilled(0, erChance));
  QCOMPARE(F.Game.RollCount(), 1);

  // Undo twice in a row takes back one entry only.
  F.Game.EnterThrow(0, erTwos);
  F.Game.UndoLastEntry();
  F.Game.UndoLastEntry();
  QVERIFY(!F.Game.Card().IsFilled(0, erTwos));
  QVERIFY(F.Game.Card().IsFilled(0, erChance));
  QCOMPARE(F.Game.Card().FilledCount, 1);
}

void TestGame::undoOfTheFourthQuintorTakesItsBonusBack() {
  TFixture F;
  F.Enter("3-3-3-3-3", 0, erQuintor);
  F.Enter("2-2-2-2-2", 1, erQuintor);
  F.Enter("6-6-6-6-6", 2, erSixes);  // counts although not in Quintor
  QCOMPARE(F.Game.Card().QuintorCount, 3);
  QCOMPARE(F.View.Lower[0][1], QString());

  F.Enter("1-1-1-1-1", 2, erOnes);  // the fourth: column 0 gets its bonus
  QCOMPARE(F.Game.Card().QuintorCount, 4);
  QCOMPARE(F.View.Lower[0][1], QStringLiteral("100"));
  QCOMPARE(F.View.Lower[0][2], QStringLiteral("150"));
  QCOMPARE(F.View.Grand, QString::number(150 + 50 * 2 + (30 + 5) * 3));

  F.Game.UndoLastEntry();
  QCOMPARE(F.Game.Card().QuintorCount, 3);
  QVERIFY(!F.Game.Card().ColumnBonus[0]);
  QCOMPARE(F.View.Lower[0][1], QString());
  QCOMPARE(F.View.Lower[0][2], QStringLiteral("50"));
  QCOMPARE(F.View.Lower[0][3], QStringLiteral("50"));
  QCOMPARE(F.View.Grand, QString::number(50 + 50 * 2 + 30 * 3));

  // Entered again, it gives the bonus back.
  F.Game.EnterThrow(1, erChance);
  QCOMPARE(F.Game.Card().QuintorCount, 4);
  QVERIFY(F.Game.Card().ColumnBonus[0]);
  QCOMPARE(F.View.Lower[0][1], QStringLiteral("100"));
  QCOMPARE(F.View.Grand, QString::number(150 + (50 + 5) * 2 + 30 * 3));
}

void TestGame::undoOfALowerEntry() {
  TFixture F;
  F.Enter("3-3-3-2-2", 1, erFullHouse);
  F.Enter("5-5-5-1-2", 1, erThreeOfAKind);
  QCOMPARE(F.View.Lower[1][0], QStringLiteral("43"));
  F.Game.UndoLastEntry();
  QCOMPARE(F.View.Lower[1][0], QStringLiteral("25"));
  QCOMPARE(F.View.Lower[1][3], QStringLiteral("50"));
  QCOMPARE(F.View.Grand, QStringLiteral("50"));
  QVERIFY(F.View.Box[1][erThreeOfAKind].isEmpty());
  QCOMPARE(F.View.Box[1][erFullHouse], QStringLiteral("25"));
}

void TestGame::animationRunsFourSteps() {
  TFixture F;
  F.View.Animation = true;
  F.View.Held[0] = true;  // cannot hold before the first roll in the window; the rules read it anyway
  F.Game.Seed(11);
  F.Game.StartRoll();
  QVERIFY(F.View.TimerOn);
  QVERIFY(F.Game.IsRolling());
  QCOMPARE(F.View.DieShown[0], NotThrown);
  for (int Step = 1; Step <= 3; ++Step) {
    F.Game.RollStep();
    QCOMPARE(F.Game.RollCount(), 0);
    QVERIFY(F.View.TimerOn);
    QCOMPARE(F.View.DieShown[0], NotThrown);  // the held die never changes
    QVERIFY(F.View.DieShown[1] != NotThrown);
  }
  F.Game.RollStep();
  QVERIFY(!F.View.TimerOn);
  QVERIFY(!F.Game.IsRolling());
  QCOMPARE(F.Game.RollCount(), 1);
  QCOMPARE(F.View.TimerStarts, 1);
}

void TestGame::rollPressedAgainRestartsTheCount() {
  TFixture F;
  F.View.Animation = true;
  F.Game.StartRoll();
  F.Game.RollStep();
  F.Game.RollStep();
  F.Game.StartRoll();  // the count starts over at four
  QCOMPARE(F.Game.Countdown(), 4);
  for (int Step = 1; Step <= 3; ++Step) {
    F.Game.RollStep();
    QVERIFY(F.Game.IsRolling());
  }
  F.Game.RollStep();
  QVERIFY(!F.Game.IsRolling());
  QCOMPARE(F.Game.RollCount(), 1);  // completed once
}

void TestGame::untickingAnimationCompletesAtTheNextTick() {
  TFixture F;
  F.View.Animation = true;
  F.Game.StartRoll();
  F.Game.RollStep();
  F.View.Animation = false;
  F.Game.RollStep();
  QVERIFY(!F.Game.IsRolling());
  QVERIFY(!F.View.TimerOn);
  QCOMPARE(F.Game.RollCount(), 1);
}

void TestGame::commandsIgnoredWhileRolling() {
  TFixture F;
  F.Enter("1-2-3-4-5", 0, erLargeStraight);
  F.View.Animation = true;
  F.Game.StartRoll();  // the first roll of the next turn: undo would still be allowed
  F.Game.UndoLastEntry();
  F.Game.EnterThrow(1, erChance);
  F.Game.NewGame();
  QCOMPARE(F.Game.PreviewScore(1, erChance), -1);
  QCOMPARE(F.Game.Card().FilledCount, 1);
  QVERIFY(F.Game.Card().IsFilled(0, erLargeStraight));
  while (F.Game.IsRolling()) F.Game.RollStep();
  QCOMPARE(F.Game.RollCount(), 1);
  QVERIFY(!F.View.UndoEnabled);
  QVERIFY(F.Game.PreviewScore(1, erChance) > 0);
  QCOMPARE(F.Game.PreviewScore(0, erLargeStraight), -1);  // filled
}

void TestGame::wholeGame_data() {
  QTest::addColumn<int>("TenthScore");
  QTest::addColumn<QStringList>("EndCalls");
  QTest::newRow("equal to the tenth: game over") << 2193 << QStringList{"tenth", "Game Over"};
  QTest::newRow("one more than the tenth: name entry")
      << 2192 << QStringList{"tenth", "enter 2193 4", "list"};
}

void TestGame::wholeGame() {
  QFETCH(int, TenthScore);
  QFETCH(QStringList, EndCalls);
  TFixture F;
  F.View.TenthScore = TenthScore;

  // The same card in every column, but column 0 takes five 5s in Fives
  // (25 rather than 20). Upper: 4+8+12+16+20+24 = 84 (+35) = 119, or 124.
  // Lower: 27+29+25+30+40+50+28 = 229. Four fives of a kind in all, the
  // fourth in column 2, so column 0 gets the bonus of 100:
  // (124 + 229 + 100) * 1 + (119 + 229) * 2 + (119 + 229) * 3 = 2193.
  const QString Throws[EntryRows] = {"1-1-1-1-2", "2-2-2-2-1", "3-3-3-3-1", "4-4-4-4-1", "5-5-5-5-1",
                                     "6-6-6-6-1", "6-6-6-5-4", "6-6-6-6-5", "2-2-3-3-3", "1-2-3-4-6",
                                     "2-3-4-5-6", "5-5-5-5-5", "6-5-6-5-6"};
  for (int Col = 0; Col < ColumnCount; ++Col) {
    for (int Row = 0; Row < EntryRows; ++Row) {
      const QString Throw = Col == 0 && Row == erFives ? QStringLiteral("5-5-5-5-5") : Throws[Row];
      F.Enter(Throw, Col, Row);
      QCOMPARE(F.Game.Card().FilledCount, Col * EntryRows + Row + 1);
      QCOMPARE(F.View.Grand.toInt(), GrandTotal(F.Game.Card()));
    }
  }

  QCOMPARE(F.View.Grand, QStringLiteral("2193"));
  QCOMPARE(F.View.EndCalls, EndCalls);
  QCOMPARE(F.View.Lower[0][1], QStringLiteral("100"));
  QCOMPARE(F.View.Lower[1][1], QString());
  QCOMPARE(F.View.Upper[0][2], QStringLiteral("124"));
  QCOMPARE(F.View.Lower[2][0], QStringLiteral("229"));
  QCOMPARE(F.View.Lower[2][3], QString::number(348 * 3));
  QCOMPARE(F.Game.RollCount(), int(TGame::GameEndedRollCount));
  QVERIFY(!F.View.RollEnabled);
  QVERIFY(!F.View.UndoEnabled);
  // The dice keep showing the last throw.
  QCOMPARE(F.View.DieShown[0], 5);

  // Nothing more can be done but a new game.
  F.Game.StartRoll();
  F.Game.UndoLastEntry();
  QCOMPARE(F.Game.Card().FilledCount, BoxCount);
  QCOMPARE(F.View.EndCalls, EndCalls);
  F.Game.NewGame();
  CheckTurnStart(F);
  QCOMPARE(F.View.Grand, QStringLiteral("0"));
}

QTEST_APPLESS_MAIN(TestGame)
#include "tst_game.moc"
