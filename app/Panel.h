#pragma once

// A plain panel in the button-face colour with a lowered outer and a raised
// inner one-pixel bevel. It reports pointer moves over itself, which are the
// moves that reach no child taking them.

#include <QWidget>

namespace quintor {

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

}  // namespace quintor
