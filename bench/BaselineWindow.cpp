// The baseline of the start-up benchmark: the smallest Qt Widgets program
// that shows a window, with the same probe as the game.

#include <QApplication>
#include <QWidget>

#include "FirstPaintProbe.h"

int main(int argc, char *argv[]) {
  QApplication App(argc, argv);
  QWidget Window;
  Window.setWindowTitle(QStringLiteral("Baseline"));
  Window.resize(330, 440);
  InstallFirstPaintProbe(&Window);
  Window.show();
  return App.exec();
}
