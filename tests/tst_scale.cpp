// The main window drawn at the device pixel ratio CTest gives it through
// QT_SCALE_FACTOR (the program runs at 1, 1.25, 1.5, 2 and 3): every grid
// line, every ring of the sunken borders and bevels and the separator's two
// lines are the same whole number of device pixels wide, and a die's pip has
// straight edges with no colour between its rim and the face, as a face drawn
// at the device's resolution has and one scaled up from a small picture has
// not.

#include "DiceImages.h"
#include "MainFormTestSupport.h"

using namespace quintor;

namespace {

struct TRun {
  QRgb Color;
  int Length;
};
using TScan = std::vector<TRun>;

// The runs of one colour along a line of pixels from Start, Count steps.
TScan Runs(const QImage &Image, QPoint Start, QPoint Step, int Count) {
  TScan Found;
  for (QPoint P = Start; Count-- > 0 && Image.rect().contains(P); P += Step) {
    const QRgb Color = Image.pixel(P) | 0xFF000000u;
    if (!Found.empty() && Found.back().Color == Color)
      ++Found.back().Length;
    else
      Found.push_back({Color, 1});
  }
  return Found;
}

// Whether Scan's runs show Colors in this order: the first colour the first
// run's, each other the next run's or, with Gaps, any later run's. The
// widths of the matched runs but those of Fill go to Widths.
bool Shows(const TScan &Scan, const std::vector<QRgb> &Colors, bool Gaps, QRgb Fill, QSet<int> &Widths) {
  size_t I = 0;
  for (const QRgb Color : Colors) {
    while (Gaps && I > 0 && I < Scan.size() && Scan[I].Color != Color) ++I;
    if (I >= Scan.size() || Scan[I].Color != Color) return false;
    if (Color != Fill) Widths << Scan[I].Length;
    ++I;
  }
  return true;
}

}  // namespace

class TestScale : public QObject, TMainFormDriver {
  Q_OBJECT

  qreal Ratio = 1;

  // A widget's logical point as the device pixel of the window's picture.
  QPoint Device(QWidget *Widget, QPointF Logical) {
    const QPointF At = (QPointF(Widget->mapTo(Form.get(), QPoint(0, 0))) + Logical) * Ratio;
    return {qRound(At.x()), qRound(At.y())};
  }
  // Runs along a widget from From, by default to just past its far side.
  TScan Scan(const QImage &Picture, const char *Name, QPointF From, QPoint Step, int Count = 0) {
    QWidget *Widget = Child<QWidget>(Name);
    const int Across = Step.x() ? Widget->width() : Widget->height();
    return Runs(Picture, Device(Widget, From), Step, Count ? Count : qRound(Across * Ratio) + 2);
  }

 private slots:
  void init() {
    QVERIFY(OpenForm());
    Ratio = Form->devicePixelRatioF();
    qInfo("device pixel ratio %g", Ratio);
  }

  void linesAndBordersAreOneWidth() {
    const QImage Picture = Form->grab().toImage();
    const QPalette &Pal = Child<TScoreGrid>("TopGrid")->palette();
    const QRgb Mid = Pal.color(QPalette::Mid).rgb(), Face = Pal.color(QPalette::Button).rgb();
    const QRgb Shadow = Pal.color(QPalette::Shadow).rgb(), Light = Pal.color(QPalette::Light).rgb();
    const QRgb Dark = Pal.color(QPalette::Dark).rgb();
    QSet<int> Widths;
    const auto Expect = [&](const TScan &Scan, const std::vector<QRgb> &Colors, bool Gaps = false) {
      return Shows(Scan, Colors, Gaps, Face, Widths);
    };
    // Across the first row of cells and down the first column of each grid:
    // the outer ring's dark side and the inner ring's, a grid line between
    // each two cells, the inner ring's side in the face colour, and the
    // outer ring's light side. A box grid's last row lies below its
    // visible area.
    for (const char *Name : {"TopGrid", "TopTotal", "BottomGrid", "BottomTotal"}) {
      TScoreGrid *Grid = Child<TScoreGrid>(Name);
      const int Lines[2] = {ColumnCount, Grid->GetFixedRows() > 0 ? Grid->GetFixedRows() : Grid->GetRowCount()};
      const TScan Scans[2] = {Scan(Picture, Name, {0, 10}, {1, 0}), Scan(Picture, Name, {17, 0}, {0, 1})};
      for (int Way = 0; Way < 2; ++Way) {
        std::vector<QRgb> Colors = {Mid, Shadow};
        for (int Line = 0; Line < Lines[Way]; ++Line) Colors.insert(Colors.end(), {Face, Mid});
        Colors.insert(Colors.end(), {Face, Light});
        QVERIFY2(Expect(Scans[Way], Colors), qPrintable(QLatin1String(Name) + (Way ? " down" : " across")));
      }
    }
    // The panels' bevels, lowered outside and raised inside; the grand
    // total's sunken frame across and down (through the digit); the two lines
    // between the sections.
    for (const char *Name : {"DicePanel", "ScorePanel"})
      QVERIFY2(Expect(Scan(Picture, Name, {0, 250}, {1, 0}, qRound(2 * Ratio) + 2), {Mid, Light, Face}), Name);
    QVERIFY(Expect(Scan(Picture, "GrandTotal", {0, 14}, {1, 0}), {Dark, Light}, true) &&
            Expect(Scan(Picture, "GrandTotal", {48, 0}, {0, 1}), {Dark, Light}, true));
    const TScan Line = Scan(Picture, "Bevel1", {90, -2}, {0, 1}, qRound(7 * Ratio));
    QVERIFY(Line.size() == 4 && Expect(Line, {Face, Dark, Light, Face}));
    QVERIFY2(Widths.size() == 1 && *Widths.begin() >= 1 && *Widths.begin() <= Ratio, "lines of two widths");
  }

  // The score card's cursor on its first box: across every row of the
  // preview digit, its two rings and then a gap of the cell's colour.
  void previewDigitInsideTheCursor() {
    RollDice();
    TScoreGrid *Top = Child<TScoreGrid>("TopGrid");
    Top->setFocus(Qt::TabFocusReason);
    QVERIFY(Form->GetCursorRow() == 0 && !Top->Cell(0, 0).isEmpty());
    const QImage Picture = Form->grab().toImage();
    const QRgb Cursor = Top->palette().color(QPalette::Highlight).rgb(), Face = Top->palette().color(QPalette::Button).rgb();
    for (int Y = 4; Y <= 14; ++Y) {
      const TScan Across = Scan(Picture, "TopGrid", {2, Y + 0.5}, {1, 0}, qRound(15 * Ratio));
      QVERIFY2(Across.size() >= 2 && Across[0].Color == Cursor && Across[1].Color == Face, qPrintable(QString::number(Y)));
    }
  }

  // The five of die 1 (seed 1), across and down through its centre pip.
  void diePipsHaveSharpEdges() {
    Form->Game().Seed(1);
    RollDice();
    QCOMPARE(Form->ShownDie(0), 4);
    const QImage Picture = Form->grab().toImage();
    const QRgb Background = DieFaceColor(4).rgb(), Rim = qRgb(0, 0, 128), Core = qRgb(16, 16, 24);

    // The face square, found by its colour inside the button.
    QToolButton *Button = Die(0);
    QRect Square;
    for (int Y = Device(Button, {0, 0}).y(); Y < Device(Button, {40, 40}).y(); ++Y)
      for (int X = Device(Button, {0, 0}).x(); X < Device(Button, {40, 40}).x(); ++X)
        if ((Picture.pixel(X, Y) | 0xFF000000u) == Background) Square |= QRect(X, Y, 1, 1);
    QCOMPARE(Square.size(), QSize(qRound(DieFaceSize * Ratio), qRound(DieFaceSize * Ratio)));

    // The centre pip covers picture pixels 12 to 18 both ways.
    const QPoint Centre = Square.topLeft() + QPoint(1, 1) * static_cast<int>(15.5 * Ratio);
    for (const auto &[From, Step] : {std::pair{QPoint(Square.left(), Centre.y()), QPoint(1, 0)},
                                     std::pair{QPoint(Centre.x(), Square.top()), QPoint(0, 1)}}) {
      const TScan Pip = Runs(Picture, From, Step, Square.width());
      QSet<int> Widths;
      QVERIFY(Pip.size() == 5 && Shows(Pip, {Background, Rim, Core, Rim, Background}, false, 0, Widths));
      QCOMPARE(Pip[1].Length, Pip[3].Length);
      QCOMPARE(Pip[1].Length + Pip[2].Length + Pip[3].Length, qRound(7 * Ratio));
    }
  }
};

QUINTOR_MAINFORM_TEST_MAIN(TestScale)
#include "tst_scale.moc"
