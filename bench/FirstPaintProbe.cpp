#include "FirstPaintProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>

namespace {

class TFirstPaintProbe : public QObject {
 public:
  explicit TFirstPaintProbe(QWidget *AWindow) : QObject(AWindow), Window(AWindow) {}

  bool eventFilter(QObject *Watched, QEvent *Event) override {
    if (Seen || Event->type() != QEvent::Paint || !Watched->isWidgetType()) return false;
    auto *Widget = static_cast<QWidget *>(Watched);
    if (Widget != Window && !Window->isAncestorOf(Widget)) return false;
    Seen = true;
    // The whole first paint pass runs before the queued call.
    QTimer::singleShot(0, this, [] {
      timespec Now{};
      clock_gettime(CLOCK_MONOTONIC, &Now);
      std::printf("first-paint-ns %lld\n", static_cast<long long>(Now.tv_sec) * 1000000000LL + Now.tv_nsec);
      std::fflush(stdout);
      QCoreApplication::exit(0);
    });
    return false;
  }

 private:
  QWidget *Window;
  bool Seen = false;
};

}  // namespace

void InstallFirstPaintProbe(QWidget *Window) {
  qApp->installEventFilter(new TFirstPaintProbe(Window));
}
