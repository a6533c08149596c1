// The score card's arithmetic: which categories a throw satisfies, what each
// box scores, the upper bonus threshold, the five-of-a-kind bonus sequence
// and the weighted totals.

#include <QtTest>

#include "RecordingView.h"
#include "ScoreCard.h"

using namespace quintor;

namespace {

const char *const CategoryNames[EntryRows] = {"1",  "2",  "3",  "4",  "5", "6", "3K",
                                              "4K", "FH", "SS", "LS", "Q", "C"};

QString Satisfied(const TCategoryFlags &Flags) {
  QStringList Names;
  for (int Row = 0; Row < EntryRows; ++Row)
    if (Flags[Row]) Names << QLatin1String(CategoryNames[Row]);
  return Names.join(QLatin1Char(' '));
}

void FillRowEverywhere(TScoreCard &Card, int EntryRow) {
  for (int Col = 0; Col < ColumnCount; ++Col) Card.SetFilled(Col, EntryRow, true);
}

}  // namespace

class TestScoreCard : public QObject {
  Q_OBJECT

 private slots:
  void flags_data();
  void flags();
  void boxScores_data();
  void boxScores();
  void exhaustedCategory();
  void upperBonusThreshold_data();
  void upperBonusThreshold();
  void quintorBonusSequence();
  void weightedTotals();
};

void TestScoreCard::flags_data() {
  QTest::addColumn<QString>("Throw");
  QTest::addColumn<QString>("Expected");
  QTest::newRow("five 1s: full house, no straight") << "1-1-1-1-1" << "1 3K 4K FH Q C";
  QTest::newRow("1-2-3-4-6 small only") << "1-2-3-4-6" << "1 2 3 4 6 SS C";
  QTest::newRow("1-3-4-5-6 small only") << "1-3-4-5-6" << "1 3 4 5 6 SS C";
  QTest::newRow("1-2-4-5-6 no straight") << "1-2-4-5-6" << "1 2 4 5 6 C";
  QTest::newRow("2-3-4-5-5 small with a pair") << "2-3-4-5-5" << "2 3 4 5 SS C";
  QTest::newRow("1-1-2-3-4 small low") << "1-1-2-3-4" << "1 2 3 4 SS C";
  QTest::newRow("1-2-2-4-5 gap inside") << "1-2-2-4-5" << "1 2 4 5 C";
  QTest::newRow("1-2-3-4-5 both straights") << "1-2-3-4-5" << "1 2 3 4 5 SS LS C";
  QTest::newRow("2-3-4-5-6 both straights") << "5-3-6-2-4" << "2 3 4 5 6 SS LS C";
  QTest::newRow("3-3-3-2-2 full house") << "3-3-3-2-2" << "2 3 3K FH C";
  QTest::newRow("4-4-4-4-2 not a full house") << "4-4-4-4-2" << "2 4 3K 4K C";
  QTest::newRow("2-2-5-5-6 two pairs") << "2-2-5-5-6" << "2 5 6 C";
}

void TestScoreCard::flags() {
  QFETCH(QString, Throw);
  QFETCH(QString, Expected);
  QCOMPARE(Satisfied(EvaluateThrow(Faces(Throw), TScoreCard{})), Expected);
}

void TestScoreCard::boxScores_data() {
  QTest::addColumn<QString>("Throw");
  QTest::addColumn<int>("EntryRow");
  QTest::addColumn<int>("Score");
  QTest::newRow("five 1s in Ones") << "1-1-1-1-1" << int(erOnes) << 5;
  QTest::newRow("five 1s in Full house") << "1-1-1-1-1" << int(erFullHouse) << 25;
  QTest::newRow("five 1s in Quintor") << "1-1-1-1-1" << int(erQuintor) << 50;
  QTest::newRow("no six in Sixes") << "1-2-3-4-5" << int(erSixes) << 0;
  QTest::newRow("Small straight") << "1-2-3-4-6" << int(erSmallStraight) << 30;
  QTest::newRow("Large straight not met") << "1-2-3-4-6" << int(erLargeStraight) << 0;
  QTest::newRow("Full house not met") << "4-4-4-4-2" << int(erFullHouse) << 0;
  QTest::newRow("Four of a kind sums all") << "4-4-4-4-2" << int(erFourOfAKind) << 18;
  QTest::newRow("Chance always sums") << "2-2-5-5-6" << int(erChance) << 20;
}

void TestScoreCard::boxScores() {
  QFETCH(QString, Throw);
  QFETCH(int, EntryRow);
  QFETCH(int, Score);
  const TThrow Dice = Faces(Throw);
  QCOMPARE(BoxScore(EntryRow, Dice, EvaluateThrow(Dice, TScoreCard{})), Score);
}

void TestScoreCard::exhaustedCategory() {
  TScoreCard Card;
  const TThrow Quintor = Faces("6-6-6-6-6");
  Card.SetFilled(0, erQuintor, true);
  Card.SetFilled(1, erQuintor, true);
  QVERIFY(EvaluateThrow(Quintor, Card)[erQuintor]);  // one box still open

  FillRowEverywhere(Card, erQuintor);
  FillRowEverywhere(Card, erSixes);
  FillRowEverywhere(Card, erChance);
  const TCategoryFlags Flags = EvaluateThrow(Quintor, Card);
  QVERIFY(!Flags[erQuintor]);
  QVERIFY(!Flags[erSixes]);
  QVERIFY(!Flags[erChance]);
  QVERIFY(Flags[erFullHouse]);
  QCOMPARE(BoxScore(erQuintor, Quintor, Flags), 0);
  // An upper box counts the dice whatever its flag says.
  QCOMPARE(BoxScore(erSixes, Quintor, Flags), 30);
}

void TestScoreCard::upperBonusThreshold_data() {
  QTest::addColumn<int>("Sum");
  QTest::addColumn<int>("UpperTotal");
  QTest::addColumn<QString>("BonusCell");
  QTest::newRow("62 earns nothing") << 62 << 62 << "";
  QTest::newRow("63 earns 35") << 63 << 98 << "35";
}

void TestScoreCard::upperBonusThreshold() {
  QFETCH(int, Sum);
  QFETCH(int, UpperTotal);
  QFETCH(QString, BonusCell);
  TScoreCard Card;
  TRecordingView View;
  Card.TopScore[1][5] = 30;
  Card.TopScore[1][4] = Sum - 30;
  const int Grand = UpdateUpperTotals(Card, 1, Faces("1-2-3-4-6"), &View);
  QCOMPARE(Card.UpperTotal[1], UpperTotal);
  QCOMPARE(Grand, UpperTotal * 2);
  QCOMPARE(View.Upper[1][0], QString::number(Sum));
  QCOMPARE(View.Upper[1][1], BonusCell);
  QCOMPARE(View.Upper[1][2], QString::number(UpperTotal));
  QCOMPARE(View.Lower[1][0], QString());  // no lower entry yet in that column
  QCOMPARE(View.Lower[1][2], QString::number(UpperTotal));
  QCOMPARE(View.Lower[1][3], QString::number(UpperTotal * 2));
}

void TestScoreCard::quintorBonusSequence() {
  // Each call counts one five of a kind; the fourth to sixth give columns
  // 0, 1 and 2 their bonus, whatever the column of the entry; the seventh
  // gives nothing more.
  TScoreCard Card;
  TRecordingView View;
  const TThrow Fives = Faces("5-5-5-5-5");
  const bool Expected[8][ColumnCount] = {{}, {}, {}, {},                {true, false, false},
                                         {true, true, false},           {true, true, true},
                                         {true, true, true}};
  for (int N = 1; N <= 7; ++N) {
    UpdateCombinedTotals(Card, 2, Fives, &View);
    QCOMPARE(Card.QuintorCount, N);
    QVERIFY(Card.LastWasQuintor);
    for (int Col = 0; Col < ColumnCount; ++Col) {
      QCOMPARE(Card.ColumnBonus[Col], Expected[N][Col]);
      QCOMPARE(View.Lower[Col][1], Expected[N][Col] ? QStringLiteral("100") : QString());
    }
  }
  QCOMPARE(GrandTotal(Card), 100 * 1 + 100 * 2 + 100 * 3);
}

void TestScoreCard::weightedTotals() {
  TScoreCard Card;
  Card.UpperTotal[2] = 120;
  Card.LowerTotal[2] = 80;
  Card.ColumnBonus[2] = true;
  QCOMPARE(CombinedTotal(Card, 2), 300);
  QCOMPARE(WeightedTotal(Card, 2), 900);

  TScoreCard Upper;
  TRecordingView View;
  const TThrow Dice = Faces("6-6-6-6-5");
  Upper.TopScore[0][5] = 63;
  QCOMPARE(UpdateUpperTotals(Upper, 0, Dice, &View), 98);
  QCOMPARE(View.Grand, QStringLiteral("98"));
  QCOMPARE(UpdateLowerTotals(Upper, 1, Dice, nullptr), 98);  // an empty column adds nothing
}

QTEST_APPLESS_MAIN(TestScoreCard)
#include "tst_scorecard.moc"
