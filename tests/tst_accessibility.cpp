// What a screen reader reads and hears, through QAccessible in the process:
// the score card as four tables, the dice, Roll! and the grand total
// following the game, the news said after a roll, a hold, an entry and an
// undo, the dialogs' controls and the library's controls on their own.
// (tests/screenreader plays the game through the desktop's accessibility
// bus, where the events travel; tst_mainform follows the card's cursor.)

#include "AboutForm.h"
#include "Accessibility.h"
#include "AnimatedLabel.h"
#include "BigScoreDlg.h"
#include "DiceImages.h"
#include "FancyButton.h"
#include "MainFormTestSupport.h"
#include "NumberEdit.h"
#include "Top10Form.h"
#include "URLStatic.h"
#include "UnitEdit.h"

using namespace quintor;

class TestAccessibility : public QObject, TMainFormDriver {
  Q_OBJECT

  static QAccessibleInterface *Of(QObject *Object) { return QAccessible::queryAccessibleInterface(Object); }
  static QString Name(QAccessibleInterface *Interface) { return Interface->text(QAccessible::Name); }
  QAccessibleTableInterface *Table(const char *Grid) { return Of(Child<TScoreGrid>(Grid))->tableInterface(); }
  QString Box(const char *Grid, int Row, int Col) { return Name(Table(Grid)->cellAt(Row, Col)); }
  QString Said() { return Form->Reader().Said().value(Form->Reader().Said().size() - 1); }
  QString RollReads() { return Of(Child<QPushButton>("RollButton"))->text(QAccessible::Description); }
  QString GrandTotalReads() { return Name(Of(Child<QLabel>("GrandTotal"))); }
  QUrl Opened;

 public slots:
  void Open(const QUrl &Url) { Opened = Url; }

 private slots:
  void init() { QVERIFY(OpenForm()); }

  void cardIsFourTables_data() {
    // Columns: Grid, Rows, LastRow.
    TTable<QString, int, QString>::Add();
    QTest::newRow("upper boxes") << "TopGrid" << 6 << "Sixes";
    QTest::newRow("lower boxes") << "BottomGrid" << 7 << "Chance";
    QTest::newRow("upper totals") << "TopTotal" << 3 << "Upper total";
    QTest::newRow("lower totals") << "BottomTotal" << 4 << "Triple Quintor";
  }

  // Rows are the categories, columns "column 1" to "column 3", both also as
  // the cells' headers; every cell is a child of the table once.
  void cardIsFourTables() {
    const auto [Grid, Rows, LastRow] = TTable<QString, int, QString>::Row();
    QAccessibleInterface *Grid_ = Of(Child<TScoreGrid>(qPrintable(Grid)));
    QAccessibleTableInterface *T = Grid_->tableInterface();
    QCOMPARE(QList<int>({Grid_->role(), T->rowCount(), T->columnCount(), Grid_->childCount()}),
             QList<int>({QAccessible::Table, Rows, ColumnCount, Rows * ColumnCount}));
    QAccessibleInterface *Last = T->cellAt(Rows - 1, 2);
    QAccessibleTableCellInterface *Cell = Last->tableCellInterface();
    QCOMPARE(Name(Last).section(QLatin1Char(':'), 0, 0), LastRow + ", column 3");
    QCOMPARE(Name(Cell->rowHeaderCells().value(0)) + "|" + Name(Cell->columnHeaderCells().value(0)),
             LastRow + "|column 3");
    QCOMPARE(QPoint(Cell->rowIndex(), Cell->columnIndex()), QPoint(Rows - 1, 2));
    QVERIFY(Grid_->indexOfChild(Last) == Rows * 3 - 1 && Last->parent() == Grid_ && T->cellAt(Rows, 0) == nullptr);
  }

  // A roll, a hold and its release by key, and an entry, are played over
  // the desktop's bus by tests/screenreader; here what that does not reach:
  // the exact readings, a hold by the tool's action, the undo, the last roll
  // and a new game.
  void readsAndSaysTheGame() {
    Form->Game().Seed(1);  // faces 5, 3, 3, 1, 5
    QCOMPARE(Box("TopGrid", erThrees, 1) + "|" + GrandTotalReads(), "Threes, column 2: open|Grand Total: 0");
    RollDice();
    QCOMPARE(Said() + u'|' + Box("TopGrid", erThrees, 1),
             "five, three, three, one, five; 2 rolls left|Threes, column 2: open, this throw scores 6");
    Of(Die(2))->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(Said(), "Die 3: three, held");
    QVERIFY(Name(Of(Die(2))) == Said() && Of(Die(2))->state().checked);

    Press(1, erThrees);
    QCOMPARE(Said(), "Threes, column 2: 6; grand total 12");
    QCOMPARE(Box("TopGrid", erThrees, 1) + "|" + Box("BottomTotal", 3, 1),
             "Threes, column 2: 6|Triple Quintor, column 2: 12");
    QCOMPARE(Name(Of(Die(2))) + "|" + RollReads(), "Die 3: not rolled yet|Dice not rolled yet; 3 rolls left");

    QTest::keyClick(Form.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(Said(), "Undone: Threes, column 2; grand total 0");
    QCOMPARE(Box("TopGrid", erThrees, 1), "Threes, column 2: open, this throw scores 6");
    RollDice();
    RollDice();
    QVERIFY2(RollReads().endsWith("; no rolls left"), qPrintable(RollReads()));
    Child<QAction>("New1")->trigger();
    QCOMPARE(Said(), "New game");
  }

  void dialogsNameTheirControls() {
    TAboutForm About(QuintorEmblem());
    QCOMPARE(Name(Of(About.findChild<QWidget *>("Image1"))), "Quintor emblem");
    About.show();
    QVERIFY(QTest::qWaitForWindowActive(&About));
    QCOMPARE(QApplication::focusWidget()->objectName(), "Button1");  // so that Enter still closes the box
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), "URLStatic1");
    TTop10Form TopTen(QDir::temp().filePath(QStringLiteral("quintor-reader-test")));
    QCOMPARE(Name(Of(TopTen.findChild<QWidget *>("ListView1"))), "Best Quintor Players");
    TBigScoreDlg Big;
    const auto Labels = Of(Big.findChild<QWidget *>("MRUCombo1"))->relations(QAccessible::Label);
    QVERIFY(!Labels.isEmpty() && Labels.first().first->object() == Big.findChild<QWidget *>("Message"));
  }

  // Each library control reads as what it is, wherever it is used.
  void libraryControlsReadThemselves() {
    QWidget Owner;
    auto *Button = new TFancyButton(&Owner), *Grouped = new TFancyButton(&Owner);
    Button->SetCaption(QStringLiteral("&Next"));
    Grouped->setAccessibleName(QStringLiteral("Bold"));
    Grouped->SetGroupIndex(1);
    Grouped->SetAllowAllUp(true);
    auto *Link = new TURLStatic(&Owner);
    Link->setText(QStringLiteral("Numbrook Software"));
    Link->SetURL(QStringLiteral("https://numbrook.example/"));
    auto *Label = new TAnimatedLabel(&Owner);
    Label->setText(QStringLiteral("Quintor"));
    auto *Length = new TUnitEdit(&Owner);
    Length->SetUnit(QStringLiteral("mm"));
    Owner.show();
    // Roles: 43 push button, 30 link, 41 static text, 42 editable text.
    const auto Read = [](QWidget *W) {
      QAccessibleInterface *I = Of(W);
      return QStringLiteral("%1 %2 (%3)").arg(I->role()).arg(Name(I), I->text(QAccessible::Description));
    };
    QCOMPARE(QStringList({Read(Button), Read(Grouped), Read(Link), Read(Label), Read(Length->focusProxy())}),
             QStringList({"43 Next ()", "43 Bold ()", "30 Numbrook Software (https://numbrook.example/)",
                          "41 Quintor ()", "42  (mm)"}));

    QSignalSpy Clicks(Button, &TFancyButton::OnClick);
    Of(Button)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    Of(Grouped)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QVERIFY(Clicks.size() == 1 && !Of(Button)->state().checkable && Of(Grouped)->state().checked);

    QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
    Link->setFocus();
    QTest::keyClick(Link, Qt::Key_Space);
    QCOMPARE(std::exchange(Opened, {}), QUrl(Link->GetURL()));
    Of(Link)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCOMPARE(Opened, QUrl(Link->GetURL()));
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
  }
};

QUINTOR_MAINFORM_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
