#include "ScoreCard.h"

#include "GameView.h"

namespace quintor {

namespace {

int SumOfFaces(const TThrow &Throw) {
  int Sum = 0;
  for (int Value : Throw) Sum += Value + 1;
  return Sum;
}

bool IsFiveOfAKind(const TThrow &Throw) {
  for (int Value : Throw)
    if (Value != Throw[0]) return false;
  return true;
}

}  // namespace

bool TScoreCard::IsFilled(int Col, int EntryRow) const {
  return EntryRow < UpperRows ? TopFilled[Col][EntryRow] : BottomFilled[Col][EntryRow - UpperRows];
}

void TScoreCard::SetFilled(int Col, int EntryRow, bool Filled) {
  if (EntryRow < UpperRows)
    TopFilled[Col][EntryRow] = Filled;
  else
    BottomFilled[Col][EntryRow - UpperRows] = Filled;
}

TCategoryFlags EvaluateThrow(const TThrow &Throw, const TScoreCard &Card) {
  TCategoryFlags Flags = {};
  Flags[erChance] = true;

  int Counts[6] = {};
  for (int Value : Throw) {
    if (Value < 0 || Value > 5) continue;  // a die not thrown is never scored
    Flags[Value] = true;
    ++Counts[Value];
  }

  int Singles = 0;
  int Weight = 0;
  for (int Count : Counts) {
    if (Count == 1) Singles += 1;
    if (Count == 2) Weight += 20;
    if (Count >= 3) {
      Flags[erThreeOfAKind] = true;
      Weight += 30;
    }
    if (Count >= 4) Flags[erFourOfAKind] = true;
    if (Count == 5) {
      Flags[erQuintor] = true;
      Flags[erFullHouse] = true;
    }
  }

  const bool NoOne = Counts[0] == 0, NoTwo = Counts[1] == 0;
  const bool NoFive = Counts[4] == 0, NoSix = Counts[5] == 0;
  // Five different faces leave out exactly one: leaving out 1 or 6 is a long
  // run, leaving out 2 or 5 still holds a run of four.
  if (Singles == 5 && (NoOne || NoSix)) {
    Flags[erLargeStraight] = true;
    Flags[erSmallStraight] = true;
  }
  if (Singles == 5 && (NoTwo || NoFive)) Flags[erSmallStraight] = true;
  // Three singles and a pair: four faces, so a run of four unless the gap is inside.
  if (Singles == 3 && ((NoOne && NoTwo) || (NoOne && NoSix) || (NoFive && NoSix)))
    Flags[erSmallStraight] = true;
  if (Weight == 50) Flags[erFullHouse] = true;

  for (int Row = 0; Row < EntryRows; ++Row) {
    bool AllFilled = true;
    for (int Col = 0; Col < ColumnCount; ++Col) AllFilled = AllFilled && Card.IsFilled(Col, Row);
    if (AllFilled) Flags[Row] = false;
  }
  return Flags;
}

int BoxScore(int EntryRow, const TThrow &Throw, const TCategoryFlags &Flags) {
  if (EntryRow < UpperRows) {
    int Score = 0;
    for (int Value : Throw)
      if (Value == EntryRow) Score += EntryRow + 1;
    return Score;
  }
  if (!Flags[EntryRow]) return 0;
  switch (EntryRow) {
    case erFullHouse: return FullHouseScore;
    case erSmallStraight: return SmallStraightScore;
    case erLargeStraight: return LargeStraightScore;
    case erQuintor: return QuintorScore;
    default: return SumOfFaces(Throw);  // three and four of a kind, chance
  }
}

int UpdateUpperTotals(TScoreCard &Card, int Col, const TThrow &Throw, TGameView *View) {
  int Sum = 0;
  for (int Row = 0; Row < UpperRows; ++Row) Sum += Card.TopScore[Col][Row];
  const bool Bonus = Sum >= UpperBonusThreshold;
  Card.UpperTotal[Col] = Sum + (Bonus ? UpperBonus : 0);
  if (View) View->ShowUpperTotals(Col, Sum, Bonus, Card.UpperTotal[Col]);
  return UpdateCombinedTotals(Card, Col, Throw, View);
}

int UpdateLowerTotals(TScoreCard &Card, int Col, const TThrow &Throw, TGameView *View) {
  int Sum = 0;
  for (int Row = 0; Row < LowerRows; ++Row) Sum += Card.BottomScore[Col][Row];
  Card.LowerTotal[Col] = Sum;
  if (View) View->ShowLowerTotal(Col, Sum);
  return UpdateCombinedTotals(Card, Col, Throw, View);
}

int CombinedTotal(const TScoreCard &Card, int Col) {
  return Card.UpperTotal[Col] + Card.LowerTotal[Col] + (Card.ColumnBonus[Col] ? QuintorBonus : 0);
}

int WeightedTotal(const TScoreCard &Card, int Col) { return CombinedTotal(Card, Col) * (Col + 1); }

int GrandTotal(const TScoreCard &Card) {
  int Total = 0;
  for (int Col = 0; Col < ColumnCount; ++Col) Total += WeightedTotal(Card, Col);
  return Total;
}

int UpdateCombinedTotals(TScoreCard &Card, int Col, const TThrow &Throw, TGameView *View) {
  if (IsFiveOfAKind(Throw)) {
    Card.QuintorCount += 1;
    Card.LastWasQuintor = true;
  } else {
    Card.LastWasQuintor = false;
  }

  // The fourth five of a kind gives the first column its bonus, the fifth the
  // second, the sixth the third; repeated on every call while the count
  // stands there, which changes nothing.
  if (Card.QuintorCount >= 4 && Card.QuintorCount <= 6) {
    const int BonusCol = Card.QuintorCount - 4;
    Card.ColumnBonus[BonusCol] = true;
    if (View) {
      View->ShowQuintorBonus(BonusCol, true);
      View->ShowCombinedTotals(BonusCol, CombinedTotal(Card, BonusCol), WeightedTotal(Card, BonusCol));
    }
  }

  const int Total = GrandTotal(Card);
  if (View) {
    View->ShowCombinedTotals(Col, CombinedTotal(Card, Col), WeightedTotal(Card, Col));
    View->ShowGrandTotal(Total);
  }
  return Total;
}

void ClearCard(TScoreCard &Card) { Card = TScoreCard{}; }

}  // namespace quintor
