#pragma once

// The score preview: the one open box of the card that shows what the throw
// would score there, for the pointer over it or the keyboard cursor on it,
// whichever moved last. Its rules in one place:
//   - a box shows a preview only while the throw has one there (after the
//     turn's first roll, not during a roll, not on a filled box);
//   - a new preview box empties the one before; so does a move over the
//     panel, while the box stays the preview's until the turn ends;
//   - an entry in the box makes its cell the score's;
//   - after a roll the box on show shows the new throw's score;
//   - a new turn forgets the box, emptying it if it still shows a preview.

#include <QString>
#include <functional>

namespace quintor {

class TGame;

class TScorePreview {
 public:
  // Writes a box's cell: column, entry row, text.
  using TWriteCell = std::function<void(int Col, int EntryRow, const QString &Text)>;

  TScorePreview(const TGame &Game, TWriteCell WriteCell) : FGame(Game), FWriteCell(std::move(WriteCell)) {}

  int Col() const { return FCol; }
  int Row() const { return FRow; }  // -1: no box

  void ShowAt(int Col, int EntryRow);
  void Empty();
  void Forget();
  void Entered(int Col, int EntryRow);
  void Rolled();
  void CardCleared() { FShown = false; }

 private:
  const TGame &FGame;
  TWriteCell FWriteCell;
  int FCol = 0;
  int FRow = -1;
  bool FShown = false;  // the box's cell shows the preview
};

}  // namespace quintor
