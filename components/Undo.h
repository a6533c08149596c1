#pragma once

// Undo buffers that undo what the user did without knowing what any action
// means. A JAction stands for one kind of undoable action: its OnDo performs
// a record of that kind and hands back a new record that reverses what it
// did. A JActionData is such a record; applications derive their own records
// from it. TUndoSingleBuffer holds the one record that reverses the latest
// action, and undoing performs it and holds its reverse in turn, so that a
// second Undo redoes. TUndoMultiBuffer stacks the reversing records without
// limit and undoes them last in, first out; it has no redo.
//
// From code:
//
//   struct TTyped : JActionData {           // one record: a line to append
//     using JActionData::JActionData;
//     QString Line;
//   };
//   auto *Append = new JAction(Window), *Remove = new JAction(Window);
//   Append->Caption = "&Undo append";       // what the command reads once done
//   Remove->Caption = "&Redo append";
//   Append->OnDo = [=](JActionData *Data, JActionData *&Reverse) {
//     Lines.append(static_cast<TTyped *>(Data)->Line);
//     Reverse = new TTyped(Remove);          // the buffer owns what comes back
//   };
//   ...
//   auto *Buffer = new TUndoSingleBuffer(Window);
//   Buffer->UndoAction = ui->actionUndo;    // caption and enabled state follow
//   TTyped Typed(Append);
//   Typed.Line = "hello";
//   Buffer->Do(&Typed);                     // Typed stays the caller's
//   connect(ui->actionUndo, &QAction::triggered, Buffer, &TUndoSingleBuffer::Undo);
//
// None of the four is a widget, so a Qt Designer form does not hold them: the
// form holds the Undo QAction, and the actions and a buffer are made in code
// after setupUi() with the form as their owner. Caption and UndoAction are Qt
// properties.
//
// In Qt: the undo command (a toolkit action) is a QAction, its caption the
// text, its enabled state setEnabled. A buffer keeps it as a QPointer, so an
// undo command deleted before the buffer is simply no longer touched. OnDo is
// a std::function member; a record names its action through a QPointer too.
//
// Ownership: a record the application passes to Do stays the application's
// and the buffer never frees it. A record an OnDo handler hands back belongs
// to the buffer, which frees it when it is replaced or performed, flushed, or
// when the buffer goes; the reverse of a multi-level Undo is freed at once.
// Records are freed through JActionData's virtual destructor, so a derived
// record may hold members with resources of their own (a QString). A handler
// hands back a new record, or, when it performs a record the buffer holds,
// that very record (which the buffer then keeps instead of freeing it); it
// must not call the buffer that performs it.
//
// Cases the buffers settle:
// - A record that is nullptr or names no action: nothing is performed and no
//   reverse comes back; the undo command is not touched (there is no caption
//   to give it). An action without an OnDo handler: nothing is performed, no
//   reverse comes back, and the undo command takes the action's caption and
//   is enabled as after any other Do.
// - The place for the reverse starts as nullptr before each call, so a handler
//   that stores nothing returns none.
// - A multi-level handler that returns none: nothing is pushed (the stack
//   never holds a none), and when the stack is then empty the undo command
//   reads "Can't undo" and is disabled as after the last Undo.
// - A handler that raises: the exception passes through, and the buffer and
//   the undo command stay as they were: in Do of either buffer, and in Undo of
//   the multi-level buffer, where the record goes back on top of the stack. A
//   record the handler stored for the reverse before raising is freed.

#include <QAction>
#include <QObject>
#include <QPointer>
#include <QString>
#include <deque>
#include <functional>
#include <stack>

class JAction;

// A record of an undoable action. The first member names the action that
// performs it; derived records carry whatever that action's handler needs.
struct JActionData {
  QPointer<JAction> Action;

  explicit JActionData(JAction *Action = nullptr) : Action(Action) {}
  JActionData(const JActionData &) = default;
  JActionData &operator=(const JActionData &) = default;
  virtual ~JActionData() = default;
};

using pJActionData = JActionData *;

// Performs actionData and stores in newActionData a new record that reverses
// what it did, or leaves it nullptr.
using TJDoEvent = std::function<void(pJActionData actionData, pJActionData &newActionData)>;

Q_DECLARE_METATYPE(TJDoEvent)

class JAction : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Caption MEMBER Caption)
  Q_PROPERTY(TJDoEvent OnDo READ GetOnDo WRITE SetOnDo)

 public:
  explicit JAction(QObject *Owner = nullptr) : QObject(Owner) {}

  // The caption the undo command takes once a record of this action has
  // been performed.
  QString Caption;
  TJDoEvent OnDo;

 private:
  TJDoEvent GetOnDo() const { return OnDo; }
  void SetOnDo(const TJDoEvent &Value) { OnDo = Value; }
};

class TUndoSingleBuffer : public QObject {
  Q_OBJECT
  Q_PROPERTY(QAction *UndoAction READ GetUndoAction WRITE SetUndoAction)

 public:
  explicit TUndoSingleBuffer(QObject *Owner = nullptr) : QObject(Owner) {}
  ~TUndoSingleBuffer() override;

  // Performs Data, frees the record held until now and holds Data's reverse
  // (returned; it belongs to the buffer, and may be nullptr).
  pJActionData Do(pJActionData Data);
  // Performs the held record, if any, holding its reverse in turn.
  void Undo();
  bool GetCanUndo() const { return FUndoData != nullptr; }

  // Not owned; nullptr leaves only the records to change.
  QPointer<QAction> UndoAction;

 private:
  QAction *GetUndoAction() const { return UndoAction; }
  void SetUndoAction(QAction *Value) { UndoAction = Value; }

  pJActionData FUndoData = nullptr;
};

class TUndoMultiBuffer : public QObject {
  Q_OBJECT
  Q_PROPERTY(QAction *UndoAction READ GetUndoAction WRITE SetUndoAction)

 public:
  explicit TUndoMultiBuffer(QObject *Owner = nullptr) : QObject(Owner) {}
  ~TUndoMultiBuffer() override;

  // Performs Data and pushes its reverse (returned; it belongs to the buffer).
  pJActionData Do(pJActionData Data);
  // Performs the top record and frees it with the reverse it hands back;
  // "Can't undo" and disabled once the last one has been undone.
  void Undo();
  bool GetCanUndo() const { return !FStack.empty(); }
  // Frees every record; the undo command stays as it is.
  void Flush();

  QPointer<QAction> UndoAction;

  static constexpr const char *CantUndo = "Can't undo";

 private:
  QAction *GetUndoAction() const { return UndoAction; }
  void SetUndoAction(QAction *Value) { UndoAction = Value; }

  using TUndoStack = std::stack<pJActionData, std::deque<pJActionData>>;
  TUndoStack FStack;
};
