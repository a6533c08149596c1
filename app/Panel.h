#pragma once

// A plain panel in the button-face colour with a lowered outer and a raised
// inner one-pixel bevel. It reports pointer moves over itself, which are the
// moves that reach no child taking them.
//
// TSunkenLabel and TBevel draw the sunken panel frame of a plain-text label
// and a sunken horizontal line in device pixels (TDevicePixels); in a form they stand for a QLabel
// and a QFrame (promoted widgets, header Panel.h).

#include <QFrame>
#include <QLabel>
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
