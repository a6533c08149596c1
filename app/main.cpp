#include <QApplication>

#include "placeholder/StartWindow.h"

int main(int argc, char *argv[]) {
  QApplication App(argc, argv);
  QWidget *Window = CreateStartWindow();
  Window->show();
  const int Result = App.exec();
  delete Window;
  return Result;
}
