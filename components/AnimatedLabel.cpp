#include "AnimatedLabel.h"

#include <QPainter>
#include <QTimer>
#include <climits>

namespace {

// One colour part of a fade at step S of 9: From at 0, To at 9. C++ integer
// division truncates toward zero, which is the rounding the fade is made of.
int FadePart(int From, int To, int S) { return From + (To - From) * S / 9; }

}  // namespace

TAnimatedLabel::TAnimatedLabel(QWidget *Owner) : QLabel(Owner), FTimer(new QTimer(this)) {
  QLabel::setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setWordWrap(false);
  setAutoFillBackground(true);
  connect(FTimer, &QTimer::timeout, this, [this] { OnTimer(FTimer); });
  FTimer->start(100);
}

TAnimatedLabel::~TAnimatedLabel() {
  delete FTimer;
  FTimer = nullptr;
}

int TAnimatedLabel::GetInterval() const { return FTimer->interval(); }

void TAnimatedLabel::SetInterval(int Value) {
  if (Value <= 0) {
    FTimer->stop();
    FTimer->setInterval(0);
  } else {
    FTimer->start(Value);
  }
}

QColor TAnimatedLabel::GetColor() const { return palette().color(QPalette::Window); }

void TAnimatedLabel::SetColor(const QColor &Value) {
  QPalette Colours = palette();
  Colours.setColor(QPalette::Window, Value);
  setPalette(Colours);
}

void TAnimatedLabel::setAlignment(Qt::Alignment Value) {
  QLabel::setAlignment((Value & Qt::AlignHorizontal_Mask) | Qt::AlignTop);
}

void TAnimatedLabel::OnTimer(QObject *) {
  update();
  FStep = FStep == INT_MAX ? 0 : FStep + 1;
}

void TAnimatedLabel::paintEvent(QPaintEvent *Event) {
  const int N = FStep;
  const int Phase = (N / 10) % 2;
  if (AnimationType == atNone || (AnimationType == atFlash && Phase == 1)) {
    QLabel::paintEvent(Event);
    return;
  }
  const int W = width();
  if (W <= 0) return;

  QPainter Canvas(this);
  const QColor ButtonFace = palette().color(QPalette::Button);
  const QString Caption = text();
  const int Flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip;  // no "&" handling
  const QSize Cell = Canvas.fontMetrics().size(Qt::TextSingleLine, Caption);

  switch (AnimationType) {
    case atFlash:
      Canvas.fillRect(rect(), ButtonFace);
      break;
    case atFly: {
      Canvas.fillRect(rect(), ButtonFace);
      const int X = W - 2 * (N % W);
      Canvas.setPen(palette().color(QPalette::WindowText));
      Canvas.drawText(QRect(QPoint(X, 0), Cell), Flags, Caption);
      break;
    }
    case atFade: {
      const int S = N % 10;
      const QColor F = palette().color(QPalette::WindowText);
      const QColor B = GetColor();
      const bool In = Phase == 0;
      const QColor &From = In ? B : F;
      const QColor &To = In ? F : B;
      const QColor C(FadePart(From.red(), To.red(), S), FadePart(From.green(), To.green(), S),
                     FadePart(From.blue(), To.blue(), S));
      // Only the caption's own cell gets the button face; the rest keeps the
      // background.
      Canvas.fillRect(QRect(QPoint(0, 0), Cell), ButtonFace);
      Canvas.setPen(C);
      Canvas.drawText(QRect(QPoint(0, 0), Cell), Flags, Caption);
      break;
    }
    case atNone:
      break;
  }
}
