#include "Game.h"

namespace quintor {

std::uint32_t TRandomSource::Draw() {
  State = State * Multiplier + 1;  // wraps modulo 2^64
  return static_cast<std::uint32_t>(State >> 32) & 0x7FFFFFFFu;
}

int TRandomSource::RandomBelow(int N) {
  if (N <= 0) return 0;
  return static_cast<int>(Draw() % static_cast<std::uint32_t>(N));
}

TGame::TGame(TGameView &View, TGameEnd *End) : FView(View), FEnd(End) {}

void TGame::SetUndoAvailable(bool Available) {
  FUndoAvailable = Available;
  FView.SetUndoEnabled(Available);
}

void TGame::NewGame() {
  if (FRolling) return;
  ClearCard(FCard);
  FView.ClearCardDisplay();
  TCategoryFlags AllEnabled;
  AllEnabled.fill(true);
  FView.ShowCategoryFlags(AllEnabled);
  SetUndoAvailable(false);
  ResetTurn();
}

void TGame::ResetTurn() {
  FView.ReleaseDice();
  FView.SetDiceEnabled(false);
  for (int I = 0; I < DiceCount; ++I) {
    FDice[I] = NotThrown;
    FView.ShowDie(I, NotThrown);
  }
  FSavedRollCount = FRollCount;
  FRollCount = 0;
  FView.SetRollEnabled(true);
  FView.ForgetPreview();
}

void TGame::StartRoll() {
  if (FRollCount >= MaxRolls) return;
  if (FRollCount == 0) FView.SetDiceEnabled(true);
  FCountdown = AnimationSteps;
  if (FView.IsAnimationOn()) {
    FRolling = true;
    FView.StartFlashTimer();
  } else {
    RollStep();
  }
}

void TGame::RollStep() {
  for (int I = 0; I < DiceCount; ++I) {
    if (FView.IsDieHeld(I)) continue;
    FDice[I] = RandomBelow(6);
    FView.ShowDie(I, FDice[I]);
  }
  FCountdown -= 1;
  // The option is read at every step, so unticking it mid-roll completes the
  // roll at the next tick.
  if (FView.IsAnimationOn() && FCountdown > 0) return;
  FinishRoll();
}

void TGame::FinishRoll() {
  FView.StopFlashTimer();
  FRolling = false;
  FRollCount += 1;
  if (FRollCount >= MaxRolls) FView.SetRollEnabled(false);
  FFlags = EvaluateThrow(FDice, FCard);
  FView.ShowCategoryFlags(FFlags);
  SetUndoAvailable(false);
}

int TGame::PreviewScore(int Col, int EntryRow) const {
  if (FRolling || FRollCount == 0 || FRollCount > MaxRolls) return -1;
  if (Col < 0 || Col >= ColumnCount || EntryRow < 0 || EntryRow >= EntryRows) return -1;
  if (FCard.IsFilled(Col, EntryRow)) return -1;
  return BoxScore(EntryRow, FDice, FFlags);
}

void TGame::EnterThrow(int Col, int EntryRow) {
  if (FRolling || FRollCount == 0) return;
  if (Col < 0 || Col >= ColumnCount || EntryRow < 0 || EntryRow >= EntryRows) return;
  if (FCard.IsFilled(Col, EntryRow)) return;

  FLastRow = EntryRow;
  FLastCol = Col;
  const int Score = BoxScore(EntryRow, FDice, FFlags);
  if (EntryRow < UpperRows)
    FCard.TopScore[Col][EntryRow] = Score;
  else
    FCard.BottomScore[Col][EntryRow - UpperRows] = Score;
  FView.ShowBox(Col, EntryRow, Score);

  FCard.SetFilled(Col, EntryRow, true);
  const int Total = EntryRow < UpperRows ? UpdateUpperTotals(FCard, Col, FDice, &FView)
                                         : UpdateLowerTotals(FCard, Col, FDice, &FView);
  AfterEntry(Total);
}

void TGame::AfterEntry(int Total) {
  FCard.FilledCount += 1;
  if (FCard.FilledCount == BoxCount) {
    FView.ForgetPreview();
    GameOver(Total);
    return;
  }
  const TThrow Kept = FDice;
  ResetTurn();
  FDice = Kept;  // shown as not thrown, but kept for undo
  SetUndoAvailable(true);
}

void TGame::UndoLastEntry() {
  if (FRolling || !FUndoAvailable || FRollCount != 0) return;

  if (FCard.LastWasQuintor) {
    const int BonusCol = FCard.QuintorCount - 4;
    if (BonusCol >= 0 && BonusCol < ColumnCount) {
      FCard.ColumnBonus[BonusCol] = false;
      FView.ShowQuintorBonus(BonusCol, false);
      FView.ShowCombinedTotals(BonusCol, CombinedTotal(FCard, BonusCol), WeightedTotal(FCard, BonusCol));
    }
    FCard.LastWasQuintor = false;
    // Two, not one: the recount that follows adds one back, since the dice
    // still hold the five of a kind.
    FCard.QuintorCount -= 2;
  }

  if (FLastRow < UpperRows) {
    FCard.TopScore[FLastCol][FLastRow] = 0;
    FView.ClearBox(FLastCol, FLastRow);
    UpdateUpperTotals(FCard, FLastCol, FDice, &FView);
  } else {
    FCard.BottomScore[FLastCol][FLastRow - UpperRows] = 0;
    FView.ClearBox(FLastCol, FLastRow);
    UpdateLowerTotals(FCard, FLastCol, FDice, &FView);
  }
  FCard.SetFilled(FLastCol, FLastRow, false);

  FView.ReleaseDice();
  FView.SetDiceEnabled(true);
  for (int I = 0; I < DiceCount; ++I) FView.ShowDie(I, FDice[I]);

  FCard.FilledCount -= 1;
  FRollCount = FSavedRollCount;
  FView.SetRollEnabled(FRollCount < MaxRolls);
  SetUndoAvailable(false);
}

void TGame::GameOver(int Total) {
  // The game is over even when the hand-over fails (a top-ten file that
  // cannot be read raises an error for the application to show).
  struct TEndGuard {
    TGame &Game;
    ~TEndGuard() {
      Game.FRollCount = GameEndedRollCount;
      Game.FView.SetRollEnabled(false);
    }
  } Guard{*this};
  if (!FEnd) return;
  if (Total > FEnd->GetTenthScore()) {
    FEnd->EnterNewScore(Total, FCard.QuintorCount);
    FEnd->ShowTopTen();
  } else {
    FEnd->ShowGameOver();
  }
}

}  // namespace quintor
