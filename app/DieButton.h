#pragma once

// A die of the main window: a toggle button with the face's picture, drawn
// by the style while it is up. Pressed (the die held) it shows the pressed
// look of a toggle button, made plain at a glance under any palette and in
// both dice sets: the style's sunken panel, the picture pushed one pixel
// down and right, its face marked with a checker of the light colour (seen
// through the plain dice) and framed by a two-pixel ring in the button-text
// colour (its inner line dark where that colour is light, so that the ring
// also stands out from the pale faces of the colour set). In a form it stands for a QToolButton (promoted widget, header
// DieButton.h).

#include <QToolButton>

namespace quintor {

class TDieButton : public QToolButton {
  Q_OBJECT

 public:
  using QToolButton::QToolButton;

  // Where the picture goes, in the button's coordinates: pushed while held.
  QRect FaceRect() const;

 protected:
  void paintEvent(QPaintEvent *Event) override;
};

}  // namespace quintor
