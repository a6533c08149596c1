// The board and the about box under the default light palette and under a
// dark desktop palette, measured on the drawn pixels as contrast ratios:
// text and pips stand out at least 4.5 to 1 from what they stand on, grid
// lines and the held die's ring at least 3 to 1. A light palette keeps the
// game's own colours (its grid lines among them); a dark one takes readable
// ones.

#include "AboutForm.h"
#include "DieButton.h"
#include "MainFormTestSupport.h"
#include "URLStatic.h"

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

class TestPalette : public QObject, TMainFormDriver {
  Q_OBJECT

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

 private slots:
  void cleanup() { QApplication::setPalette(QPalette()); }

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
    QVERIFY(OpenForm());
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
      for (const QPoint At : {Ring, Ring + QPoint(20, 0)})
        QVERIFY(ContrastRatio(this->At(Held, At), this->At(Die(0), At)) >= MinMarkContrast);
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

QUINTOR_MAINFORM_TEST_MAIN(TestPalette)
#include "tst_palette.moc"
