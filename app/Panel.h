#pragma once

// A plain panel in the button-face colour with a lowered outer and a raised
// inner one-pixel bevel. It reports pointer moves over itself, which are the
// moves that reach no child taking them.
//
// TDevicePixels is the painting the panel and the score grids share: lines
// and bevels laid out in device pixels, so that at a fractional scale every
// one-pixel line comes out the same whole number of device pixels wide.
// TSunkenLabel and TBevel draw the sunken panel frame of a plain-text label
// and a sunken horizontal line that way; in a form they stand for a QLabel
// and a QFrame (promoted widgets, header Panel.h).

#include <QFrame>
#include <QLabel>
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

class TPanel : public QWidget {
  Q_OBJECT

 public:
  explicit TPanel(QWidget *Parent = nullptr);

 signals:
  void MouseMove(int X, int Y);

 protected:
  void paintEvent(QPaintEvent *Event) override;
  void mouseMoveEvent(QMouseEvent *Event) override;
};

// A plain-text label whose sunken one-pixel panel frame is drawn in device
// pixels; any other frame is the style's.
class TSunkenLabel : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent *Event) override;
};

// A separator whose sunken horizontal line (a dark line over a light one)
// is drawn in device pixels; any other shape is the style's.
class TBevel : public QFrame {
  Q_OBJECT

 public:
  using QFrame::QFrame;

 protected:
  void paintEvent(QPaintEvent *Event) override;
};

}  // namespace quintor
