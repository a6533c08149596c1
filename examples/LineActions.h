#pragma once

// The undoable changes of the examples' list of lines: a record of one
// change (a row, and the text an inserted line gets) and the two actions that
// insert and remove a line, each handing back the record that reverses it.
#include <QListWidget>
#include <utility>

#include "Undo.h"

struct TLine : JActionData {
  TLine(JAction *Action, int Row, QString Text = {}) : JActionData(Action), Row(Row), Text(std::move(Text)) {}
  int Row;
  QString Text;
};

// Insert (captioned "&Undo add line") and Remove ("&Undo delete line") on
// Lines, owned by Owner.
inline std::pair<JAction *, JAction *> MakeLineActions(QObject *Owner, QListWidget *Lines) {
  auto *Insert = new JAction(Owner), *Remove = new JAction(Owner);
  Insert->Caption = "&Undo add line";
  Remove->Caption = "&Undo delete line";
  Insert->OnDo = [=](pJActionData Data, pJActionData &Reverse) {
    auto *Line = static_cast<TLine *>(Data);
    Lines->insertItem(Line->Row, Line->Text);
    Reverse = new TLine(Remove, Line->Row);
  };
  Remove->OnDo = [=](pJActionData Data, pJActionData &Reverse) {
    auto *Line = static_cast<TLine *>(Data);
    Reverse = new TLine(Insert, Line->Row, Lines->item(Line->Row)->text());
    delete Lines->takeItem(Line->Row);
  };
  return {Insert, Remove};
}
