#include "Undo.h"

#include <QAction>

namespace {

// Calls the handler of Data's action and returns the reverse it stored. A
// record without an action or handler performs nothing and has no reverse.
pJActionData Perform(pJActionData Data) {
  if (!Data || !Data->Action || !Data->Action->OnDo) return nullptr;
  // A copy: the handler may reassign or delete its own JAction.
  const TJDoEvent Handler = Data->Action->OnDo;
  pJActionData Reverse = nullptr;
  try {
    Handler(Data, Reverse);
  } catch (...) {
    if (Reverse != Data) delete Reverse;
    throw;
  }
  return Reverse;
}

// The undo command reads the caption of the action just performed.
void ShowPerformed(QAction *UndoAction, const JAction *Action) {
  if (!UndoAction || !Action) return;
  UndoAction->setText(Action->Caption);
  UndoAction->setEnabled(true);
}

void ShowCantUndo(QAction *UndoAction) {
  if (!UndoAction) return;
  UndoAction->setText(QString::fromLatin1(TUndoMultiBuffer::CantUndo));
  UndoAction->setEnabled(false);
}

}  // namespace

// --- TUndoSingleBuffer ---

TUndoSingleBuffer::~TUndoSingleBuffer() { delete FUndoData; }

pJActionData TUndoSingleBuffer::Do(pJActionData Data) {
  const QPointer<JAction> Action = Data ? Data->Action : nullptr;
  pJActionData Reverse = Perform(Data);
  ShowPerformed(UndoAction, Action);
  // From Undo, the held record is the one just performed.
  if (FUndoData != Reverse) delete FUndoData;
  FUndoData = Reverse;
  return Reverse;
}

void TUndoSingleBuffer::Undo() {
  if (GetCanUndo()) Do(FUndoData);
}

// --- TUndoMultiBuffer ---

TUndoMultiBuffer::~TUndoMultiBuffer() { Flush(); }

pJActionData TUndoMultiBuffer::Do(pJActionData Data) {
  const QPointer<JAction> Action = Data ? Data->Action : nullptr;
  pJActionData Reverse = Perform(Data);
  ShowPerformed(UndoAction, Action);
  if (Reverse) {
    try {
      FStack.push(Reverse);
    } catch (...) {
      delete Reverse;
      throw;
    }
  } else if (FStack.empty()) {
    ShowCantUndo(UndoAction);
  }
  return Reverse;
}

void TUndoMultiBuffer::Undo() {
  if (FStack.empty()) return;
  pJActionData Record = FStack.top();
  FStack.pop();
  const QPointer<JAction> Action = Record->Action;
  pJActionData Reverse;
  try {
    Reverse = Perform(Record);
  } catch (...) {
    // Not undone: the record stays the next one to undo.
    FStack.push(Record);
    throw;
  }
  ShowPerformed(UndoAction, Action);
  // This buffer does not redo: the reverse of an undo is dropped.
  if (Reverse != Record) delete Reverse;
  delete Record;
  if (FStack.empty()) ShowCantUndo(UndoAction);
}

void TUndoMultiBuffer::Flush() {
  while (!FStack.empty()) {
    delete FStack.top();
    FStack.pop();
  }
}
