#include "CardCursor.h"

namespace quintor {
namespace {

// Boxes numbered in reading order: row by row, the three columns across.
bool Open(const TScoreCard &Card, int Box) { return !Card.IsFilled(Box % ColumnCount, Box / ColumnCount); }

// The first open box from From on, stepping by Step; -1 when there is none.
int FirstOpen(const TScoreCard &Card, int From, int Step) {
  for (int Box = From; Box >= 0 && Box < BoxCount; Box += Step)
    if (Open(Card, Box)) return Box;
  return -1;
}

// The open box nearest Col in the nearest row from Row on, stepping by Step.
int NearestInRow(const TScoreCard &Card, int Row, int Col, int Step) {
  for (; Row >= 0 && Row < EntryRows; Row += Step)
    for (int Distance = 0; Distance < ColumnCount; ++Distance)
      for (const int C : {Col - Distance, Col + Distance})
        if (C >= 0 && C < ColumnCount && Open(Card, Row * ColumnCount + C)) return Row * ColumnCount + C;
  return -1;
}

}  // namespace

bool TCardCursor::Move(TMove Where, const TScoreCard &Card) {
  const int Here = FRow * ColumnCount + FCol;
  int Target = -1;
  switch (Where) {
    case cmRight: Target = FirstOpen(Card, Here + 1, 1); break;
    case cmLeft: Target = FirstOpen(Card, Here - 1, -1); break;
    case cmHome: Target = FirstOpen(Card, 0, 1); break;
    case cmEnd: Target = FirstOpen(Card, BoxCount - 1, -1); break;
    case cmDown: Target = NearestInRow(Card, FRow + 1, FCol, 1); break;
    case cmUp: Target = NearestInRow(Card, FRow - 1, FCol, -1); break;
  }
  if (Target < 0 || Target == Here) return false;
  FRow = Target / ColumnCount;
  FCol = Target % ColumnCount;
  return true;
}

bool TCardCursor::Settle(const TScoreCard &Card) {
  const int Here = FRow * ColumnCount + FCol;
  int Box = FirstOpen(Card, Here, 1);
  if (Box < 0) Box = FirstOpen(Card, Here - 1, -1);
  if (Box < 0) return false;
  FRow = Box / ColumnCount;
  FCol = Box % ColumnCount;
  return true;
}

}  // namespace quintor
