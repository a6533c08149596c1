#include "DieButton.h"

#include <QStyleOptionToolButton>
#include <QStylePainter>

#include "DiceImages.h"

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
  // The lightest face is the question mark's, the four's.
  const THeldRing Ring = HeldRingColors(palette(), DieFaceColor(DieFaceCount - 1));
  const auto Frame = [&Painter](const QRect &Box, const QColor &Color) {
    Painter.fillRect(QRect(Box.left(), Box.top(), Box.width(), 1), Color);
    Painter.fillRect(QRect(Box.left(), Box.bottom(), Box.width(), 1), Color);
    Painter.fillRect(QRect(Box.left(), Box.top(), 1, Box.height()), Color);
    Painter.fillRect(QRect(Box.right(), Box.top(), 1, Box.height()), Color);
  };
  Frame(Face.adjusted(-2, -2, 2, 2), Ring.Outer);
  Frame(Face.adjusted(-1, -1, 1, 1), Ring.Inner);
  Picture.paint(&Painter, Face, Qt::AlignCenter, isEnabled() ? QIcon::Normal : QIcon::Disabled, QIcon::On);
}

}  // namespace quintor
