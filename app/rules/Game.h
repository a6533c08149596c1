#pragma once

// The game state the main window owns for the life of the process: the five
// dice, the rolls of a turn, the entry of a throw, the single-step undo of
// the latest entry, a new game and the hand-over of a finished game to the
// top ten. Every visible effect is one call on TGameView; the end of a game
// goes through TGameEnd, so the rules know nothing of windows or dialogs.

#include <cstdint>

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

// The top ten, as the end of a game reaches it.
class TGameEnd {
 public:
  virtual ~TGameEnd() = default;
  virtual int GetTenthScore() = 0;
  // Asks the player's name and stores the entry.
  virtual void EnterNewScore(int Total, int Quintors) = 0;
  virtual void ShowTopTen() = 0;
  virtual void ShowGameOver() = 0;
};

// The game's random source: a 64-bit linear congruential generator.
class TRandomSource {
 public:
  void Seed(std::uint64_t Value) { State = Value; }
  std::uint64_t GetState() const { return State; }
  // Bits 32 to 62 of the next state: 0 to 2^31 - 1.
  std::uint32_t Draw();
  int RandomBelow(int N);

 private:
  static constexpr std::uint64_t Multiplier = (std::uint64_t{346} << 32) + 20021;
  std::uint64_t State = 0;
};

class TGame {
 public:
  static constexpr int MaxRolls = 3;
  static constexpr int GameEndedRollCount = 4;
  static constexpr int AnimationSteps = 4;

  TGame(TGameView &View, TGameEnd &End);

  // Commands. While a roll is being animated, an entry, an undo and a new
  // game are ignored: the steps still to come would otherwise count a roll
  // in the next turn.
  void NewGame();
  void StartRoll();
  void RollStep();  // one tick of the roll animation
  void EnterThrow(int Col, int EntryRow);
  void UndoLastEntry();

  void Seed(std::uint64_t Value) { Random.Seed(Value); }
  int RandomBelow(int N) { return Random.RandomBelow(N); }

  bool IsRolling() const { return Rolling; }
  // What a throw would score in a box, as the preview shows it: nothing
  // (-1) before the first roll of a turn, during a roll and on a filled box.
  int PreviewScore(int Col, int EntryRow) const;

  const TScoreCard &Card() const { return FCard; }
  const TThrow &Dice() const { return FDice; }
  const TCategoryFlags &Flags() const { return FFlags; }
  int RollCount() const { return FRollCount; }
  int SavedRollCount() const { return FSavedRollCount; }
  int LastRow() const { return FLastRow; }
  int LastCol() const { return FLastCol; }
  bool UndoAvailable() const { return FUndoAvailable; }
  int Countdown() const { return FCountdown; }

 private:
  void ResetTurn();
  void FinishRoll();
  void AfterEntry(int Total);
  void GameOver(int Total);
  void SetUndoAvailable(bool Available);

  TGameView &View;
  TGameEnd &End;
  TScoreCard FCard;
  TThrow FDice = {NotThrown, NotThrown, NotThrown, NotThrown, NotThrown};
  TCategoryFlags FFlags = {};
  int FRollCount = 0;
  int FSavedRollCount = 0;
  int FLastRow = 0;
  int FLastCol = 0;
  bool FUndoAvailable = false;
  int FCountdown = 0;
  bool Rolling = false;
  TRandomSource Random;
};

}  // namespace quintor
