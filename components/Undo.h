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
// Design notes and a Qt Designer form: docs/components.md, section "Undo".

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
