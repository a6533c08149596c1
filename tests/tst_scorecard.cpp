// The score card's arithmetic: which categories a throw satisfies, what it
// scores in each box, the upper bonus threshold and the five-of-a-kind
// bonus sequence; and the keyboard cursor's moves among its open boxes.

#include <QtTest>

#include "CardCursor.h"
#include "RecordingView.h"
#include "ScoreCard.h"
#include "TestSupport.h"

using namespace quintor;

namespace {

const char *const CategoryNames[EntryRows] = {"1",  "2",  "3",  "4",  "5", "6", "3K",
                                              "4K", "FH", "SS", "LS", "Q", "C"};

}  // namespace

class TestScoreCard : public QObject {
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
    QCOMPARE(Names.join(QLatin1Char(' ')), Satisfied);
    QCOMPARE(Scored.join(QLatin1Char(' ')), Scores);
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
    QCOMPARE(BoxScore(erQuintor, Quintor, Flags), 0);
    QCOMPARE(BoxScore(erSixes, Quintor, Flags), 30);  // an upper box counts the dice whatever its flag
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
        QCOMPARE(Card.ColumnBonus[Col], Bonus);
        QCOMPARE(View.Lower[Col][1], Bonus ? QStringLiteral("100") : QString());
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
};

QTEST_APPLESS_MAIN(TestScoreCard)
#include "tst_scorecard.moc"
