#include "Panel.h"

#include "DevicePixels.h"

#include <QMouseEvent>
#include <QStyle>

namespace quintor {

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
