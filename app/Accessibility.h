#pragma once

// What a screen reader reads and says of the main window, so that a blind
// player can play a whole game.
//
// Readable at any time, as the objects' names and descriptions:
//   - each box of the card, a cell of a table whose rows are the categories
//     and whose columns are "column 1" to "column 3": "Fives, column 2: 15",
//     while open "Fives, column 2: open, this throw scores 10"; the totals
//     and bonuses the same way ("Upper total, column 2: 63");
//   - each die, a check box checked while held: "Die 3: five, held";
//   - Roll!, described by the faces thrown and the rolls left;
//   - the grand total, the label "Grand Total: 856".
// Said as it happens, wherever the focus is: the faces and the rolls left
// after a roll, the die after a hold or a release, the box with its score
// and the new grand total after an entry, the end of the game. Each is
// shown as a notification, which a screen reader speaks as it appears. (The
// toolkit's bridge has no announcement, and the name or description change
// it reports for the focused object carries no text a reader could speak.)
//
//   InstallGameAccessibility();             // before the window's widgets exist
//   TGameReader Reader(Form, Ui);           // after the form's controls exist
//   Reader.Update();                        // after any change of the game
//   Reader.RollDone();                      // news, said at once

#include <QList>
#include <QObject>
#include <QString>

class QAbstractButton;
class QAccessibleInterface;
class QWidget;
class TMainForm;

namespace Ui {
class TMainForm;
}

namespace quintor {

class TScoreGrid;

void InstallGameAccessibility();

// Tells an assistive tool that the cell under the grid's cursor has the focus.
void NotifyCellFocus(TScoreGrid *Grid);

class TGameReader {
 public:
  TGameReader(TMainForm &Form, Ui::TMainForm &Ui);
  ~TGameReader();
  TGameReader(const TGameReader &) = delete;
  TGameReader &operator=(const TGameReader &) = delete;

  // Brings every name and description up to the game's state.
  void Update();

  // News. An entry and an undo are said together with the grand total that
  // follows them, once it is shown.
  void NewGame();
  void RollDone();
  void Entered(int Col, int EntryRow);
  void Cleared(int Col, int EntryRow);
  void GrandTotalShown();

  // Everything said so far, oldest first.
  const QList<QString> &Said() const { return FSaid; }

 private:
  QAbstractButton *Die(int Index) const;
  void DiePressed(int Index);
  void Say(const QString &News);
  QString BoxName(int Col, int EntryRow) const;
  QString DieText(int Index) const;
  QString RollsLeft() const;

  TMainForm &Form;
  Ui::TMainForm &Ui;
  QObject FContext;  // ends the reader's connections with it
  QString FPending;  // an entry or undo waiting for its grand total
  QList<QString> FSaid;
  QAccessibleInterface *FNews = nullptr;
};

}  // namespace quintor
