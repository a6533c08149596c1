#pragma once

// The game state the main window owns for the life of the process: the five
// dice, the rolls of a turn, the entry of a throw, the single-step undo of
// the latest entry, a new game and the hand-over of a finished game to the
// top ten. Every visible effect is one call on TGameView; the end of a game
// goes through TGameEnd, so the rules know nothing of windows or dialogs.
// Until a TGameEnd is plugged in, a finished game simply stays finished.

#include <cstdint>

#include "GameView.h"
#include "ScoreCard.h"

namespace quintor {

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

  explicit TGame(TGameView &View, TGameEnd *End = nullptr);

  // Not owned; nullptr unplugs it.
  void SetEnd(TGameEnd *End) { FEnd = End; }
  TGameEnd *GetEnd() const { return FEnd; }

  // Commands. While a roll is being animated, an entry, an undo and a new
  // game are ignored: the steps still to come would otherwise count a roll
  // in the next turn.
  void NewGame();
  void StartRoll();
  void RollStep();  // one tick of the roll animation
  void EnterThrow(int Col, int EntryRow);
  void UndoLastEntry();

  void Seed(std::uint64_t Value) { FRandom.Seed(Value); }
  int RandomBelow(int N) { return FRandom.RandomBelow(N); }

  bool IsRolling() const { return FRolling; }
  // What a throw would score in a box, as the preview shows it: nothing
  // (-1) before the first roll of a turn, during a roll and on a filled box.
  int PreviewScore(int Col, int EntryRow) const;

  const TScoreCard &Card() const { return FCard; }
  const TThrow &Dice() const { return FDice; }
  const TCategoryFlags &Flags() const { return FFlags; }
  int RollCount() const { return FRollCount; }

 private:
  void ResetTurn();
  void FinishRoll();
  void AfterEntry(int Total);
  void GameOver(int Total);
  void SetUndoAvailable(bool Available);

  TGameView &FView;
  TGameEnd *FEnd = nullptr;
  TScoreCard FCard;
  TThrow FDice = {NotThrown, NotThrown, NotThrown, NotThrown, NotThrown};
  TCategoryFlags FFlags = {};
  int FRollCount = 0;
  int FSavedRollCount = 0;
  int FLastRow = 0;
  int FLastCol = 0;
  bool FUndoAvailable = false;
  int FCountdown = 0;
  bool FRolling = false;
  TRandomSource FRandom;
};

}  // namespace quintor
