// The main window drawn at the device pixel ratio CTest gives it through
// QT_SCALE_FACTOR (the program runs at 1, 1.25, 1.5, 2 and 3): every grid
// line, every ring of the sunken borders and bevels and the separator's two
// lines are the same whole number of device pixels wide, and a die's pip has straight edges with no
// colour between its rim and the face, as a face drawn at the device's
// resolution has and one scaled up from a small picture has not.

#include <QtTest>
#include <QtWidgets>

#include "DiceImages.h"
#include "MainForm.h"
#include "QuintorApplication.h"
#include "ScoreGrid.h"
#include "StartUp.h"

using namespace quintor;

namespace {

struct TRun {
  QRgb Color;
  int Length;
};

// The runs of one colour along a line of pixels from Start, Count steps.
std::vector<TRun> Runs(const QImage &Image, QPoint Start, QPoint Step, int Count) {
  std::vector<TRun> Found;
  for (QPoint P = Start; Count-- > 0 && Image.rect().contains(P); P += Step) {
    const QRgb Color = Image.pixel(P) | 0xFF000000u;
    if (!Found.empty() && Found.back().Color == Color)
      ++Found.back().Length;
    else
      Found.push_back({Color, 1});
  }
  return Found;
}

}  // namespace

class TestScale : public QObject {
  Q_OBJECT

  std::unique_ptr<TMainForm> Form;
  qreal Ratio = 1;

  template <typename T>
  T *Child(const char *Name) {
    if (T *Found = Form->findChild<T *>(QLatin1String(Name))) return Found;
    qFatal("no child %s", Name);
  }
  // A widget's logical point as the device pixel of the window's picture.
  QPoint Device(QWidget *Widget, QPointF Logical) {
    const QPointF At = (QPointF(Widget->mapTo(Form.get(), QPoint(0, 0))) + Logical) * Ratio;
    return {qRound(At.x()), qRound(At.y())};
  }

 private slots:
  void init() {
    Form = std::make_unique<TMainForm>();
    Child<QCheckBox>("AnimationCheckbox")->setChecked(false);
    Form->show();
    QVERIFY(QTest::qWaitForWindowActive(Form.get()));
    Ratio = Form->devicePixelRatioF();
    qInfo("device pixel ratio %g", Ratio);
  }

  // Across the first row of cells and down the first column of each grid:
  // the rings of the border outside, the grid lines between the cells.
  void gridLinesAndBordersAreOneWidth() {
    const QImage Picture = Form->grab().toImage();
    const QPalette &Pal = Child<TScoreGrid>("TopGrid")->palette();
    const QRgb Mid = Pal.color(QPalette::Mid).rgb(), Face = Pal.color(QPalette::Button).rgb();
    const QRgb Shadow = Pal.color(QPalette::Shadow).rgb(), Light = Pal.color(QPalette::Light).rgb();
    QSet<int> Widths;
    for (const char *Name : {"TopGrid", "TopTotal", "BottomGrid", "BottomTotal"}) {
      TScoreGrid *Grid = Child<TScoreGrid>(Name);
      const int Across = qRound(Grid->width() * Ratio) + 2, Down = qRound(Grid->height() * Ratio) + 2;
      // A box grid's last row lies below its visible area.
      const bool Boxes = Grid->GetFixedRows() > 0;
      const int Lines[2] = {ColumnCount, Boxes ? Grid->GetFixedRows() : Grid->GetRowCount()};
      const std::vector<TRun> Scans[2] = {Runs(Picture, Device(Grid, {0, 10}), {1, 0}, Across),
                                          Runs(Picture, Device(Grid, {17, 0}), {0, 1}, Down)};
      for (int Way = 0; Way < 2; ++Way) {
        const std::vector<TRun> &Scan = Scans[Way];
        const QString Where = QStringLiteral("%1 %2").arg(QLatin1String(Name), Way ? "down" : "across");
        QVERIFY2(Scan.size() > 4 && Scan[0].Color == Mid && Scan[1].Color == Shadow, qPrintable(Where));
        Widths << Scan[0].Length << Scan[1].Length;
        int Found = 0;
        for (size_t I = 1; I + 1 < Scan.size(); ++I) {
          if (Scan[I].Color != Mid) continue;
          QVERIFY2(Scan[I - 1].Color == Face && Scan[I + 1].Color == Face, qPrintable(Where));
          Widths << Scan[I].Length;
          ++Found;
        }
        QCOMPARE(Found, Lines[Way]);
        // The inner ring's lighter side, then the outer ring's light one.
        const size_t End =
            std::find_if(Scan.begin(), Scan.end(), [&](const TRun &R) { return R.Color == Light; }) -
            Scan.begin();
        QVERIFY2(End < Scan.size() && Scan[End - 1].Color == Face, qPrintable(Where));
        Widths << Scan[End].Length;
      }
    }
    // The panels' bevels: lowered outside, raised inside.
    for (const char *Name : {"DicePanel", "ScorePanel"}) {
      QWidget *Panel = Child<QWidget>(Name);
      const std::vector<TRun> Scan = Runs(Picture, Device(Panel, {0, 250}), {1, 0}, 4);
      QVERIFY2(Scan.size() >= 2 && Scan[0].Color == Mid && Scan[1].Color == Light, Name);
      Widths << Scan[0].Length;
    }
    // The grand total's sunken frame, and the line between the sections.
    const QRgb Dark = Pal.color(QPalette::Dark).rgb();
    QWidget *Total = Child<QWidget>("GrandTotal");
    for (const auto &[From, Step] :
         {std::pair{QPointF(0, 14), QPoint(1, 0)}, std::pair{QPointF(48, 0), QPoint(0, 1)}}) {
      const std::vector<TRun> Scan = Runs(Picture, Device(Total, From), Step, qRound(Total->width() * Ratio));
      QVERIFY(Scan.size() >= 3 && Scan.front().Color == Dark);
      const auto Last =
          std::find_if(Scan.begin(), Scan.end(), [&](const TRun &R) { return R.Color == Light; });
      QVERIFY(Last != Scan.end());
      Widths << Scan.front().Length << Last->Length;
    }
    const std::vector<TRun> Line =
        Runs(Picture, Device(Child<QWidget>("Bevel1"), {90, -2}), {0, 1}, qRound(7 * Ratio));
    QVERIFY(Line.size() == 4 && Line[1].Color == Dark && Line[2].Color == Light);
    Widths << Line[1].Length << Line[2].Length;
    QCOMPARE(Widths.size(), 1);
    QVERIFY(*Widths.begin() >= 1 && *Widths.begin() <= Ratio);
  }

  // The five of die 1 (seed 1), across and down through its centre pip.
  void diePipsHaveSharpEdges() {
    Form->Game().Seed(1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(Form->ShownDie(0), 4);
    QToolButton *Die = Child<QToolButton>("SpeedButton1");
    const QImage Picture = Form->grab().toImage();
    const QRgb Background = DieFaceColor(4).rgb(), Rim = qRgb(0, 0, 128), Core = qRgb(16, 16, 24);

    // The face square, found by its colour inside the button.
    const QRect Button(Device(Die, {0, 0}), Device(Die, {40, 40}) - QPoint(1, 1));
    QRect Square;
    for (int Y = Button.top(); Y <= Button.bottom(); ++Y)
      for (int X = Button.left(); X <= Button.right(); ++X)
        if ((Picture.pixel(X, Y) | 0xFF000000u) == Background) Square |= QRect(X, Y, 1, 1);
    QCOMPARE(Square.width(), qRound(DieFaceSize * Ratio));
    QCOMPARE(Square.height(), Square.width());

    // The centre pip covers picture pixels 12 to 18 both ways.
    const int Middle = static_cast<int>(15.5 * Ratio);
    const QPoint Centre = Square.topLeft() + QPoint(Middle, Middle);
    for (const auto &[From, Step] : {std::pair{QPoint(Square.left(), Centre.y()), QPoint(1, 0)},
                                     std::pair{QPoint(Centre.x(), Square.top()), QPoint(0, 1)}}) {
      const std::vector<TRun> Scan = Runs(Picture, From, Step, Square.width());
      QCOMPARE(Scan.size(), size_t(5));
      const QRgb Expected[5] = {Background, Rim, Core, Rim, Background};
      for (int I = 0; I < 5; ++I) QCOMPARE(Scan[I].Color, Expected[I]);
      QCOMPARE(Scan[1].Length, Scan[3].Length);
      QCOMPARE(Scan[1].Length + Scan[2].Length + Scan[3].Length, qRound(7 * Ratio));
    }
  }
};

int main(int argc, char *argv[]) {
  TQuintorApplication App(argc, argv);
  InitApplication(App);
  TestScale Test;
  return QTest::qExec(&Test, argc, argv);
}

#include "tst_scale.moc"
