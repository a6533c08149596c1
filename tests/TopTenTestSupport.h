#pragma once

// Helpers of the top-ten tests: a folder of the test's own for the program
// and its list, a file's bytes, the text of a raised error, and answering a
// modal dialog from inside its own event loop.
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <stdexcept>

inline const QByteArray NoFile("\0none", 5);  // not even an empty file
inline const QString Sect = QStringLiteral("Top Ten Scores");

// The program's path in a fresh folder, and its top-ten file beside it.
struct TTopTenFolder {
  QTemporaryDir Dir;
  QString Program = Dir.filePath("quintor"), Path = Program + ".tps";
};

inline QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : NoFile;
}

inline bool Spit(const QString &Path, const QByteArray &Data) {  // NoFile removes it
  QFile::remove(Path);
  QFile F(Path);
  return Data == NoFile || (F.open(QIODevice::WriteOnly) && F.write(Data) == Data.size());
}

// The text of the error Call raises; empty when it raises none.
template <class F> QString ErrorOf(F Call) {
  try {
    Call();
  } catch (const std::exception &E) {
    return QString::fromUtf8(E.what());
  }
  return {};
}

#ifdef QT_WIDGETS_LIB
#include <QApplication>

// Answer runs on the dialog of type T that the next modal loop shows. A
// zero-delay timer fires only once that loop runs, so the dialog is up; any
// other dialog ends the run at once rather than leaving it hanging.
template <class T> void WhenModal(std::function<void(T *)> Answer) {
  QTimer::singleShot(0, [Answer] {
    auto *Dialog = qobject_cast<T *>(QApplication::activeModalWidget());
    if (!Dialog || !Dialog->isVisible()) qFatal("the expected modal dialog is not up");
    Answer(Dialog);
  });
}
#endif
