// The undo buffers: which records are performed in which order, what the
// undo command reads afterwards, and who frees what. Every record is a
// TRecord that counts itself, so each test ends by checking that exactly the
// records the test holds are alive: none leaked, none freed twice (the
// sanitizer build turns a double free into a failure of its own).

#include <QAction>
#include <QtTest>

#include "Undo.h"

namespace {

struct TRecord : JActionData {
  static inline int Alive = 0;
  QString Name;
  TRecord(JAction *Action, QString Name) : JActionData(Action), Name(std::move(Name)) { ++Alive; }
  ~TRecord() override { --Alive; }
};

QString NameOf(pJActionData Data) { return Data ? static_cast<TRecord *>(Data)->Name : QStringLiteral("none"); }

// An action whose handler logs "<caption>:<record>" and hands back a record
// of Reverse (none when Reverse is nullptr), named after the one performed.
struct TActions {
  QObject Owner;
  QStringList Log;
  QAction Command{QStringLiteral("&Undo")};
  JAction *Make(const QString &Caption, JAction *Reverse = nullptr, bool Throws = false) {
    auto *Action = new JAction(&Owner);
    Action->Caption = Caption;
    Action->OnDo = [this, Action, Reverse, Throws](pJActionData Data, pJActionData &New) {
      Log << Action->Caption + u':' + NameOf(Data);
      if (Reverse) New = new TRecord(Reverse, u'~' + NameOf(Data));
      if (Throws) throw std::runtime_error("handler failed");
    };
    return Action;
  }
  QString CommandState() const { return Command.text() + (Command.isEnabled() ? "" : " (disabled)"); }
};

}  // namespace

class TestUndo : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { QCOMPARE(TRecord::Alive, 0); }

  // A's handler returns a record of B, B's returns one of A: the one-level
  // buffer toggles between them, the command captioned after the action just
  // performed. The record handed to Do stays the caller's.
  void singleToggles() {
    TActions T;
    JAction *A = T.Make("Undo A");
    JAction *B = T.Make("Redo A", A);
    A->OnDo = [&, Inner = A->OnDo](pJActionData Data, pJActionData &New) {
      Inner(Data, New);
      New = new TRecord(B, u'~' + NameOf(Data));
    };
    TUndoSingleBuffer Buffer;
    Buffer.UndoAction = &T.Command;
    QVERIFY(!Buffer.GetCanUndo());
    Buffer.Undo();
    QCOMPARE(T.Log, QStringList{});
    QCOMPARE(T.CommandState(), "&Undo");  // untouched until the first Do

    TRecord Typed(A, "x");
    QCOMPARE(NameOf(Buffer.Do(&Typed)), "~x");
    QVERIFY(Buffer.GetCanUndo());
    QCOMPARE(T.CommandState(), "Undo A");
    Buffer.Undo();
    QCOMPARE(T.CommandState(), "Redo A");
    QCOMPARE(TRecord::Alive, 2);  // Typed and the held ~~x; ~x is gone
    Buffer.Undo();
    QCOMPARE(T.CommandState(), "Undo A");
    QCOMPARE(T.Log, (QStringList{"Undo A:x", "Redo A:~x", "Undo A:~~x"}));
    QVERIFY(Buffer.GetCanUndo());
  }

  // Two Dos in a row: the first reverse is freed and only the second is
  // undone. A handler returning none empties the buffer; Undo then does
  // nothing and the command keeps its last caption, enabled.
  void singleReplacesAndEmpties() {
    TActions T;
    JAction *Back = T.Make("Back");
    JAction *A = T.Make("Did A", Back);
    JAction *Final = T.Make("Did final");
    TUndoSingleBuffer Buffer;
    Buffer.UndoAction = &T.Command;
    TRecord One(A, "1"), Two(A, "2"), Three(Final, "3");
    Buffer.Do(&One);
    Buffer.Do(&Two);
    QCOMPARE(TRecord::Alive, 4);
    Buffer.Undo();
    QCOMPARE(T.Log, (QStringList{"Did A:1", "Did A:2", "Back:~2"}));
    QVERIFY(!Buffer.GetCanUndo());
    Buffer.Do(&Two);
    QCOMPARE(Buffer.Do(&Three), nullptr);
    QVERIFY(!Buffer.GetCanUndo());
    Buffer.Undo();
    QCOMPARE(T.Log.size(), 5);
    QCOMPARE(T.CommandState(), "Did final");
  }

  // Three Dos, undone newest first; after the third the command reads
  // "Can't undo" and is disabled, and a fourth Undo does nothing. The
  // reverses of undos are freed at once.
  void multiUndoesLastInFirstOut() {
    TActions T;
    JAction *Redo = T.Make("Undid");
    JAction *Back = T.Make("Undid", Redo);
    JAction *A = T.Make("Did A", Back);
    TUndoMultiBuffer Buffer;
    Buffer.UndoAction = &T.Command;
    TRecord R1(A, "1"), R2(A, "2"), R3(A, "3");
    for (TRecord *R : {&R1, &R2, &R3}) Buffer.Do(R);
    QCOMPARE(TRecord::Alive, 6);
    QCOMPARE(T.CommandState(), "Did A");
    Buffer.Undo();
    Buffer.Undo();
    QCOMPARE(T.CommandState(), "Undid");
    Buffer.Undo();
    QCOMPARE(T.CommandState(), "Can't undo (disabled)");
    QVERIFY(!Buffer.GetCanUndo());
    Buffer.Undo();
    QCOMPARE(T.Log.mid(3), (QStringList{"Undid:~3", "Undid:~2", "Undid:~1"}));
    QCOMPARE(TRecord::Alive, 3);
  }

  // Flush frees the stack and leaves the command as it was; so does a
  // buffer destroyed with records on it. Without an UndoAction, or with one
  // deleted first, only the records change.
  void multiFlushAndCommand() {
    TActions T;
    JAction *A = T.Make("Did A", T.Make("Back"));
    TRecord R(A, "r");
    {
      TUndoMultiBuffer Buffer;
      Buffer.UndoAction = &T.Command;
      Buffer.Do(&R);
      Buffer.Do(&R);
      Buffer.Flush();
      QVERIFY(!Buffer.GetCanUndo());
      QCOMPARE(T.CommandState(), "Did A");
      Buffer.Do(&R);
      auto *Gone = new QAction("gone");
      Buffer.UndoAction = Gone;
      delete Gone;
      Buffer.Do(&R);
      Buffer.Undo();
      QCOMPARE(Buffer.UndoAction, nullptr);
      QVERIFY(Buffer.GetCanUndo());
    }
    TUndoSingleBuffer Single;
    Single.Do(&R);
    QVERIFY(Single.GetCanUndo());
  }

  // The cases a handler or a record may leave open, for both buffers: a
  // record that is none or names no action, an action without a handler, a
  // handler that returns none, one that raises (in Do and in Undo), one that
  // stores a reverse before raising.
  void unusualRecords_data() {
    QTest::addColumn<QString>("Case");
    QTest::addColumn<bool>("Multi");
    for (const char *Case : {"none", "no action", "no handler", "returns none", "raises", "raises in undo"}) {
      QTest::addRow("single, %s", Case) << Case << false;
      QTest::addRow("multi, %s", Case) << Case << true;
    }
  }

  void unusualRecords() {
    QFETCH(QString, Case);
    QFETCH(bool, Multi);
    TActions T;
    JAction *Back = T.Make("Back", nullptr, Case == "raises in undo");
    JAction *Good = T.Make("Good", Back);
    JAction *Odd = Case == "no handler"     ? new JAction(&T.Owner)
                   : Case == "returns none" ? T.Make("Odd")
                                            : T.Make("Odd", Back, Case.startsWith("raises"));
    Odd->Caption = "Odd";
    TRecord First(Good, "first");
    TRecord Record(Case == "no action" ? nullptr : Odd, "odd");
    pJActionData Data = Case == "none" ? nullptr : &Record;
    TUndoSingleBuffer Single;
    TUndoMultiBuffer Stack;
    auto Do = [&](pJActionData D) { return Multi ? Stack.Do(D) : Single.Do(D); };
    auto CanUndo = [&] { return Multi ? Stack.GetCanUndo() : Single.GetCanUndo(); };
    (Multi ? Stack.UndoAction : Single.UndoAction) = &T.Command;
    Do(&First);
    QCOMPARE(T.CommandState(), "Good");

    if (Case == "raises") {
      QVERIFY_THROWS_EXCEPTION(std::runtime_error, Do(Data));
      QCOMPARE(T.CommandState(), "Good");
      QVERIFY(CanUndo());
      (Multi ? Stack.Undo() : Single.Undo());
      QCOMPARE(T.Log.last(), "Back:~first");
      return;
    }
    if (Case == "raises in undo") {
      QVERIFY_THROWS_EXCEPTION(std::runtime_error, (Multi ? Stack.Undo() : Single.Undo()));
      // Not undone: still the next record to undo, the command unchanged.
      QVERIFY(CanUndo());
      QCOMPARE(T.CommandState(), "Good");
      return;
    }
    QCOMPARE(Do(Data), nullptr);
    const bool Touched = Case == "no handler" || Case == "returns none";
    QCOMPARE(T.CommandState(), Touched ? "Odd" : "Good");
    // The single buffer dropped its record; the multi buffer pushed nothing
    // and still undoes the first action.
    QCOMPARE(CanUndo(), Multi);
    const QStringList Before = T.Log;
    (Multi ? Stack.Undo() : Single.Undo());
    QVERIFY(!CanUndo());
    QCOMPARE(T.Log, Multi ? Before + QStringList{"Back:~first"} : Before);
  }

  // The multi buffer on an empty stack: a handler returning none leaves
  // nothing to undo, and the command says so.
  void multiNothingToUndo() {
    TActions T;
    TUndoMultiBuffer Buffer;
    Buffer.UndoAction = &T.Command;
    TRecord R(T.Make("Final"), "r");
    Buffer.Do(&R);
    QCOMPARE(T.CommandState(), "Can't undo (disabled)");
  }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
