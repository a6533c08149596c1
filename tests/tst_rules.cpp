// The rules in plain C++, watched through a recording view. The score
// card's arithmetic: which categories a throw satisfies, what it scores in
// each box, the upper bonus threshold and the five-of-a-kind bonus sequence;
// the keyboard cursor's moves among its open boxes. The turn and the game
// through TGame's public operations: roll counting, holding, undo and its
// five-of-a-kind correction, the roll animation and the commands it shuts
// out, a whole game of 39 entries and its hand-over to the top ten.

#include "CardCursor.h"
#include "Game.h"
#include "RecordingView.h"
#include "ScoreCard.h"
#include "TestSupport.h"

using namespace quintor;

namespace {

const char *const CategoryNames[EntryRows] = {"1",  "2",  "3",  "4",  "5", "6", "3K",
                                              "4K", "FH", "SS", "LS", "Q", "C"};

struct TFixture {
  TRecordingView View;
  TGame Game{View, &View};
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
  // Four fives of a kind, the third and fourth not in Quintor: the fourth,
  // in column 2, gives column 0 its bonus.
  void FourQuintors() {
    Enter("3-3-3-3-3", 0, erQuintor);
    Enter("2-2-2-2-2", 1, erQuintor);
    Enter("6-6-6-6-6", 2, erSixes);
    Enter("1-1-1-1-1", 2, erOnes);
  }
};

}  // namespace

class TestRules : public QObject {
  Q_OBJECT

 private slots:
  void flagsAndScores_data() {
    // Columns: Throw, Satisfied, Scores (the box scores in entry-row order).
    TTable<QString, QString, QString>::Add();
    QTest::newRow("five 1s: full house, no straight")
        << "1-1-1-1-1" << "1 3K 4K FH Q C" << "5 0 0 0 0 0 5 5 25 0 0 50 5";
    QTest::newRow("1-2-3-4-6 small only") << "1-2-3-4-6" << "1 2 3 4 6 SS C" << "1 2 3 4 0 6 0 0 0 30 0 0 16";
    QTest::newRow("1-3-4-5-6 small only") << "1-3-4-5-6" << "1 3 4 5 6 SS C" << "1 0 3 4 5 6 0 0 0 30 0 0 19";
    QTest::newRow("1-2-4-5-6 no straight") << "1-2-4-5-6" << "1 2 4 5 6 C" << "1 2 0 4 5 6 0 0 0 0 0 0 18";
    QTest::newRow("2-3-4-5-5 small with a pair") << "2-3-4-5-5" << "2 3 4 5 SS C" << "0 2 3 4 10 0 0 0 0 30 0 0 19";
    QTest::newRow("1-1-2-3-4 small low") << "1-1-2-3-4" << "1 2 3 4 SS C" << "2 2 3 4 0 0 0 0 0 30 0 0 11";
    QTest::newRow("1-2-2-4-5 gap inside") << "1-2-2-4-5" << "1 2 4 5 C" << "1 4 0 4 5 0 0 0 0 0 0 0 14";
    QTest::newRow("1-2-3-4-5 both straights") << "1-2-3-4-5" << "1 2 3 4 5 SS LS C" << "1 2 3 4 5 0 0 0 0 30 40 0 15";
    QTest::newRow("2-3-4-5-6 both straights") << "5-3-6-2-4" << "2 3 4 5 6 SS LS C" << "0 2 3 4 5 6 0 0 0 30 40 0 20";
    QTest::newRow("3-3-3-2-2 full house") << "3-3-3-2-2" << "2 3 3K FH C" << "0 4 9 0 0 0 13 0 25 0 0 0 13";
    QTest::newRow("4-4-4-4-2 no full house") << "4-4-4-4-2" << "2 4 3K 4K C" << "0 2 0 16 0 0 18 18 0 0 0 0 18";
    QTest::newRow("2-2-5-5-6 two pairs") << "2-2-5-5-6" << "2 5 6 C" << "0 4 0 0 10 6 0 0 0 0 0 0 20";
  }

  void flagsAndScores() {
    const auto [Throw, Satisfied, Scores] = TTable<QString, QString, QString>::Row();
    const TThrow Dice = Faces(Throw);
    const TCategoryFlags Flags = EvaluateThrow(Dice, TScoreCard{});
    QStringList Names, Scored;
    for (int Row = 0; Row < EntryRows; ++Row) {
      if (Flags[Row]) Names << QLatin1String(CategoryNames[Row]);
      Scored << QString::number(BoxScore(Row, Dice, Flags));
    }
    QCOMPARE(std::pair(Names.join(QLatin1Char(' ')), Scored.join(QLatin1Char(' '))), std::pair(Satisfied, Scores));
  }

  void exhaustedCategory() {
    TScoreCard Card;
    const TThrow Quintor = Faces("6-6-6-6-6");
    Card.SetFilled(0, erQuintor, true);
    Card.SetFilled(1, erQuintor, true);
    QVERIFY(EvaluateThrow(Quintor, Card)[erQuintor]);  // one box still open

    for (int Row : {erQuintor, erSixes, erChance})
      for (int Col = 0; Col < ColumnCount; ++Col) Card.SetFilled(Col, Row, true);
    const TCategoryFlags Flags = EvaluateThrow(Quintor, Card);
    QVERIFY(!Flags[erQuintor] && !Flags[erSixes] && !Flags[erChance] && Flags[erFullHouse]);
    // An upper box counts the dice whatever its flag.
    QCOMPARE(std::pair(BoxScore(erQuintor, Quintor, Flags), BoxScore(erSixes, Quintor, Flags)), std::pair(0, 30));
  }

  void upperBonusThreshold_data() {
    // Columns: Sum, Totals (no lower entry yet in that column).
    TTable<int, QString>::Add();
    QTest::newRow("62 earns nothing") << 62 << "62||62|||62|124";
    QTest::newRow("63 earns 35") << 63 << "63|35|98|||98|196";
  }

  void upperBonusThreshold() {
    const auto [Sum, Totals] = TTable<int, QString>::Row();
    TScoreCard Card;
    TRecordingView View;
    Card.TopScore[1][5] = 30;
    Card.TopScore[1][4] = Sum - 30;
    QCOMPARE(UpdateUpperTotals(Card, 1, Faces("1-2-3-4-6"), &View), Totals.section(u'|', -1).toInt());
    const QString *Upper = View.Upper[1], *Lower = View.Lower[1];
    QCOMPARE(QStringList({Upper[0], Upper[1], Upper[2], Lower[0], Lower[1], Lower[2], Lower[3]}).join(u'|'), Totals);
  }

  void quintorBonusSequence() {
    // Each call counts one five of a kind; the fourth to sixth give columns
    // 0, 1 and 2 their bonus, whatever the column of the entry; the seventh
    // gives nothing more.
    TScoreCard Card;
    TRecordingView View;
    for (int N = 1; N <= 7; ++N) {
      UpdateCombinedTotals(Card, 2, Faces("5-5-5-5-5"), &View);
      QCOMPARE(Card.QuintorCount, N);
      for (int Col = 0; Col < ColumnCount; ++Col) {
        const bool Bonus = N >= 4 + Col;
        QCOMPARE(std::pair(Card.ColumnBonus[Col], View.Lower[Col][1]), std::pair(Bonus, QString(Bonus ? "100" : "")));
      }
    }
    QCOMPARE(GrandTotal(Card), 100 * 1 + 100 * 2 + 100 * 3);
  }

  void cursorMoves_data() {
    // Columns: Moves (L R U D H E, then S: settle after filling the cursor's box), Expected (column, entry
    // row; or "full").
    TTable<QString, QString>::Add();
    // Filled before: (1, Ones), the whole Twos row, (0, Threes), (2, Chance).
    QTest::newRow("right skips a filled box and a filled row") << "RR" << "1,2";
    QTest::newRow("left skips back") << "RRL" << "2,0";
    QTest::newRow("down skips a filled row, to the nearest column") << "D" << "1,2";
    QTest::newRow("up comes back over it") << "RDU" << "2,0";
    QTest::newRow("of two nearest, the left one") << "RRU" << "0,0";
    QTest::newRow("home is the first open box, end the last") << "EH" << "0,0";
    QTest::newRow("end") << "E" << "1,12";
    QTest::newRow("home skips a filled first box") << "SEH" << "2,0";
    QTest::newRow("left at the start stays") << "L" << "0,0";
    QTest::newRow("up at the top stays") << "U" << "0,0";
    QTest::newRow("from the upper rows to the lower") << "DDDDD" << "1,6";
    QTest::newRow("settles on the next open box") << "RS" << "1,2";
    QTest::newRow("settles back at the last box") << "ES" << "0,12";
    QTest::newRow("settles nowhere on a full card") << "F" << "full";
  }

  void cursorMoves() {
    const auto [Moves, Expected] = TTable<QString, QString>::Row();
    TScoreCard Card;
    for (const auto &[Col, Row] : {std::pair{1, erOnes}, {0, erTwos}, {1, erTwos}, {2, erTwos}, {0, erThrees},
                                   {2, erChance}})
      Card.SetFilled(Col, Row, true);
    TCardCursor Cursor;
    bool Settled = true;
    for (const QChar Move : Moves) {
      if (Move == u'S' || Move == u'F') {
        for (int Box = 0; Box < BoxCount; ++Box)
          if (Move == u'F' || Box == Cursor.Row() * ColumnCount + Cursor.Col())
            Card.SetFilled(Box % ColumnCount, Box / ColumnCount, true);
        Settled = Cursor.Settle(Card);
        continue;
      }
      const int Where = QStringLiteral("LRUDHE").indexOf(Move);
      const int Before = Cursor.Row() * ColumnCount + Cursor.Col();
      const bool Moved = Cursor.Move(TCardCursor::TMove(Where), Card);
      QCOMPARE(Moved, Before != Cursor.Row() * ColumnCount + Cursor.Col());
    }
    QCOMPARE(Settled ? QStringLiteral("%1,%2").arg(Cursor.Col()).arg(Cursor.Row()) : QStringLiteral("full"), Expected);
  }

  void rollCountingAndHolding() {
    TFixture F;
    F.Game.Seed(1);
    F.Game.StartRoll();
    QCOMPARE(F.Game.Dice(), (TThrow{4, 2, 2, 0, 4}));  // the random source from seed 1

    F.Game.NewGame();
    F.RollFaces("3-1-4-1-5");
    for (bool &H : F.View.Held) H = true;
    F.Game.StartRoll();  // all held: the throw stays, the roll counts
    QCOMPARE(std::pair(F.Game.RollCount(), F.Game.Dice()), std::pair(2, Faces("3-1-4-1-5")));
    F.View.Held[2] = false;
    F.Game.Seed(SeedFor(Faces("6-6-6-6-6")));
    F.Game.StartRoll();
    QCOMPARE(std::pair(F.Game.Dice(), F.View.RollEnabled), std::pair(Faces("3-1-6-1-5"), false));
    F.View.Held[0] = false;
    F.Game.StartRoll();  // a fourth roll does nothing
    QCOMPARE(std::pair(F.Game.RollCount(), F.Game.Dice()), std::pair(3, Faces("3-1-6-1-5")));
  }

  void undoRestoresTheTurn_data() {
    QTest::addColumn<int>("Rolls");
    QTest::newRow("after the first roll: two rolls left") << 1;
    QTest::newRow("after the third roll: Roll stays disabled") << 3;
  }
  void undoRestoresTheTurn() {
    QFETCH(int, Rolls);
    TFixture F;
    F.Game.Seed(3);
    for (int Roll = 0; Roll < Rolls; ++Roll) F.Game.StartRoll();
    const TThrow Throw = F.Game.Dice();
    F.Game.EnterThrow(0, erChance);
    QVERIFY(F.View.UndoEnabled);
    F.View.Held[1] = true;  // pressed after the entry: undo releases it
    F.Game.UndoLastEntry();
    F.Game.UndoLastEntry();  // one entry only
    QCOMPARE(std::pair(F.Game.RollCount(), F.View.RollEnabled), std::pair(Rolls, Rolls < 3));
    QVERIFY(!F.View.UndoEnabled && F.View.DiceEnabled && !F.View.Held[1]);
    for (int I = 0; I < DiceCount; ++I) QCOMPARE(F.View.DieShown[I], Throw[I]);
    QVERIFY(F.View.Box[0][erChance].isEmpty());

    // The same throw goes into another box; once the next roll has completed
    // that entry can no longer be undone.
    F.Game.EnterThrow(2, erChance);
    QVERIFY(F.Game.Card().IsFilled(2, erChance) && !F.Game.Card().IsFilled(0, erChance));
    F.Game.StartRoll();
    F.Game.UndoLastEntry();
    QVERIFY(F.Game.Card().IsFilled(2, erChance));
  }

  // Undoing the fourth five of a kind takes column 0's bonus back, and
  // entered again elsewhere it gives the bonus back; the undo of a plain
  // entry that follows it keeps the bonus.
  void undoAndTheQuintorBonus_data() {
    QTest::addColumn<int>("PlainRow");  // -1: undo the fourth five of a kind itself
    QTest::newRow("the fourth five of a kind") << -1;
    QTest::newRow("a plain upper box after it") << int(erTwos);
    QTest::newRow("a plain lower box after it") << int(erChance);
  }
  void undoAndTheQuintorBonus() {
    QFETCH(int, PlainRow);
    TFixture F;
    F.FourQuintors();
    const QString Grand = F.View.Grand;
    if (PlainRow >= 0) {
      F.Enter("1-2-2-4-6", 0, PlainRow);
      F.Game.UndoLastEntry();
      QCOMPARE(F.View.Lower[0][1] + F.View.Grand, QStringLiteral("100") + Grand);
      return;
    }
    F.Game.UndoLastEntry();
    QCOMPARE(F.Game.Card().QuintorCount, 3);
    QCOMPARE(F.View.Lower[0][1] + u'|' + F.View.Lower[0][3] + u'|' + F.View.Grand,
             QStringLiteral("|50|%1").arg(50 + 50 * 2 + 30 * 3));
    F.Game.EnterThrow(1, erChance);
    QCOMPARE(F.Game.Card().QuintorCount, 4);
    QCOMPARE(F.View.Lower[0][1] + u'|' + F.View.Grand, QStringLiteral("100|%1").arg(150 + (50 + 5) * 2 + 30 * 3));
  }

  // While a roll tumbles an entry, an undo and a new game are ignored: in
  // the turn's first roll (when undo would still be allowed) and in its
  // second or third (when the throw before could have been entered). Roll
  // pressed again starts the tumbling over; the roll completes once.
  void commandsIgnoredWhileRolling_data() {
    QTest::addColumn<int>("RollsBefore");
    QTest::newRow("first roll, after an entry") << 0;
    QTest::newRow("second roll") << 1;
    QTest::newRow("third roll") << 2;
  }
  void commandsIgnoredWhileRolling() {
    QFETCH(int, RollsBefore);
    TFixture F;
    if (RollsBefore == 0) F.Enter("1-2-3-4-5", 0, erLargeStraight);
    for (int Roll = 0; Roll < RollsBefore; ++Roll) F.Game.StartRoll();
    const int Filled = F.Game.Card().FilledCount;
    F.View.Animation = true;
    F.Game.StartRoll();
    F.Game.RollStep();
    F.Game.UndoLastEntry();
    F.Game.EnterThrow(1, erChance);
    F.Game.NewGame();
    QCOMPARE(std::pair(F.Game.PreviewScore(1, erChance), F.Game.Card().FilledCount), std::pair(-1, Filled));
    F.Game.StartRoll();  // pressed again: the count starts over
    for (int Step = 1; Step < TGame::AnimationSteps; ++Step) F.Game.RollStep();
    QVERIFY(F.Game.IsRolling());
    F.View.Animation = false;  // unticked mid-roll: completes at the next tick
    F.Game.RollStep();
    QCOMPARE(F.Game.RollCount(), RollsBefore + 1);
    QVERIFY(!F.Game.IsRolling() && !F.View.TimerOn && F.View.TimerStarts == 2 && !F.View.UndoEnabled &&
            F.Game.PreviewScore(1, erChance) > 0);
  }

  // A top-ten file whose scores cannot be read makes the hand-over raise an
  // error; the game is over all the same.
  void wholeGame_data() {
    // Columns: TenthScore, Raises, EndCalls.
    TTable<int, QString, QStringList>::Add();
    QTest::newRow("equal to the tenth: game over") << 2193 << "no error" << QStringList{"tenth", "Game Over"};
    QTest::newRow("one more than the tenth: name entry")
        << 2192 << "no error" << QStringList{"tenth", "enter 2193 4", "list"};
    QTest::newRow("no top ten plugged in: the game just ends") << -1 << "no error" << QStringList{};
    QTest::newRow("the hand-over fails") << 2192 << "'x' is not a valid integer value" << QStringList{"tenth"};
  }
  void wholeGame() {
    const auto [TenthScore, Raises, EndCalls] = TTable<int, QString, QStringList>::Row();
    TFixture F;
    F.View.TenthScore = TenthScore;
    if (Raises != "no error") F.View.EntryError = Raises;
    if (TenthScore < 0) F.Game.SetEnd(nullptr);

    // The same card in every column, but column 0 takes five 5s in Fives
    // (25 rather than 20). Upper: 4+8+12+16+20+24 = 84 (+35) = 119, or 124.
    // Lower: 27+29+25+30+40+50+28 = 229. Four fives of a kind in all, the
    // fourth in column 2, so column 0 gets the bonus of 100:
    // (124 + 229 + 100) * 1 + (119 + 229) * 2 + (119 + 229) * 3 = 2193.
    const QString Throws[EntryRows] = {"1-1-1-1-2", "2-2-2-2-1", "3-3-3-3-1", "4-4-4-4-1", "5-5-5-5-1",
                                       "6-6-6-6-1", "6-6-6-5-4", "6-6-6-6-5", "2-2-3-3-3", "1-2-3-4-6",
                                       "2-3-4-5-6", "5-5-5-5-5", "6-5-6-5-6"};
    QString Raised;  // by the last entry, which ends the game
    for (int Col = 0; Col < ColumnCount; ++Col)
      for (int Row = 0; Row < EntryRows; ++Row) {
        const QString Throw = Col == 0 && Row == erFives ? QStringLiteral("5-5-5-5-5") : Throws[Row];
        Raised = ErrorOf([&] { F.Enter(Throw, Col, Row); });
      }

    QCOMPARE(std::tuple(Raised, F.View.Grand, F.View.EndCalls), std::tuple(Raises, QString("2193"), EndCalls));
    // The dice keep showing the last throw.
    QCOMPARE(std::tuple(F.Game.RollCount(), F.View.RollEnabled, F.View.UndoEnabled, F.View.DieShown[0]),
             std::tuple(int(TGame::GameEndedRollCount), false, false, 5));

    // Nothing more can be done but a new game.
    F.Game.StartRoll();
    F.Game.UndoLastEntry();
    QCOMPARE(std::pair(F.Game.Card().FilledCount, F.View.EndCalls), std::pair(int(BoxCount), EndCalls));
  }
};

QTEST_APPLESS_MAIN(TestRules)
#include "tst_rules.moc"
