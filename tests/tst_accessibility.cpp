// What an assistive tool reads of the main window through QAccessible: the
// dice, the boxes of the score card, the totals, the grand total and the
// rolls left, before and after a roll and an entry, and the box under the
// card's cursor as the focused one. (The change events themselves reach a
// tool only where the platform runs one; the offscreen platform does not.)

#include <QtTest>
#include <QtWidgets>

#include "MainForm.h"
#include "QuintorApplication.h"
#include "ScoreGrid.h"
#include "StartUp.h"

using namespace quintor;

class TestAccessibility : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> Form;

  template <typename T>
  T *Child(const char *Name) {
    if (T *Found = Form->findChild<T *>(QLatin1String(Name))) return Found;
    qFatal("no child %s", Name);
  }
  static QAccessibleInterface *Of(QObject *Object) { return QAccessible::queryAccessibleInterface(Object); }
  QAccessibleInterface *Die(int I) {
    return Of(Child<QToolButton>(qPrintable(QStringLiteral("SpeedButton%1").arg(I + 1))));
  }
  QAccessibleInterface *Cell(const char *Grid, const QString &Name) {
    QAccessibleInterface *Table = Of(Child<TScoreGrid>(Grid));
    for (int I = 0; I < Table->childCount(); ++I)
      if (Table->child(I)->text(QAccessible::Name) == Name) return Table->child(I);
    qFatal("no cell %s", qPrintable(Name));
  }
  static QString Read(QAccessibleInterface *Interface) {
    return Interface->text(QAccessible::Name) + QLatin1String(" = ") + Interface->text(QAccessible::Value);
  }
  void Roll() { QTest::mouseClick(Child<QPushButton>("RollButton"), Qt::LeftButton); }

 private slots:
  void init() {
    Form = std::make_unique<TMainForm>();
    Child<QCheckBox>("AnimationCheckbox")->setChecked(false);
    Form->show();
    QVERIFY(QTest::qWaitForWindowActive(Form.get()));
  }

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
        QCOMPARE(Table->indexOfChild(Table->child(I)), I);
        QCOMPARE(Table->child(I)->parent(), Table);
      }
    }
    QCOMPARE(Count, BoxCount + ColumnCount * 7);
    QCOMPARE(Names.size(), Count);
    QVERIFY(Names.contains(QStringLiteral("Three of a kind, column 3")));
    QVERIFY(Names.contains(QStringLiteral("Triple Quintor, column 1")));
    for (int I = 0; I < DiceCount; ++I) QCOMPARE(Die(I)->role(), QAccessible::CheckBox);
  }

  void namesAndValuesFollowTheGame() {
    Form->Game().Seed(1);  // faces 5, 3, 3, 1, 5
    QCOMPARE(Read(Die(2)), QStringLiteral("Die 3: not rolled yet = not rolled yet"));
    QCOMPARE(Read(Cell("TopGrid", QStringLiteral("Threes, column 2"))),
             QStringLiteral("Threes, column 2 = open"));
    QCOMPARE(Read(Of(Child<QPushButton>("RollButton"))), QStringLiteral("Roll! = 3 rolls left"));
    QCOMPARE(Read(Of(Child<QLabel>("GrandTotal"))), QStringLiteral("Grand Total = 0"));

    Roll();
    QCOMPARE(Read(Die(2)), QStringLiteral("Die 3: three = three"));
    QCOMPARE(Read(Cell("TopGrid", QStringLiteral("Threes, column 2"))),
             QStringLiteral("Threes, column 2 = open, this throw scores 6"));
    QCOMPARE(Read(Of(Child<QPushButton>("RollButton"))), QStringLiteral("Roll! = 2 rolls left"));
    QTest::keyClick(Form.get(), Qt::Key_3);
    QCOMPARE(Read(Die(2)), QStringLiteral("Die 3: three, held = three, held"));
    QVERIFY(Die(2)->state().checked);

    // The die can be pressed by the tool, as a click would.
    Die(2)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!Form->IsDieHeld(2));

    QTest::mouseClick(Child<TScoreGrid>("TopGrid"), Qt::LeftButton, {}, QPoint(2 + 31 + 12, 2 + 2 * 17 + 8));
    QCOMPARE(Read(Cell("TopGrid", QStringLiteral("Threes, column 2"))),
             QStringLiteral("Threes, column 2 = 6"));
    QCOMPARE(Read(Cell("TopTotal", QStringLiteral("Total, column 2"))),
             QStringLiteral("Total, column 2 = 6"));
    QCOMPARE(Read(Cell("BottomTotal", QStringLiteral("Triple Quintor, column 2"))),
             QStringLiteral("Triple Quintor, column 2 = 12"));
    QCOMPARE(Read(Of(Child<QLabel>("GrandTotal"))), QStringLiteral("Grand Total = 12"));
    QCOMPARE(Read(Die(2)), QStringLiteral("Die 3: not rolled yet = not rolled yet"));
    QCOMPARE(Read(Of(Child<QPushButton>("RollButton"))), QStringLiteral("Roll! = 3 rolls left"));

    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Read(Cell("TopGrid", QStringLiteral("Threes, column 2"))),
             QStringLiteral("Threes, column 2 = open, this throw scores 6"));
    QCOMPARE(Read(Cell("TopTotal", QStringLiteral("Total, column 2"))),
             QStringLiteral("Total, column 2 = 0"));
  }

  // The card's cursor is the focus an assistive tool follows, in either grid.
  void cursorIsTheFocusedBox() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QAccessibleInterface *Ones = Cell("TopGrid", QStringLiteral("Ones, column 1"));
    QCOMPARE(Of(Child<TScoreGrid>("TopGrid"))->focusChild(), Ones);
    QVERIFY(Ones->state().focused);
    for (int Row = 0; Row < UpperRows; ++Row) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QAccessibleInterface *Lower = Cell("BottomGrid", QStringLiteral("Three of a kind, column 1"));
    QCOMPARE(Of(Child<TScoreGrid>("BottomGrid"))->focusChild(), Lower);
    QVERIFY(Lower->state().focused && !Ones->state().focused);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(Of(Child<TScoreGrid>("BottomGrid"))->focusChild(), nullptr);
  }
};

int main(int argc, char *argv[]) {
  TQuintorApplication App(argc, argv);
  InitApplication(App);
  TestAccessibility Test;
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_accessibility.moc"
