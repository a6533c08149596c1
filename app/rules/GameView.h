#pragma once

// The two faces the rules turn to the outside: TGameView, on which every
// visible effect of the game is one call, and TGameEnd, the top ten as the
// end of a game reaches it. The main window implements the first, the object
// that holds the high-score dialogs the second, and the tests record both.

#include "ScoreCard.h"

namespace quintor {

// What the rules show, and the two things they read from the window: whether
// a die's button is pressed (held) and whether the Animation option is on.
class TGameView {
 public:
  virtual ~TGameView() = default;

  // Score card. A box cell shows its score; ClearCardDisplay empties every
  // box and total cell and shows "0" as the grand total.
  virtual void ClearCardDisplay() = 0;
  virtual void ShowBox(int Col, int EntryRow, int Score) = 0;
  virtual void ClearBox(int Col, int EntryRow) = 0;
  // The "Total", "Bonus" ("35" or empty) and "Upper total" cells of a column.
  virtual void ShowUpperTotals(int Col, int Sum, bool Bonus, int UpperTotal) = 0;
  virtual void ShowLowerTotal(int Col, int LowerTotal) = 0;
  // The "Quintor bonus" cell: "100" when shown, empty when taken back.
  virtual void ShowQuintorBonus(int Col, bool Shown) = 0;
  // The "Combined total" and "Triple Quintor" cells of a column.
  virtual void ShowCombinedTotals(int Col, int Combined, int Weighted) = 0;
  virtual void ShowGrandTotal(int Total) = 0;
  // The category captions, enabled or greyed, in entry-row order.
  virtual void ShowCategoryFlags(const TCategoryFlags &Flags) = 0;

  // Dice. A die value is 0 to 5 for the faces 1 to 6, 6 for not thrown.
  virtual void ShowDie(int Index, int Value) = 0;
  virtual void SetDiceEnabled(bool Enabled) = 0;
  virtual void ReleaseDice() = 0;
  virtual bool IsDieHeld(int Index) const = 0;

  virtual void SetRollEnabled(bool Enabled) = 0;
  virtual void SetUndoEnabled(bool Enabled) = 0;
  virtual void ForgetPreview() = 0;

  // The roll animation: a timer that calls TGame::RollStep on every tick.
  virtual bool IsAnimationOn() const = 0;
  virtual void StartFlashTimer() = 0;
  virtual void StopFlashTimer() = 0;
};

// The top ten, as the end of a game (and the main window's Top10! command)
// reaches it.
class TGameEnd {
 public:
  virtual ~TGameEnd() = default;
  virtual int GetTenthScore() = 0;
  // Asks the player's name and stores the entry.
  virtual void EnterNewScore(int Total, int Quintors) = 0;
  virtual void ShowTopTen() = 0;  // the list, modally
  virtual void ShowGameOver() = 0;
};

}  // namespace quintor
