#include "Panel.h"

#include <QMouseEvent>
#include <QStyle>
#include <cmath>

namespace quintor {

TDevicePixels::TDevicePixels(QPainter &APainter, const QWidget &Widget) : Painter(APainter) {
  const QTransform Device = Painter.deviceTransform();
  FRatio = Device.m11() > 0 ? Device.m11() : 1.0;
  FOrigin = Device.map(QPointF(0, 0));
  FBase = QPoint(qRound(FOrigin.x()), qRound(FOrigin.y()));
  FWidth = X(Widget.width());
  FHeight = Y(Widget.height());
  FLineWidth = std::max(1, static_cast<int>(std::floor(FRatio + 1e-6)));
  Painter.setWorldTransform(QTransform::fromTranslate(FBase.x(), FBase.y()) * Device.inverted());
}

int TDevicePixels::X(qreal Logical) const { return qRound(FOrigin.x() + Logical * FRatio) - FBase.x(); }

int TDevicePixels::Y(qreal Logical) const { return qRound(FOrigin.y() + Logical * FRatio) - FBase.y(); }

QRectF TDevicePixels::ToLogical(const QRect &Device) const {
  const QPointF TopLeft = (QPointF(Device.topLeft() + FBase) - FOrigin) / FRatio;
  return {TopLeft, QSizeF(Device.size()) / FRatio};
}

void TDevicePixels::Ring(const QRect &Box, const QColor &TopLeft, const QColor &BottomRight) const {
  const int W = FLineWidth;
  Painter.fillRect(QRect(Box.left(), Box.top(), Box.width(), W), TopLeft);
  Painter.fillRect(QRect(Box.left(), Box.top(), W, Box.height()), TopLeft);
  Painter.fillRect(QRect(Box.left(), Box.bottom() + 1 - W, Box.width(), W), BottomRight);
  Painter.fillRect(QRect(Box.right() + 1 - W, Box.top(), W, Box.height()), BottomRight);
}

TPanel::TPanel(QWidget *Parent) : QWidget(Parent) {
  setMouseTracking(true);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
}

void TPanel::paintEvent(QPaintEvent *) {
  QPainter Painter(this);
  const TDevicePixels Device(Painter, *this);
  const QColor Light = palette().color(QPalette::Active, QPalette::Light);
  const QColor Dark = palette().color(QPalette::Active, QPalette::Mid);
  const int W = Device.LineWidth();
  const QRect Outer(0, 0, Device.Width(), Device.Height());
  Device.Ring(Outer, Dark, Light);                         // lowered outer
  Device.Ring(Outer.adjusted(W, W, -W, -W), Light, Dark);  // raised inner
}

void TSunkenLabel::paintEvent(QPaintEvent *Event) {
  if (frameShape() != QFrame::Panel || frameShadow() != QFrame::Sunken || lineWidth() != 1 ||
      textFormat() == Qt::RichText)
    return QLabel::paintEvent(Event);
  QPainter Painter(this);
  style()->drawItemText(&Painter, contentsRect(), QStyle::visualAlignment(layoutDirection(), alignment()),
                        palette(), isEnabled(), text(), foregroundRole());
  const TDevicePixels Device(Painter, *this);
  Device.Ring(QRect(0, 0, Device.Width(), Device.Height()), palette().color(QPalette::Dark),
              palette().color(QPalette::Light));
  // The focus (the grand total's, at the end of a game) is a ring in the
  // highlight colour, as the score card's cursor is.
  if (!hasFocus()) return;
  const int W = Device.LineWidth();
  const QColor Focus = palette().color(QPalette::Highlight);
  Device.Ring(QRect(W, W, Device.Width() - 2 * W, Device.Height() - 2 * W), Focus, Focus);
}

void TBevel::paintEvent(QPaintEvent *Event) {
  if (frameShape() != QFrame::HLine || frameShadow() != QFrame::Sunken || lineWidth() != 1 ||
      midLineWidth() != 0)
    return QFrame::paintEvent(Event);
  QPainter Painter(this);
  const TDevicePixels Device(Painter, *this);
  const int W = Device.LineWidth();
  // The light line stops one pixel short of the dark one's right end.
  const int Top = Device.Y(height() / 2 - 1);
  Painter.fillRect(QRect(0, Top, Device.Width(), W), palette().color(QPalette::Dark));
  Painter.fillRect(QRect(0, Top + W, Device.X(width() - 1), W), palette().color(QPalette::Light));
}

void TPanel::mouseMoveEvent(QMouseEvent *Event) {
  const QPoint Pos = Event->position().toPoint();
  emit MouseMove(Pos.x(), Pos.y());
}

}  // namespace quintor
