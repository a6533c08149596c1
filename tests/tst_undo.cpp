// The undo buffers, driven by scripts of Do, Undo and Flush calls: which
// records are performed in which order, what the undo command reads after
// the script, and who frees what. Records count themselves, so each row ends
// with no buffer's record left alive; the records handed to Do belong to the
// test, and a buffer freeing one fails the sanitizer build as a double free.

#include <QAction>

#include "TestSupport.h"
#include "Undo.h"

namespace {

struct TRecord : JActionData {
  static inline int Alive = 0;
  QString Name;
  TRecord(JAction *Action, QString Name) : JActionData(Action), Name(std::move(Name)) { ++Alive; }
  ~TRecord() override { --Alive; }
};

}  // namespace

class TestUndo : public QObject {
  Q_OBJECT

 private slots:
  // Script tokens: a letter Does a new record of that action; "0" one that
  // names no action; "u" Undo; "f" Flush; "d" deletes the undo command.
  // Actions: A and B reverse each other; N returns none; H has no handler;
  // X stores a reverse of A and raises; Y's reverse is a record of X; Z's
  // reverse is a record of S, which hands back the very record it performs.
  void scripts_data() {
    // Columns: Multi, Script, Logged (the records performed), Caption (of the undo command), CanUndo.
    TTable<bool, QString, QString, QString, bool>::Add();
    auto Row = [](const char *Name, bool Multi, const char *Script, const char *Log, const char *Command, bool Can) {
      QTest::newRow(Name) << Multi << Script << Log << Command << Can;
    };
    Row("single toggles", false, "A u u", "A:a1 B:~a1 A:~~a1", "A", true);
    Row("single, second Do replaces", false, "A A u", "A:a1 A:a2 B:~a2", "B", true);
    Row("single, none returned", false, "A N u", "A:a1 N:n2", "N", false);
    Row("single, nothing done yet", false, "u", "", "&Undo", false);
    Row("multi, three undos", true, "A A A u u u u", "A:a1 A:a2 A:a3 B:~a3 B:~a2 B:~a1", "Can't undo (off)", false);
    Row("multi, flush", true, "A A f", "A:a1 A:a2", "A", false);
    Row("multi, none on records", true, "A N", "A:a1 N:n2", "N", true);
    Row("multi, none on empty", true, "N", "N:n1", "Can't undo (off)", false);
    Row("command deleted", true, "A d u A", "A:a1 B:~a1 A:a2", "gone", true);
    Row("single, the held record handed back", false, "Z u u", "Z:z1 S:~z1 S:~z1", "S", true);
    Row("multi, the record handed back", true, "Z u u", "Z:z1 S:~z1", "Can't undo (off)", false);
    for (bool Multi : {false, true}) {
      const char *Kind = Multi ? "multi" : "single";
      Row(qPrintable(QStringLiteral("%1, no action").arg(Kind)), Multi, "A 0", "A:a1", "A", Multi);
      Row(qPrintable(QStringLiteral("%1, no handler").arg(Kind)), Multi, "A H", "A:a1", "H", Multi);
      Row(qPrintable(QStringLiteral("%1, raises in Do").arg(Kind)), Multi, "A X u", "A:a1 X:x2 raised B:~a1",
          Multi ? "Can't undo (off)" : "B", !Multi);
      Row(qPrintable(QStringLiteral("%1, raises in Undo").arg(Kind)), Multi, "Y u", "Y:y1 X:~y1 raised", "Y", true);
    }
  }

  void scripts() {
    const auto [Multi, Script, Logged, Caption, CanUndo] = TTable<bool, QString, QString, QString, bool>::Row();
    const int AliveBefore = TRecord::Alive;
    QObject Owner;
    QStringList Log;
    QMap<QChar, JAction *> Actions;
    for (QChar Name : QStringLiteral("ABNHXYZS")) (Actions[Name] = new JAction(&Owner))->Caption = Name;
    struct TKind {
      QChar Name, Reverse;  // '-': none, '=': the record performed
      bool Raises;
    };
    for (TKind K : {TKind{'A', 'B', false}, {'B', 'A', false}, {'N', '-', false}, {'X', 'A', true}, {'Y', 'X', false},
                    {'Z', 'S', false}, {'S', '=', false}})
      Actions[K.Name]->OnDo = [&, K](pJActionData Data, pJActionData &New) {
        const QString Performed = static_cast<TRecord *>(Data)->Name;
        Log << K.Name + u':' + Performed;
        if (K.Reverse == u'=')
          New = Data;
        else if (K.Reverse != u'-')
          New = new TRecord(Actions[K.Reverse], u'~' + Performed);
        if (K.Raises) throw std::runtime_error("refused");
      };
    QPointer<QAction> Command = new QAction(QStringLiteral("&Undo"), &Owner);
    std::vector<std::unique_ptr<TRecord>> Given;
    {
      TUndoSingleBuffer Single;
      TUndoMultiBuffer Stack;
      Single.UndoAction = Stack.UndoAction = Command;
      for (const QString &Token : Script.split(u' ')) try {
          if (Token == "u") {
            Multi ? Stack.Undo() : Single.Undo();
          } else if (Token == "f") {
            Stack.Flush();
          } else if (Token == "d") {
            delete Command;
          } else {
            const QString Name = Token.toLower() + QString::number(Given.size() + 1);
            Given.push_back(std::make_unique<TRecord>(Token == "0" ? nullptr : Actions[Token[0]], Name));
            Multi ? Stack.Do(Given.back().get()) : Single.Do(Given.back().get());
          }
        } catch (const std::runtime_error &) {
          Log << "raised";
        }
      QCOMPARE(Log.join(u' '), Logged);
      QCOMPARE(Command ? Command->text() + (Command->isEnabled() ? "" : " (off)") : QStringLiteral("gone"), Caption);
      QCOMPARE(Multi ? Stack.GetCanUndo() : Single.GetCanUndo(), CanUndo);
    }
    QCOMPARE(TRecord::Alive - AliveBefore, int(Given.size()));
  }
};

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
