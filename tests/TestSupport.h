#pragma once

// Helpers every kind of test uses: a folder of the test's own, a file's
// bytes, work in a child process, the text of a raised error and, where
// there are windows, answering the modal windows a step opens and a combo
// box's items.

#include <QtTest>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

inline const QByteArray NoFile("\0none", 5);  // not even an empty file

inline QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : NoFile;
}

inline bool Spit(const QString &Path, const QByteArray &Data) {  // NoFile removes it
  QFile::remove(Path);
  QFile F(Path);
  return Data == NoFile || (F.open(QIODevice::WriteOnly) && F.write(Data) == Data.size());
}

// What Folder holds under names that begin with Name (temporaries, locks).
inline QStringList FilesOf(const QString &Folder, const QString &Name = {}) {
  return QDir(Folder).entryList({Name + "*"}, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// The message of the error Call raises, or "no error".
template <class TCall> QString ErrorOf(TCall &&Call) {
  try {
    Call();
  } catch (const std::exception &E) {
    return QString::fromUtf8(E.what());
  }
  return QStringLiteral("no error");
}

// Work runs in a child process of its own, whose exit code it returns; an
// alarm ends a child still running after 30 s, so that nothing hangs.
template <class TWork> pid_t Spawn(TWork Work) {
  const pid_t Child = fork();
  if (Child == 0) alarm(30), _exit(Work());
  return Child;
}

// Waits for Child, killed first when Kill: whether it was killed, or exited
// with 0 (a crash or the alarm is a failure).
inline bool Ended(pid_t Child, bool Kill = false) {
  int Status = -1;
  return (!Kill || kill(Child, SIGKILL) == 0) && waitpid(Child, &Status, 0) == Child &&
         (Kill || (WIFEXITED(Status) && WEXITSTATUS(Status) == 0));
}

#if __has_include("RegistryStore.h")
#include "RegistryStore.h"

inline const QByteArray StoreHeader = "Windows Registry Editor Version 5.00\n";
inline QString StorePath() { return RegistryStoreFile(TRegistryRoot::CurrentUser); }

// A fresh folder for the program, its top-ten list beside it and the
// settings store, so that no test sees the user's files or another test's.
struct TTempFolder {
  QTemporaryDir Dir;
  QString Program = Dir.filePath("quintor"), Path = Program + ".tps";
  TTempFolder() {
    QStandardPaths::setTestModeEnabled(true);  // should the folder fail, still not the user's files
    SetRegistryFolder(Dir.path());
  }
};
#endif

#if __has_include(<QApplication>)
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>

// Parent's descendant of type T by name; the run ends when there is none.
template <class T> T *Child(const QObject *Parent, const char *Name) {
  if (T *Found = Parent->findChild<T *>(QLatin1String(Name))) return Found;
  qFatal("no child %s", Name);
}

// Runs Answer on the first dialog of type T that is the active modal window,
// polling every 5 ms; a dialog that is not up within 10 s ends the run
// rather than leaving it hanging.
template <class T>
void WhenModal(std::function<void(T *)> Answer) {
  auto *Poll = new QTimer(qApp);
  auto Waited = std::make_shared<int>(0);
  QObject::connect(Poll, &QTimer::timeout, Poll, [Poll, Answer, Waited] {
    auto *Dialog = qobject_cast<T *>(QApplication::activeModalWidget());
    if (!Dialog || !Dialog->isVisible()) {
      if ((*Waited += 5) > 10000) qFatal("the expected modal dialog did not come up");
      return;
    }
    Poll->deleteLater();
    Poll->stop();
    Answer(Dialog);
  });
  Poll->start(5);
}

// While in scope, answers each modal message box with OK and keeps the
// caption, text and number of buttons of the last one ("Quintor|Game Over|1").
struct TModalAnswer : QTimer {
  QString Seen;
  TModalAnswer() {
    connect(this, &QTimer::timeout, this, [this] {
      if (auto *Box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
        Seen = QStringLiteral("%1|%2|%3").arg(Box->windowTitle(), Box->text()).arg(Box->buttons().size());
        Box->button(QMessageBox::Ok)->click();
      }
    });
    start(5);
  }
};

inline QStringList Items(const QComboBox &Combo) {
  QStringList List;
  for (int I = 0; I < Combo.count(); ++I) List << Combo.itemText(I);
  return List;
}
#endif

#if __has_include("RegistryStore.h")
// The store file as saving the one key Software\Key of the current user,
// holding Values, leaves it.
inline QByteArray StoreWithKey(const QByteArray &Key, const QByteArray &Values) {
  const QByteArray Software = "[HKEY_CURRENT_USER\\Software";
  return StoreHeader + "\n" + Software + "]\n\n" + Software + "\\" + Key + "]\n" + Values + "\n";
}
#endif

// A table test's columns by their place rather than by name: the _data
// function calls TTable<QByteArray, int>::Add() before its rows, and the
// test takes a row with const auto [Body, Mode] = TTable<QByteArray, int>::Row().
template <class... T> struct TTable {
  static constexpr const char *Names[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
  static void Add() {
    size_t I = 0;
    (QTest::addColumn<T>(Names[I++]), ...);
  }
  static std::tuple<T...> Row() {
    return []<size_t... I>(std::index_sequence<I...>) {
      return std::tuple<T...>(*static_cast<T *>(QTest::qData(Names[I], qMetaTypeId<T>()))...);
    }(std::index_sequence_for<T...>());
  }
};
