#pragma once

// A stand-in for the main window and the top ten: it keeps what a player
// would see (every cell's text, the dice, which commands are enabled) and
// logs the hand-over at the end of a game.

#include <QString>
#include <QStringList>
#include <stdexcept>

#include "Game.h"

namespace quintor {

class TRecordingView : public TGameView, public TGameEnd {
 public:
  TRecordingView() { ClearCardDisplay(); }

  // The card as shown: box cells by column and entry row, the three upper
  // total rows, the four lower total rows ("Lower Total", "Quintor bonus",
  // "Combined total", "Triple Quintor") and the grand total.
  QString Box[ColumnCount][EntryRows];
  QString Upper[ColumnCount][3];
  QString Lower[ColumnCount][4];
  QString Grand;
  int DieShown[DiceCount] = {NotThrown, NotThrown, NotThrown, NotThrown, NotThrown};
  bool Held[DiceCount] = {};
  bool DiceEnabled = false, RollEnabled = false, UndoEnabled = false;
  bool Animation = false, TimerOn = false;
  int TimerStarts = 0;

  int TenthScore = 0;
  QStringList EndCalls;
  QString EntryError;  // when set, the name entry raises it, as an unreadable top ten does

  void ClearCardDisplay() override {
    for (int C = 0; C < ColumnCount; ++C) {
      for (QString &Cell : Box[C]) Cell.clear();
      for (QString &Cell : Upper[C]) Cell.clear();
      for (QString &Cell : Lower[C]) Cell.clear();
    }
    Grand = QStringLiteral("0");
  }
  void ShowBox(int Col, int EntryRow, int Score) override { Box[Col][EntryRow] = QString::number(Score); }
  void ClearBox(int Col, int EntryRow) override { Box[Col][EntryRow].clear(); }
  void ShowUpperTotals(int Col, int Sum, bool Bonus, int UpperTotal) override {
    Upper[Col][0] = QString::number(Sum);
    Upper[Col][1] = Bonus ? QStringLiteral("35") : QString();
    Upper[Col][2] = QString::number(UpperTotal);
  }
  void ShowLowerTotal(int Col, int LowerTotal) override { Lower[Col][0] = QString::number(LowerTotal); }
  void ShowQuintorBonus(int Col, bool Shown) override {
    Lower[Col][1] = Shown ? QStringLiteral("100") : QString();
  }
  void ShowCombinedTotals(int Col, int Combined, int Weighted) override {
    Lower[Col][2] = QString::number(Combined);
    Lower[Col][3] = QString::number(Weighted);
  }
  void ShowGrandTotal(int Total) override { Grand = QString::number(Total); }
  void ShowCategoryFlags(const TCategoryFlags &) override {}

  void ShowDie(int Index, int Value) override { DieShown[Index] = Value; }
  void SetDiceEnabled(bool Enabled) override { DiceEnabled = Enabled; }
  void ReleaseDice() override {
    for (bool &H : Held) H = false;
  }
  bool IsDieHeld(int Index) const override { return Held[Index]; }

  void SetRollEnabled(bool Enabled) override { RollEnabled = Enabled; }
  void SetUndoEnabled(bool Enabled) override { UndoEnabled = Enabled; }
  void ForgetPreview() override {}

  bool IsAnimationOn() const override { return Animation; }
  void StartFlashTimer() override {
    TimerOn = true;
    ++TimerStarts;
  }
  void StopFlashTimer() override { TimerOn = false; }

  int GetTenthScore() override {
    EndCalls << QStringLiteral("tenth");
    return TenthScore;
  }
  void EnterNewScore(int Total, int Quintors) override {
    if (!EntryError.isEmpty()) throw std::runtime_error(EntryError.toStdString());
    EndCalls << QStringLiteral("enter %1 %2").arg(Total).arg(Quintors);
  }
  void ShowTopTen() override { EndCalls << QStringLiteral("list"); }
  void ShowGameOver() override { EndCalls << QStringLiteral("Game Over"); }
};

// "1-2-3-4-6" (faces) to die values.
inline TThrow Faces(const QString &Text) {
  TThrow Throw = {};
  const QStringList Parts = Text.split(QLatin1Char('-'));
  for (int I = 0; I < DiceCount; ++I) Throw[I] = Parts[I].toInt() - 1;
  return Throw;
}

// A seed from which the next five dice are exactly Wanted.
inline std::uint64_t SeedFor(const TThrow &Wanted) {
  for (std::uint64_t Seed = 1;; ++Seed) {
    TRandomSource Source;
    Source.Seed(Seed);
    bool Match = true;
    for (int I = 0; I < DiceCount && Match; ++I) Match = Source.RandomBelow(6) == Wanted[I];
    if (Match) return Seed;
  }
}

}  // namespace quintor
