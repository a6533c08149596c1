// The game as main() starts it, on whatever platform the environment names,
// until its main window has been shown and painted: then it prints the
// platform, the window's size and its board's size in logical pixels, and
// closes the window, which ends the program as the player's close box does.
// RunUnderWeston.sh runs it on the Wayland platform.

#include <QTimer>
#include <QWindow>
#include <cstdio>

#include "QuintorApplication.h"
#include "StartUp.h"

int main(int argc, char *argv[]) {
  quintor::TQuintorApplication App(argc, argv);
  QTimer Watch;
  return quintor::RunQuintor(App, [&Watch](TMainForm &Form) {
    QObject::connect(&Watch, &QTimer::timeout, &Form, [&Form] {
      const QWindow *Window = Form.windowHandle();
      if (!Window || !Window->isExposed()) return;
      std::printf("platform %s window %dx%d board %dx%d\n", qPrintable(QGuiApplication::platformName()),
                  Window->width(), Window->height(), Form.centralWidget()->width(), Form.centralWidget()->height());
      std::fflush(stdout);
      Form.close();
    });
    Watch.start(20);
  });
}
