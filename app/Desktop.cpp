#include "Desktop.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <cmath>

namespace quintor {

qreal RelativeLuminance(const QColor &Color) {
  const auto Linear = [](qreal Channel) {
    return Channel <= 0.04045 ? Channel / 12.92 : std::pow((Channel + 0.055) / 1.055, 2.4);
  };
  const QColor Rgb = Color.toRgb();
  return 0.2126 * Linear(Rgb.redF()) + 0.7152 * Linear(Rgb.greenF()) + 0.0722 * Linear(Rgb.blueF());
}

qreal ContrastRatio(const QColor &A, const QColor &B) {
  const qreal La = RelativeLuminance(A), Lb = RelativeLuminance(B);
  return (std::max(La, Lb) + 0.05) / (std::min(La, Lb) + 0.05);
}

bool IsDarkPalette(const QPalette &Palette) {
  return RelativeLuminance(Palette.color(QPalette::WindowText)) > RelativeLuminance(Palette.color(QPalette::Window));
}

QColor Readable(const QColor &Wanted, const QColor &Background, qreal MinRatio) {
  if (ContrastRatio(Wanted, Background) >= MinRatio) return Wanted;
  const QColor Far = ContrastRatio(Qt::white, Background) >= ContrastRatio(Qt::black, Background)
                         ? QColor(Qt::white) : QColor(Qt::black);
  // In whole steps of each channel, as the colour is drawn.
  const auto Blend = [&](qreal T) {
    const auto Mix = [T](int From, int To) { return qRound(From + (To - From) * T); };
    return QColor(Mix(Wanted.red(), Far.red()), Mix(Wanted.green(), Far.green()), Mix(Wanted.blue(), Far.blue()));
  };
  // The ratio grows with the blend: the least blend that reaches it.
  qreal Low = 0, High = 1;
  for (int Step = 0; Step < 16; ++Step) {
    const qreal T = (Low + High) / 2;
    (ContrastRatio(Blend(T), Background) >= MinRatio ? High : Low) = T;
  }
  return Blend(High);
}

TDieInk PlainDieInk(const QPalette &Palette) {
  TDieInk Ink;
  if (!IsDarkPalette(Palette)) return Ink;
  const QColor Face = Palette.color(QPalette::Button);
  Ink.Core = Readable(Palette.color(QPalette::ButtonText), Face, MinTextContrast);
  Ink.Rim = Readable(Ink.Rim, Face, MinMarkContrast);
  Ink.Mark = Readable(Ink.Mark, Face, MinTextContrast);
  return Ink;
}

QColor GridLineColor(const QPalette &Palette) {
  const QColor Mid = Palette.color(QPalette::Active, QPalette::Mid);
  if (!IsDarkPalette(Palette)) return Mid;
  return Readable(Mid, Palette.color(QPalette::Active, QPalette::Button), MinMarkContrast);
}

QColor GridTextColor(const QPalette &Palette) {
  const QColor Text = Palette.color(QPalette::Active, QPalette::WindowText);
  if (!IsDarkPalette(Palette)) return Text;
  return Readable(Text, Palette.color(QPalette::Active, QPalette::Button), MinTextContrast);
}

QColor LinkColor(const QPalette &Palette, const QColor &Own) {
  if (!IsDarkPalette(Palette)) return Own;
  return Readable(Palette.color(QPalette::Link), Palette.color(QPalette::Window), MinTextContrast);
}

THeldRing HeldRingColors(const QPalette &Palette, const QColor &LightestFace) {
  const QColor Outer = Readable(Palette.color(QPalette::Active, QPalette::ButtonText),
                                Palette.color(QPalette::Active, QPalette::Button), MinMarkContrast);
  if (ContrastRatio(Outer, LightestFace) >= MinMarkContrast) return {Outer, Outer};
  return {Outer, Readable(Palette.color(QPalette::Active, QPalette::Shadow), LightestFace, MinMarkContrast)};
}

void FitTitle(QMessageBox &Box) {
  auto *Grid = qobject_cast<QGridLayout *>(Box.layout());
  if (!Grid) return;
  // A title bar's text is commonly larger and bold, beside up to three
  // buttons and the window's icon.
  QFont TitleFont = Box.font();
  TitleFont.setBold(true);
  const int Title = QFontMetrics(TitleFont).horizontalAdvance(Box.windowTitle());
  const int Width = Title * 3 / 2 + 4 * 32 + 2 * 16;
  Grid->addItem(new QSpacerItem(Width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), Grid->rowCount(), 0, 1,
                Grid->columnCount());
}

}  // namespace quintor
