#include "StartWindow.h"
QWidget *CreateStartWindow() {
  auto *Window = new QWidget;
  Window->setWindowTitle(QStringLiteral("Quintor"));
  Window->resize(330, 421);
  return Window;
}
