#pragma once

// The painting the panels and the score grids share: lines and bevels laid
// out in device pixels, so that at a fractional scale every one-pixel line
// comes out the same whole number of device pixels wide.
//
//   QPainter Painter(this);
//   const TDevicePixels Device(Painter, *this);
//   Device.Ring(QRect(0, 0, Device.Width(), Device.Height()), Dark, Light);

#include <QPainter>
#include <QWidget>

namespace quintor {

class TDevicePixels {
 public:
  // Switches Painter to device pixels, with (0, 0) the device pixel nearest
  // the widget's top-left corner. Painter must paint Widget.
  TDevicePixels(QPainter &Painter, const QWidget &Widget);

  qreal Ratio() const { return FRatio; }
  // The widget's size in device pixels.
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  // The width of a one-pixel line: the whole device pixels in one pixel.
  int LineWidth() const { return FLineWidth; }
  // The device column or row nearest to logical X or Y of the widget.
  int X(qreal Logical) const;
  int Y(qreal Logical) const;
  // A device rectangle in the widget's logical coordinates, for text.
  QRectF ToLogical(const QRect &Device) const;

  // A ring of LineWidth() inside Box: top and left in TopLeft, then bottom
  // and right in BottomRight, which so take the top-right and bottom-left
  // corners.
  void Ring(const QRect &Box, const QColor &TopLeft, const QColor &BottomRight) const;

 private:
  QPainter &Painter;
  qreal FRatio = 1;
  QPointF FOrigin;  // the widget's (0, 0) in device pixels, maybe fractional
  QPoint FBase;     // the device pixel that is (0, 0) here
  int FWidth = 0;
  int FHeight = 0;
  int FLineWidth = 1;
};

}  // namespace quintor
