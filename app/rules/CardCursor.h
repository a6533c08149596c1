#pragma once

// The score card's keyboard cursor: one box, by column and entry row, that
// moves among the open boxes of a card. Left and Right step through the open
// boxes in reading order (across the three columns, then on to the next
// row); Up and Down go to the nearest row above or below with an open box,
// to the open box nearest the cursor's column there; Home and End go to the
// first and the last open box. Filled boxes are skipped, and a move with
// nowhere to go leaves the cursor where it is.
//
//   TCardCursor Cursor;
//   Cursor.Move(TCardCursor::cmDown, Game.Card());
//   if (Cursor.Settle(Game.Card())) Show(Cursor.Col(), Cursor.Row());

#include "ScoreCard.h"

namespace quintor {

class TCardCursor {
 public:
  enum TMove { cmLeft, cmRight, cmUp, cmDown, cmHome, cmEnd };

  int Col() const { return FCol; }
  int Row() const { return FRow; }  // an entry row, 0 to 12

  // Moves the cursor; false when it stays where it is.
  bool Move(TMove Where, const TScoreCard &Card);
  // Once its box is filled, the cursor goes on to the nearest open box after
  // it (else before it, in reading order); false when the card is full.
  bool Settle(const TScoreCard &Card);

 private:
  int FCol = 0;
  int FRow = 0;
};

}  // namespace quintor
