#pragma once

// Helpers of the top-ten tests: a file's bytes, and answering a modal
// dialog from inside its own event loop.
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>
#include <functional>
#include <memory>

// The file's bytes, or NoFile when it cannot be read.
inline const QByteArray NoFile("\0none", 5);
inline QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : NoFile;
}
// Data becomes the whole file; NoFile removes it.
inline bool Spit(const QString &Path, const QByteArray &Data) {
  QFile::remove(Path);
  QFile F(Path);
  return Data == NoFile || (F.open(QIODevice::WriteOnly) && F.write(Data) == Data.size());
}

// Waits, on real timers, until a visible modal widget of type T is on top,
// then runs Answer on it. A dialog that never comes ends the run instead of
// hanging it.
template <class T>
void WhenModal(std::function<void(T *)> Answer) {
  auto Clock = std::make_shared<QElapsedTimer>();
  Clock->start();
  auto Poll = std::make_shared<std::function<void()>>();
  *Poll = [Answer, Clock, Poll] {
    auto *Top = qobject_cast<T *>(QApplication::activeModalWidget());
    if (Top && Top->isVisible()) {
      Answer(Top);
      *Poll = nullptr;  // breaks the self-reference
      return;
    }
    if (Clock->elapsed() > 10000) qFatal("the expected modal dialog did not appear");
    QTimer::singleShot(1, *Poll);
  };
  QTimer::singleShot(0, *Poll);
}
