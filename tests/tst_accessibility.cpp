// What an assistive tool reads of the main window through QAccessible: the
// dice, the boxes of the score card, the totals, the grand total and the
// rolls left, before and after a roll and an entry, and the box under the
// card's cursor as the focused one. (The change events themselves reach a
// tool only where the platform runs one; the offscreen platform does not.)

#include "MainFormTestSupport.h"

using namespace quintor;

class TestAccessibility : public QObject, TMainFormDriver {
  Q_OBJECT

  static QAccessibleInterface *Of(QObject *Object) { return QAccessible::queryAccessibleInterface(Object); }
  QAccessibleInterface *Cell(const char *Grid, const char *Name) {
    QAccessibleInterface *Table = Of(Child<TScoreGrid>(Grid));
    for (int I = 0; I < Table->childCount(); ++I)
      if (Table->child(I)->text(QAccessible::Name) == QLatin1String(Name)) return Table->child(I);
    qFatal("no cell %s", Name);
  }
  // A cell's value; a die's or a control's name and value.
  QString ValueOf(const char *Grid, const char *Name) { return Cell(Grid, Name)->text(QAccessible::Value); }
  static QString Read(QAccessibleInterface *Interface) {
    return Interface->text(QAccessible::Name) + QLatin1String(" = ") + Interface->text(QAccessible::Value);
  }
  QString ReadDie3() { return Read(Of(Die(2))); }
  QString ReadRoll() { return Read(Of(Child<QPushButton>("RollButton"))); }

 private slots:
  void init() { QVERIFY(OpenForm()); }

  // Every box, total and die is there once under its own name; no hidden
  // cell of a grid is.
  void everyBoxIsNamedOnce() {
    QSet<QString> Names;
    int Count = 0;
    for (const char *Grid : {"TopGrid", "TopTotal", "BottomGrid", "BottomTotal"}) {
      QAccessibleInterface *Table = Of(Child<TScoreGrid>(Grid));
      QCOMPARE(Table->role(), QAccessible::Table);
      for (int I = 0; I < Table->childCount(); ++I, ++Count) {
        Names << Table->child(I)->text(QAccessible::Name);
        QVERIFY(Table->indexOfChild(Table->child(I)) == I && Table->child(I)->parent() == Table);
      }
    }
    QCOMPARE(Count, BoxCount + ColumnCount * 7);
    QCOMPARE(Names.size(), Count);
    QVERIFY(Names.contains("Three of a kind, column 3") && Names.contains("Triple Quintor, column 1"));
    for (int I = 0; I < DiceCount; ++I) QCOMPARE(Of(Die(I))->role(), QAccessible::CheckBox);
  }

  void namesAndValuesFollowTheGame() {
    Form->Game().Seed(1);  // faces 5, 3, 3, 1, 5
    QCOMPARE(ValueOf("TopGrid", "Threes, column 2"), "open");
    QCOMPARE(Read(Of(Child<QLabel>("GrandTotal"))), "Grand Total = 0");

    RollDice();
    QCOMPARE(ReadDie3(), "Die 3: three = three");
    QCOMPARE(ValueOf("TopGrid", "Threes, column 2"), "open, this throw scores 6");
    QCOMPARE(ReadRoll(), "Roll! = 2 rolls left");
    QTest::keyClick(Form.get(), Qt::Key_3);
    QCOMPARE(ReadDie3(), "Die 3: three, held = three, held");
    QVERIFY(Of(Die(2))->state().checked);
    // The die can be pressed by the tool, as a click would.
    Of(Die(2))->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!Form->IsDieHeld(2));

    Press(1, erThrees);
    QCOMPARE(ValueOf("TopGrid", "Threes, column 2"), "6");
    QCOMPARE(ValueOf("TopTotal", "Total, column 2"), "6");
    QCOMPARE(ValueOf("BottomTotal", "Triple Quintor, column 2"), "12");
    QCOMPARE(Read(Of(Child<QLabel>("GrandTotal"))), "Grand Total = 12");
    QCOMPARE(ReadDie3(), "Die 3: not rolled yet = not rolled yet");
    QCOMPARE(ReadRoll(), "Roll! = 3 rolls left");

    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(ValueOf("TopGrid", "Threes, column 2"), "open, this throw scores 6");
    QCOMPARE(ValueOf("TopTotal", "Total, column 2"), "0");
    RollDice();
    QCOMPARE(ReadRoll(), "Roll! = 1 roll left");
    RollDice();
    QCOMPARE(ReadRoll(), "Roll! = no rolls left");
  }

  // The card's cursor is the focus an assistive tool follows, in either grid.
  void cursorIsTheFocusedBox() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QAccessibleInterface *Ones = Cell("TopGrid", "Ones, column 1");
    QCOMPARE(Of(Child<TScoreGrid>("TopGrid"))->focusChild(), Ones);
    QVERIFY(Ones->state().focused);
    for (int Row = 0; Row < UpperRows; ++Row) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QAccessibleInterface *Lower = Cell("BottomGrid", "Three of a kind, column 1");
    QCOMPARE(Of(Child<TScoreGrid>("BottomGrid"))->focusChild(), Lower);
    QVERIFY(Lower->state().focused && !Ones->state().focused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(Of(Child<TScoreGrid>("BottomGrid"))->focusChild(), nullptr);
  }
};

QUINTOR_MAINFORM_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
