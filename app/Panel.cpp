#include "Panel.h"

#include <QMouseEvent>
#include <QPainter>

namespace quintor {

TPanel::TPanel(QWidget *Parent) : QWidget(Parent) {
  setMouseTracking(true);
  setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
}

void TPanel::paintEvent(QPaintEvent *) {
  QPainter Painter(this);
  const QColor Light = palette().color(QPalette::Active, QPalette::Light);
  const QColor Dark = palette().color(QPalette::Active, QPalette::Mid);
  auto Bevel = [&](QRect R, const QColor &TopLeft, const QColor &BottomRight) {
    Painter.setPen(TopLeft);
    Painter.drawLine(R.topLeft(), R.topRight());
    Painter.drawLine(R.topLeft(), R.bottomLeft());
    Painter.setPen(BottomRight);
    Painter.drawLine(R.bottomLeft(), R.bottomRight());
    Painter.drawLine(R.topRight(), R.bottomRight());
  };
  Bevel(rect(), Dark, Light);                         // lowered outer
  Bevel(rect().adjusted(1, 1, -1, -1), Light, Dark);  // raised inner
}

void TPanel::mouseMoveEvent(QMouseEvent *Event) {
  const QPoint Pos = Event->position().toPoint();
  emit MouseMove(Pos.x(), Pos.y());
}

}  // namespace quintor
