#include "DevicePixels.h"

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

}  // namespace quintor
