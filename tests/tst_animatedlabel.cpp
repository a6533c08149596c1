// The animated label: where its caption lands and in which colour at each
// step of the three effects, and its timer. The counter is driven through the
// tick handler, with the label's own timer slowed to an hour so that it never
// interferes, except in the test of the timer itself. Fonts are drawn without
// antialiasing so that every pixel of a glyph has the text colour exactly.

#include <QPainter>
#include <set>

#include "AnimatedLabel.h"
#include "TestSupport.h"

namespace {

const QColor ButtonFace(0, 128, 64);  // unlike any colour a fade passes through
const QString Caption = QStringLiteral("Quintor &Dice");

QFont TestFont() {
  QFont Face(QStringLiteral("DejaVu Sans"));
  Face.setPixelSize(20);
  Face.setStyleStrategy(QFont::NoAntialias);
  return Face;
}

// A label Width by 40 showing Caption in Text on Background, Steps ticks on.
void Prepare(TAnimatedLabel &Label, int Width, QColor Text, QColor Background, int Steps = 0) {
  Label.SetInterval(3600 * 1000);
  Label.setText(Caption);
  Label.setFont(TestFont());
  Label.resize(Width, 40);
  QPalette Colours = Label.palette();
  Colours.setColor(QPalette::WindowText, Text);
  Colours.setColor(QPalette::Button, ButtonFace);
  Label.setPalette(Colours);
  Label.SetColor(Background);
  for (int I = 0; I < Steps; ++I) Label.OnTimer(&Label);
}

// The leftmost and rightmost columns and the top row of black in Image.
std::tuple<int, int, int> InkOf(const QImage &Image) {
  int Left = -1, Right = -1, Top = -1;
  for (int Y = 0; Y < Image.height(); ++Y)
    for (int X = 0; X < Image.width(); ++X)
      if (QColor(Image.pixel(X, Y)) == Qt::black) {
        Left = Left < 0 ? X : std::min(Left, X);
        Right = std::max(Right, X);
        Top = Top < 0 ? Y : Top;
      }
  return {Left, Right, Top};
}

}  // namespace

class TestAnimatedLabel : public QObject {
  Q_OBJECT

 private slots:
  // Hidden for the first ten ticks, shown for the next ten, hidden again;
  // shown means the ordinary, opaque label.
  void flash() {
    TAnimatedLabel Label;
    Prepare(Label, 160, Qt::black, Qt::white);
    Label.AnimationType = TAnimatedLabel::atFlash;
    for (int Step = 0; Step < 30; ++Step, Label.OnTimer(&Label)) {
      const QImage Image = Label.grab().toImage();
      const bool Shown = Step >= 10 && Step < 20;
      QVERIFY2((std::get<0>(InkOf(Image)) != -1) == Shown, qPrintable(QString::number(Step)));
      QCOMPARE(QColor(Image.pixel(150, 35)), Shown ? QColor(Qt::white) : ButtonFace);
    }
  }

  void fade_data() {
    // Columns: Text, Background, Step, Drawn.
    TTable<QColor, QColor, int, QColor>::Add();
    const QColor Black(0, 0, 0), White(255, 255, 255), Grey(114, 114, 114);
    QTest::newRow("black on white, fading in, first step") << Black << White << 0 << White;
    QTest::newRow("black on white, halfway in, cut toward zero") << Black << White << 5 << Grey;
    QTest::newRow("black on white, fading in, last step") << Black << White << 9 << Black;
    QTest::newRow("black on white, fading out, first step") << Black << White << 10 << Black;
    QTest::newRow("black on white, fading out, last step") << Black << White << 19 << White;
    QTest::newRow("second cycle") << Black << White << 25 << Grey;
    QTest::newRow("red to green, out, cut toward zero both ways")
        << QColor(255, 0, 40) << QColor(0, 255, 40) << 14 << QColor(142, 113, 40);
  }

  // The counter runs while nothing is animated; the fade then starts in the
  // middle of its cycle. Only the caption's cell gets the button face.
  void fade() {
    const auto [Text, Background, Step, Drawn] = TTable<QColor, QColor, int, QColor>::Row();
    TAnimatedLabel Label;
    Prepare(Label, 200, Text, Background, Step);
    Label.AnimationType = TAnimatedLabel::atFade;
    const QImage Image = Label.grab().toImage();
    const QRect Cell(QPoint(0, 0), QFontMetrics(TestFont()).size(Qt::TextSingleLine, Caption));
    std::set<QRgb> InCell;
    for (int Y = 0; Y < Cell.height(); ++Y)
      for (int X = 0; X < Cell.width(); ++X) InCell.insert(Image.pixel(X, Y));
    QCOMPARE(InCell, (std::set<QRgb>{ButtonFace.rgb(), Drawn.rgb()}));
    QCOMPARE(QColor(Image.pixel(195, 38)), Background);
  }

  void fly_data() {
    // Columns: Step, X.
    TTable<int, int>::Add();
    QTest::newRow("two pixels a tick") << 1 << 98;
    QTest::newRow("at the left edge") << 50 << 0;
    QTest::newRow("last step, mostly gone") << 99 << -98;
    QTest::newRow("starts again at the right edge") << 101 << 98;
  }

  // The caption's top at the label's top on a label all button face, the
  // alignment asked for playing no part: the same columns and top row of ink
  // as the caption drawn at (X, 0) by hand, clipped to the label.
  void fly() {
    const auto [Step, X] = TTable<int, int>::Row();
    TAnimatedLabel Label;
    Prepare(Label, 100, Qt::black, Qt::white, Step);
    Label.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QCOMPARE(Label.alignment(), Qt::AlignRight | Qt::AlignTop);
    Label.AnimationType = TAnimatedLabel::atFly;
    const QImage Image = Label.grab().toImage();
    QImage Wide(500, 40, QImage::Format_RGB32);
    Wide.fill(Qt::white);
    QPainter Canvas(&Wide);
    Canvas.setFont(TestFont());
    Canvas.drawText(QRect(200 + X, 0, 300, 40), Qt::AlignLeft | Qt::AlignTop, Caption);
    Canvas.end();
    const auto Expected = InkOf(Wide.copy(200, 0, 100, 40));
    QCOMPARE(InkOf(Image), Expected);
    if (X == 98) QVERIFY(std::get<0>(Expected) != -1);  // the "Q" shows its edge
    QCOMPARE(QColor(Image.pixel(2, 38)), ButtonFace);
  }

  // The timer runs from construction; a shorter interval makes the counter
  // advance by itself, interval 0 stops it and keeps the count.
  void timer() {
    TAnimatedLabel Label;
    Label.SetInterval(5);
    QTRY_VERIFY(Label.GetStep() >= 10);
    Label.SetInterval(0);
    const int Stopped = Label.GetStep();
    QTest::qWait(50);
    QCOMPARE(Label.GetStep(), Stopped);
  }
};

QTEST_MAIN(TestAnimatedLabel)
#include "tst_animatedlabel.moc"
