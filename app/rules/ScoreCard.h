#pragma once

// The arithmetic of the game: which categories a throw satisfies, what a box
// scores and how the three weighted columns add up to the grand total.

#include <array>

namespace quintor {

class TGameView;

constexpr int DiceCount = 5;
constexpr int ColumnCount = 3;
constexpr int UpperRows = 6;
constexpr int LowerRows = 7;
constexpr int EntryRows = UpperRows + LowerRows;
constexpr int BoxCount = ColumnCount * EntryRows;

constexpr int NotThrown = 6;  // die value of a die not thrown this turn

constexpr int UpperBonusThreshold = 63;
constexpr int UpperBonus = 35;
constexpr int QuintorBonus = 100;
constexpr int FullHouseScore = 25;
constexpr int SmallStraightScore = 30;
constexpr int LargeStraightScore = 40;
constexpr int QuintorScore = 50;

// Entry rows 0 to 12: the six upper categories, then the seven lower ones.
enum TEntryRow {
  erOnes, erTwos, erThrees, erFours, erFives, erSixes,
  erThreeOfAKind, erFourOfAKind, erFullHouse, erSmallStraight,
  erLargeStraight, erQuintor, erChance
};

using TThrow = std::array<int, DiceCount>;          // die values 0 to 5 (face - 1)
using TCategoryFlags = std::array<bool, EntryRows>;  // in entry-row order

struct TScoreCard {
  bool TopFilled[ColumnCount][UpperRows] = {};
  bool BottomFilled[ColumnCount][LowerRows] = {};
  int TopScore[ColumnCount][UpperRows] = {};
  int BottomScore[ColumnCount][LowerRows] = {};
  int UpperTotal[ColumnCount] = {};
  int LowerTotal[ColumnCount] = {};
  int FilledCount = 0;
  int QuintorCount = 0;
  bool LastWasQuintor = false;
  bool ColumnBonus[ColumnCount] = {};

  bool IsFilled(int Col, int EntryRow) const;
  void SetFilled(int Col, int EntryRow, bool Filled);
};

TCategoryFlags EvaluateThrow(const TThrow &Throw, const TScoreCard &Card);
int BoxScore(int EntryRow, const TThrow &Throw, const TCategoryFlags &Flags);

// Each of these recomputes one column and shows what changed on the view
// (which may be null when only the numbers are wanted); all three return the
// grand total.
int UpdateUpperTotals(TScoreCard &Card, int Col, const TThrow &Throw, TGameView *View);
int UpdateLowerTotals(TScoreCard &Card, int Col, const TThrow &Throw, TGameView *View);
int UpdateCombinedTotals(TScoreCard &Card, int Col, const TThrow &Throw, TGameView *View);

int CombinedTotal(const TScoreCard &Card, int Col);
int WeightedTotal(const TScoreCard &Card, int Col);
int GrandTotal(const TScoreCard &Card);

void ClearCard(TScoreCard &Card);

}  // namespace quintor
