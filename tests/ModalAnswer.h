#pragma once

// Answers a modal dialog from inside its own event loop: waits (on real
// zero-delay timers) until a visible modal widget of type T is on top, then
// runs Answer on it. A dialog that never comes fails the test run after
// TimeoutMs instead of hanging it.
#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

template <class T>
void WhenModal(std::function<void(T *)> Answer, int TimeoutMs = 10000) {
  auto Clock = std::make_shared<QElapsedTimer>();
  Clock->start();
  auto Poll = std::make_shared<std::function<void()>>();
  *Poll = [Answer, Clock, Poll, TimeoutMs] {
    auto *Top = qobject_cast<T *>(QApplication::activeModalWidget());
    if (Top && Top->isVisible()) {
      Answer(Top);
      *Poll = nullptr;  // break the self-reference
      return;
    }
    if (Clock->elapsed() > TimeoutMs) qFatal("the expected modal dialog did not appear");
    QTimer::singleShot(1, *Poll);
  };
  QTimer::singleShot(0, *Poll);
}
