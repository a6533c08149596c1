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
// Design notes and a Qt Designer form: docs/components.md, section "AnimatedLabel".

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
