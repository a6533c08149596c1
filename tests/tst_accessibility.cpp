// What a screen reader reads and hears, through QAccessible in the process:
// the score card as four tables, the dice, Roll! and the grand total
// following the game, the news said after a roll, a hold, an entry and an
// undo, the dialogs' controls and the library's controls on their own.
// (tests/screenreader plays the game through the desktop's accessibility
// bus, where the events travel; tst_mainform follows the card's cursor.)
//
// And what the eye reads: the board and the about box under the default
// light palette and under a dark desktop palette, measured on the drawn
// pixels as contrast ratios: text and pips stand out at least 4.5 to 1 from
// what they stand on, grid lines and the held die's ring at least 3 to 1. A
// light palette keeps the game's own colours (its grid lines among them); a
// dark one takes readable ones.

#include "AboutForm.h"
#include "Accessibility.h"
#include "AnimatedLabel.h"
#include "BigScoreDlg.h"
#include "DiceImages.h"
#include "DieButton.h"
#include "FancyButton.h"
#include "MainFormTestSupport.h"
#include "NumberEdit.h"
#include "Top10Form.h"
#include "URLStatic.h"
#include "UnitEdit.h"

using namespace quintor;

namespace {

// A desktop's dark theme with the roles Qt derives from its grey: light
// text, lines darker than the face, and the link in plain blue.
const QPalette DarkPalette(QColor(50, 50, 50), QColor(50, 50, 50));

// The greatest contrast between a pixel of Area and Background.
qreal Strongest(const QImage &Image, const QRect &Area, const QColor &Background) {
  qreal Best = 1;
  for (int Y = Area.top(); Y <= Area.bottom(); ++Y)
    for (int X = Area.left(); X <= Area.right(); ++X)
      Best = std::max(Best, ContrastRatio(Image.pixelColor(X, Y), Background));
  return Best;
}

}  // namespace

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
  QImage Picture;
  // The colour of a widget's logical point in Picture, a grab of its window.
  QColor At(QWidget *Widget, QPoint Point) const {
    return Picture.pixelColor(Widget->mapTo(Widget->window(), Point) * Picture.devicePixelRatio());
  }
  // A widget's rectangle, or part of it, in Picture.
  QRect Area(QWidget *Widget, QRect Part = {}) const {
    const QRect Local = Part.isNull() ? Widget->rect() : Part;
    const qreal R = Picture.devicePixelRatio();
    return {Widget->mapTo(Widget->window(), Local.topLeft()) * R, Local.size() * R};
  }
  // Whether Part of Widget holds text that stands out from the pixel at Part's top left.
  bool Legible(QWidget *Widget, QRect Part = {}) const {
    const QRect Where = Area(Widget, Part);
    const qreal Ratio = Strongest(Picture, Where, Picture.pixelColor(Where.topLeft()));
    if (Ratio < MinTextContrast) qWarning("%s: %.2f", qPrintable(Widget->objectName()), Ratio);
    return Ratio >= MinTextContrast;
  }

 public slots:
  void Open(const QUrl &Url) { Opened = Url; }

 private slots:
  void init() { QVERIFY(OpenForm()); }
  void cleanup() { QApplication::setPalette(QPalette()); }

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

  void contrastRatio() {
    QCOMPARE(ContrastRatio(Qt::black, Qt::white), 21.0);
    QCOMPARE(qRound(ContrastRatio(QColor(16, 16, 24), QColor(55, 55, 55)) * 10), 16);  // dark pips on a dark face
    // Darkened just far enough where lightening cannot reach.
    const QColor Grey(128, 128, 128);
    QCOMPARE(qFloor(ContrastRatio(Readable(QColor(25, 25, 154), Grey, 4.5), Grey) * 10), 45);
  }

  void readable_data() {
    QTest::addColumn<bool>("Dark");
    QTest::newRow("default light palette") << false;
    QTest::newRow("dark palette") << true;
  }

  // A filled card, die 2 held, in both dice sets; then the about box.
  void readable() {
    QFETCH(bool, Dark);
    if (Dark) QApplication::setPalette(DarkPalette);  // as a desktop switching its theme
    QApplication::processEvents();  // the change reaches the widgets as posted events
    QCOMPARE(IsDarkPalette(Form->palette()), Dark);
    Form->Game().Seed(3);  // 1-5-6-4-6
    RollDice();
    Press(0, erSixes);
    RollDice();
    QTest::mouseClick(Die(1), Qt::LeftButton);
    auto *Held = static_cast<TDieButton *>(Die(1));

    for (const bool Colored : {true, false}) {
      Child<QCheckBox>("CheckBox1")->setChecked(Colored);
      Picture = Form->grab().toImage();
      // The held die's ring, against the free die's button face at the same place.
      const QPoint Ring = Held->FaceRect().topLeft() - QPoint(2, 2);
      for (const QPoint Where : {Ring, Ring + QPoint(20, 0)})
        QVERIFY(ContrastRatio(At(Held, Where), At(Die(0), Where)) >= MinMarkContrast);
      // Its inner line against the face it frames.
      if (Colored) {
        QVERIFY(ContrastRatio(At(Held, Ring + QPoint(1, 1)), At(Held, Ring + QPoint(2, 2))) >= MinMarkContrast);
        continue;
      }
      // Plain pips on the button face, and on the held die's checkered face.
      auto *Free = static_cast<TDieButton *>(Die(0));
      const QPoint Corner = Free->FaceRect().topLeft(), Marked = Held->FaceRect().topLeft();
      QVERIFY(Strongest(Picture, Area(Free, Free->FaceRect()), At(Free, Corner)) >= MinTextContrast);
      for (const QPoint Dither : {Marked, Marked + QPoint(1, 0)})
        QVERIFY(Strongest(Picture, Area(Held, Held->FaceRect()), At(Held, Dither)) >= MinTextContrast);
    }

    // Text on the panel, in the totals and the grand total; a grid line
    // between two empty cells of the top grid.
    for (const char *Name : {"Label11", "LabelTotal", "LabelC"}) QVERIFY2(Legible(Child<QWidget>(Name)), Name);
    QVERIFY(Legible(Child<QWidget>("RollButton"), QRect(15, 4, 45, 17)) &&
            Legible(Child<QWidget>("GrandTotal"), QRect(3, 3, 90, 23)));
    auto *Totals = Child<TScoreGrid>("TopTotal");
    QVERIFY(Legible(Totals, Totals->CellRect(0, 0).translated(Totals->ClientOrigin())));
    auto *Top = Child<TScoreGrid>("TopGrid");
    const QPoint Line = Top->ClientOrigin() + QPoint(61, 20), Cell = Line - QPoint(5, 0);
    if (Dark)
      QVERIFY(ContrastRatio(At(Top, Line), At(Top, Cell)) >= MinMarkContrast);
    else  // the game's own look
      QCOMPARE(At(Top, Line).rgb(), Top->palette().color(QPalette::Mid).rgb());

    TAboutForm About(QuintorEmblem(), Form.get());
    About.show();
    QVERIFY(QTest::qWaitForWindowExposed(&About));
    Picture = About.grab().toImage();
    for (const char *Name : {"TitleLabel", "Label1", "URLStatic1"})
      QVERIFY2(Legible(About.findChild<QWidget *>(Name)), Name);
    if (!Dark) QCOMPARE(About.findChild<QWidget *>("URLStatic1")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
  }
};

QUINTOR_MAINFORM_TEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
