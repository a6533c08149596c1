#include "DiceImages.h"

#include <QFont>
#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>
#include <array>
#include <vector>

namespace quintor {
namespace {

constexpr int PipSize = 7;
constexpr int Near = 3, Middle = 12, Far = 21;

struct TPip {
  int Left, Top;
};

// Top-left corners of the pips, per face. The three of the face 3 sit one
// pixel right of the others.
std::vector<TPip> PipsOf(int Value) {
  switch (Value) {
    case 0: return {{Middle, Middle}};
    case 1: return {{Far, Near}, {Near, Far}};
    case 2: return {{Far + 1, Near}, {Middle + 1, Middle}, {Near + 1, Far}};
    case 3: return {{Near, Near}, {Far, Near}, {Near, Far}, {Far, Far}};
    case 4: return {{Near, Near}, {Far, Near}, {Middle, Middle}, {Near, Far}, {Far, Far}};
    case 5:
      return {{Near, Near}, {Near, Middle}, {Near, Far}, {Far, Near}, {Far, Middle}, {Far, Far}};
    default: return {};
  }
}

// A square from (X, Y) of side S with its corners cut by Cut.
QPainterPath CutSquare(qreal X, qreal Y, qreal S, qreal Cut) {
  QPainterPath Outline;
  Outline.moveTo(X + Cut, Y);
  Outline.lineTo(X + S - Cut, Y);
  Outline.lineTo(X + S, Y + Cut);
  Outline.lineTo(X + S, Y + S - Cut);
  Outline.lineTo(X + S - Cut, Y + S);
  Outline.lineTo(X + Cut, Y + S);
  Outline.lineTo(X, Y + S - Cut);
  Outline.lineTo(X, Y + Cut);
  Outline.closeSubpath();
  return Outline;
}

// A 7 x 7 dot with its corners cut: a dark blue rim around a near-black
// core. Painter draws in device pixels, Ratio of them to a picture pixel;
// the dot's straight edges fall on whole device pixels, so only its cut
// corners are smoothed.
void DrawPip(QPainter &Painter, TPip Pip, qreal Ratio, const TDieInk &Ink) {
  const qreal X = qRound(Pip.Left * Ratio), Y = qRound(Pip.Top * Ratio);
  const qreal S = qRound(PipSize * Ratio), Cut = qRound(2 * Ratio);
  const qreal Rim = std::max(1, static_cast<int>(Ratio + 1e-6));
  Painter.fillPath(CutSquare(X, Y, S, Cut), Ink.Rim);
  // The core is the outline shrunk about its centre to within the rim.
  const qreal Inner = S - 2 * Rim;
  Painter.fillPath(CutSquare(X + Rim, Y + Rim, Inner, Cut * Inner / S), Ink.Core);
}

void DrawQuestionMark(QPainter &Painter, TDiceSet Set, const TDieInk &Ink) {
  QFont Font(QStringLiteral("Liberation Sans"));
  Font.setPixelSize(26);
  Font.setBold(true);
  Painter.setFont(Font);
  const QRectF Square(0, 0, DieFaceSize, DieFaceSize);
  if (Set == TDiceSet::dsColor) {
    Painter.setPen(Qt::black);
    Painter.drawText(Square, Qt::AlignCenter, QStringLiteral("?"));
    return;
  }
  // Grey with a light edge up-left and a dark one down-right: an engraved look
  // that reads on any button face.
  Painter.setPen(QColor(255, 255, 255));
  Painter.drawText(Square.translated(-1, -1), Qt::AlignCenter, QStringLiteral("?"));
  Painter.setPen(QColor(64, 64, 64));
  Painter.drawText(Square.translated(1, 1), Qt::AlignCenter, QStringLiteral("?"));
  Painter.setPen(Ink.Mark);
  Painter.drawText(Square, Qt::AlignCenter, QStringLiteral("?"));
}

class TDieIconEngine : public QIconEngine {
 public:
  TDieIconEngine(int AValue, TDiceSet ASet) : Value(AValue), Set(ASet) {}

  QIconEngine *clone() const override { return new TDieIconEngine(Value, Set); }
  QString key() const override { return QStringLiteral("TDieIconEngine"); }

  QSize actualSize(const QSize &Size, QIcon::Mode, QIcon::State) override {
    const int Side = std::min(Size.width(), Size.height());
    return {Side, Side};
  }

  void paint(QPainter *Painter, const QRect &Rect, QIcon::Mode Mode, QIcon::State State) override {
    const qreal Ratio = Painter->device() ? Painter->device()->devicePixelRatioF() : 1.0;
    QPixmap Face = scaledPixmap(Rect.size() * Ratio, Mode, State, Ratio);
    Face.setDevicePixelRatio(Ratio);
    Painter->drawPixmap(Rect.topLeft(), Face);
  }

  QPixmap pixmap(const QSize &Size, QIcon::Mode Mode, QIcon::State) override {
    // Size is in device pixels here; the icon sets the ratio afterwards.
    const int Side = std::max(1, std::min(Size.width(), Size.height()));
    const bool App = qobject_cast<QApplication *>(QCoreApplication::instance());
    const TDieInk Ink = App && Set == TDiceSet::dsPlain ? PlainDieInk(QApplication::palette()) : TDieInk();
    const QString CacheKey = QStringLiteral("quintor-die-%1-%2-%3-%4-%5%6%7")
                                 .arg(Value)
                                 .arg(Set == TDiceSet::dsColor ? 'c' : 'p')
                                 .arg(Side)
                                 .arg(static_cast<int>(Mode))
                                 .arg(Ink.Rim.rgb(), 0, 16)
                                 .arg(Ink.Core.rgb(), 0, 16)
                                 .arg(Ink.Mark.rgb(), 0, 16);
    QPixmap Face;
    if (QPixmapCache::find(CacheKey, &Face)) return Face;
    Face = DieFace(Value, Set, static_cast<qreal>(Side) / DieFaceSize, Ink);
    Face.setDevicePixelRatio(1.0);
    if (Mode == QIcon::Disabled && App) {
      QStyleOption Option;
      Option.palette = QApplication::palette();
      Face = QApplication::style()->generatedIconPixmap(QIcon::Disabled, Face, &Option);
    }
    QPixmapCache::insert(CacheKey, Face);
    return Face;
  }

  QPixmap scaledPixmap(const QSize &Size, QIcon::Mode Mode, QIcon::State State, qreal) override {
    return pixmap(Size, Mode, State);
  }

 private:
  int Value;
  TDiceSet Set;
};

}  // namespace

QIcon DieIcon(int Value, TDiceSet Set) {
  if (Value < 0 || Value >= DieFaceCount) Value = DieFaceCount - 1;
  return QIcon(new TDieIconEngine(Value, Set));
}

QColor DieFaceColor(int Value) {
  static const std::array<QColor, DieFaceCount> Colors = {
      QColor(248, 152, 152), QColor(248, 200, 248), QColor(152, 248, 200), QColor(248, 248, 200),
      QColor(200, 248, 248), QColor(152, 200, 152), QColor(248, 248, 200)};
  if (Value < 0 || Value >= DieFaceCount) Value = DieFaceCount - 1;
  return Colors[Value];
}

QPixmap DieFace(int Value, TDiceSet Set, qreal DevicePixelRatio, const TDieInk &PlainInk) {
  const TDieInk Ink = Set == TDiceSet::dsPlain ? PlainInk : TDieInk();
  if (Value < 0 || Value >= DieFaceCount) Value = DieFaceCount - 1;
  if (DevicePixelRatio <= 0) DevicePixelRatio = 1.0;
  const int Side = qRound(DieFaceSize * DevicePixelRatio);
  QImage Image(Side, Side, QImage::Format_ARGB32_Premultiplied);
  Image.fill(Set == TDiceSet::dsColor ? DieFaceColor(Value) : QColor(Qt::transparent));
  {
    QPainter Painter(&Image);
    // Pixel-exact at one device pixel per pixel; smooth corners above that.
    Painter.setRenderHint(QPainter::Antialiasing, DevicePixelRatio > 1.0);
    Painter.setRenderHint(QPainter::TextAntialiasing, true);
    if (Value == DieFaceCount - 1) {
      Painter.scale(static_cast<qreal>(Side) / DieFaceSize, static_cast<qreal>(Side) / DieFaceSize);
      DrawQuestionMark(Painter, Set, Ink);
    } else {
      for (const TPip &Pip : PipsOf(Value)) DrawPip(Painter, Pip, DevicePixelRatio, Ink);
    }
  }
  Image.setDevicePixelRatio(DevicePixelRatio);
  return QPixmap::fromImage(Image);
}

}  // namespace quintor

QPixmap QuintorEmblem() {
  const qreal Ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  return quintor::DieFace(4, quintor::TDiceSet::dsColor, Ratio);
}
