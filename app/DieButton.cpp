#include "DieButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

#include "Desktop.h"

namespace quintor {

QRect TDieButton::FaceRect() const {
  const QSize Size = iconSize();
  const int Push = isChecked() ? 1 : 0;
  return {QPoint((width() - Size.width()) / 2 + Push, (height() - Size.height()) / 2 + Push), Size};
}

void TDieButton::paintEvent(QPaintEvent *Event) {
  if (!isChecked()) return QToolButton::paintEvent(Event);
  QStylePainter Painter(this);
  QStyleOptionToolButton Option;
  initStyleOption(&Option);
  const QIcon Picture = Option.icon;
  Option.icon = QIcon();
  Painter.drawComplexControl(QStyle::CC_ToolButton, Option);

  const QRect Face = FaceRect();
  Painter.fillRect(Face, QBrush(palette().color(QPalette::Active, QPalette::Light), Qt::Dense4Pattern));
  const QColor Ring = HeldRingColor(palette());
  const QRect Around = Face.adjusted(-RingWidth, -RingWidth, RingWidth, RingWidth);
  Painter.fillRect(QRect(Around.left(), Around.top(), Around.width(), RingWidth), Ring);
  Painter.fillRect(QRect(Around.left(), Face.bottom() + 1, Around.width(), RingWidth), Ring);
  Painter.fillRect(QRect(Around.left(), Face.top(), RingWidth, Face.height()), Ring);
  Painter.fillRect(QRect(Face.right() + 1, Face.top(), RingWidth, Face.height()), Ring);
  Picture.paint(&Painter, Face, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled, QIcon::On);
}

}  // namespace quintor
