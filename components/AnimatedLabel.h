#pragma once

// A label that animates its caption with one of three effects, driven by a
// timer the label owns. The timer runs from construction to destruction
// whatever the effect (also while a form designer shows the label); every
// tick asks for a repaint and then advances a step counter that starts at 0
// and only grows, so each paint sees the counter after the tick. Changing
// AnimationType keeps the counter: the new effect starts in the middle of its
// cycle, at the next tick.
//
//   atNone   the ordinary label painting.
//   atFlash  the caption is hidden (the whole label filled with the button
//            face) for ten ticks, shown for ten, and so on; hidden first.
//   atFly    the label is filled with the button face and the caption enters
//            at the right edge, moving two pixels left per tick; once it has
//            come W ticks (W the width in pixels) it starts again at the
//            right edge. Its top is at the label's top.
//   atFade   the caption, drawn at the top left on a cell of button face,
//            fades in from Color to the font colour over ten ticks and out
//            again over the next ten.
// At the default Interval of 100 ms a flash or fade cycle lasts two seconds
// and the caption flies 20 pixels a second. Fly and fade draw the caption as
// plain text in the label's font: alignment, "&" accelerators and word wrap
// play no part in where it lands.
//
// From code:
//
//   auto *Title = new TAnimatedLabel(Window);
//   Title->setText("Quintor");
//   Title->AnimationType = TAnimatedLabel::atFade;
//   Title->SetInterval(50);
//
// In a Qt Designer form (the label has no Loaded step, so LoadComponents is
// not needed for it):
//
//   <widget class="TAnimatedLabel" name="AnimatedLabel1">
//    <property name="text">
//     <string>Quintor</string>
//    </property>
//    <property name="AnimationType">
//     <enum>TAnimatedLabel::atFly</enum>
//    </property>
//    <property name="Interval">
//     <number>100</number>
//    </property>
//    <property name="Color">
//     <color><red>255</red><green>255</green><blue>255</blue></color>
//    </property>
//   </widget>
//   ...
//   <customwidgets>
//    <customwidget>
//     <class>TAnimatedLabel</class>
//     <extends>QLabel</extends>
//     <header>AnimatedLabel.h</header>
//    </customwidget>
//   </customwidgets>
//
// uic writes a property as a call of "set" and its name (setInterval), so each
// property has such a writer beside the one the library names (SetInterval).
//
// Qt mapping: the label is a QLabel whose paintEvent draws the effects;
// atNone and the shown flash phase are QLabel's own painting. The caption is
// the label's text, the font colour its palette's WindowText, Color its
// palette's Window (the label always fills its background with it: it is
// never transparent), the button face its palette's Button. The label is
// always top-aligned and single-line: its alignment keeps only the horizontal
// part and adds the top, and it publishes neither word wrap nor background
// filling. Colours come from the palette's current colour group. The step
// counter is kept by the label (GetStep), beside its QTimer.
//
// Choices:
// - A label of width 0 with the fly effect draws nothing.
// - Interval 0 (or less) stops the ticks instead of ticking as fast as the
//   event loop runs; Interval then reads 0. A positive Interval starts them
//   again; the counter is kept.
// - After 2147483647 ticks (about seven years at 100 ms) the counter goes on
//   from 0 instead of overflowing into negative counts.

#include <QLabel>

#include "Component.h"

class QTimer;

class TAnimatedLabel : public QLabel, public TJComponent {
  Q_OBJECT
  Q_PROPERTY(TAnimationType AnimationType MEMBER AnimationType)
  Q_PROPERTY(int Interval READ GetInterval WRITE SetInterval)
  Q_PROPERTY(QColor Color READ GetColor WRITE SetColor)
  Q_PROPERTY(Qt::Alignment alignment READ alignment WRITE setAlignment)
  Q_PROPERTY(bool wordWrap READ wordWrap DESIGNABLE false STORED false)
  Q_PROPERTY(bool autoFillBackground READ autoFillBackground DESIGNABLE false STORED false)

 public:
  enum TAnimationType : unsigned char { atNone, atFlash, atFly, atFade };
  Q_ENUM(TAnimationType)

  explicit TAnimatedLabel(QWidget *Owner = nullptr);
  ~TAnimatedLabel() override;

  // Takes effect at the next tick.
  TAnimationType AnimationType = atNone;
  void setAnimationType(TAnimationType Value) { AnimationType = Value; }

  // Milliseconds between ticks, the timer's own interval (100 at first).
  int GetInterval() const;
  void SetInterval(int Value);
  void setInterval(int Value) { SetInterval(Value); }

  // The background colour, and the colour a fade starts and ends at.
  QColor GetColor() const;
  void SetColor(const QColor &Value);
  void setColor(const QColor &Value) { SetColor(Value); }

  // The horizontal part of Value, always with the top.
  void setAlignment(Qt::Alignment Value);

  // The number of ticks so far.
  int GetStep() const { return FStep; }

  // The timer's tick: asks for a repaint, then advances the counter. Public
  // so that a program (or a test) can step the animation by hand.
  void OnTimer(QObject *Sender);

 protected:
  void paintEvent(QPaintEvent *Event) override;

 private:
  QTimer *FTimer = nullptr;
  int FStep = 0;
};
