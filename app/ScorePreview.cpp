#include "ScorePreview.h"

#include "Game.h"

namespace quintor {

void TScorePreview::ShowAt(int Col, int EntryRow) {
  const int Score = FGame.PreviewScore(Col, EntryRow);
  if (Score < 0) return;
  if (FRow >= 0) Empty();
  FCol = Col;
  FRow = EntryRow;
  FWriteCell(Col, EntryRow, QString::number(Score));
  FShown = true;
}

void TScorePreview::Empty() {
  FShown = false;
  if (FRow < 0 || FGame.Card().IsFilled(FCol, FRow)) return;
  FWriteCell(FCol, FRow, QString());
}

void TScorePreview::Forget() {
  // A preview left in a box that is still open would read as a score.
  if (FShown) Empty();
  FRow = -1;
  FCol = 0;
}

void TScorePreview::Entered(int Col, int EntryRow) {
  if (Col == FCol && EntryRow == FRow) FShown = false;
}

void TScorePreview::Rolled() {
  if (!FShown || FRow < 0) return;
  const int Score = FGame.PreviewScore(FCol, FRow);
  if (Score >= 0) FWriteCell(FCol, FRow, QString::number(Score));
}

}  // namespace quintor
