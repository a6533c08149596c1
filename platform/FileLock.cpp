#include "FileLock.h"

#include "PosixFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using posixfile::ErrorText;
using posixfile::OpenNoInterrupt;
using posixfile::TFd;

namespace {

bool SameFile(const struct stat &A, const struct stat &B) { return A.st_dev == B.st_dev && A.st_ino == B.st_ino; }

// Who a lock file says made it, for the log: "process 12 (quintor) on box".
QString Whose(int Fd) {
  char Text[512];
  ssize_t Got;
  do Got = ::pread(Fd, Text, sizeof Text, 0);
  while (Got < 0 && errno == EINTR);
  if (Got <= 0) return QStringLiteral("an empty file");
  const QList<QString> Lines = QString::fromUtf8(Text, Got).split(u'\n');
  return QStringLiteral("process %1 (%2) on %3").arg(Lines[0], Lines.value(1), Lines.value(2));
}

}  // namespace

TFileLock::TFileLock(const QString &FileName)
    : FFile(QFile::encodeName(FileName)), FPath(FFile + ".lock") {}

TFileLock::~TFileLock() {
  if (FFd < 0) return;
  // Ours is the file at the name as long as we hold its flock: nobody takes
  // over a live lock.
  struct stat Mine, There;
  if (::fstat(FFd, &Mine) == 0 && ::lstat(FPath.constData(), &There) == 0 && SameFile(Mine, There))
    ::unlink(FPath.constData());
  ::close(FFd);
}

bool TFileLock::Take(QString &Why) {
  if (FFile.isEmpty()) {
    Why = QStringLiteral("its folder does not exist, or it is a link that leads nowhere");
    return false;
  }
  const QDeadlineTimer Deadline(FileLockWaitMs);
  for (int Cleared = 0;;) {
    switch (TryTake(Why)) {
      case TTry::Taken: return true;
      case TTry::Failed: return false;
      case TTry::Busy: break;
    }
    const TClear State = Clear(Why);
    if (State == TClear::Blocked) return false;
    if (State == TClear::Cleared && ++Cleared < 1000) continue;
    if (Deadline.hasExpired()) {
      Why = QStringLiteral("its lock %1 is held by %2").arg(QFile::decodeName(FPath), FWhose);
      return false;
    }
    QThread::msleep(2 + QRandomGenerator::global()->bounded(3));
  }
}

TFileLock::TTry TFileLock::TryTake(QString &Why) {
  const QByteArray Content = QByteArray::number(qint64(::getpid())) + '\n' +
                             QCoreApplication::applicationName().toUtf8() + '\n' +
                             QSysInfo::machineHostName().toUtf8() + '\n';
  QByteArray TempName;
  TFd File(posixfile::WriteNewFile(FFile, Content, TempName));
  // Readable to every user of the folder, whatever the umask, so that each
  // can see whose it is; the flock before the name, so that it is never
  // seen unheld.
  if (File.Fd >= 0 && ::fchmod(File.Fd, 0644) == 0 && ::flock(File.Fd, LOCK_EX | LOCK_NB) == 0 &&
      posixfile::LinkNewFile(File.Fd, TempName, FPath)) {
    FFd = File.Release();
    return TTry::Taken;
  }
  if (File.Fd >= 0 && (errno == EEXIST || errno == ENOENT)) return TTry::Busy;  // ENOENT: the temporary was removed
  Why = QStringLiteral("its lock %1 cannot be made: %2").arg(QFile::decodeName(FPath), ErrorText());
  if (!TempName.isEmpty()) ::unlink(TempName.constData());
  return TTry::Failed;
}

TFileLock::TClear TFileLock::Clear(QString &Why) {
  struct stat Info;
  if (::lstat(FPath.constData(), &Info) != 0) return TClear::Cleared;  // let go meanwhile
  if (!S_ISREG(Info.st_mode)) {
    const QString What = S_ISDIR(Info.st_mode)   ? QStringLiteral("a folder")
                         : S_ISLNK(Info.st_mode) ? QStringLiteral("a symbolic link")
                         : S_ISFIFO(Info.st_mode) ? QStringLiteral("a FIFO")
                                                  : QStringLiteral("a socket or device");
    return Remove(Info, What, Why);
  }
  const int Fd = OpenNoInterrupt(FPath.constData(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
  if (Fd < 0) {
    if (errno == ENOENT || errno == ELOOP) return TClear::Cleared;  // replaced meanwhile: look again
    return Remove(Info, QStringLiteral("an unreadable file"), Why);  // none of ours
  }
  const TFd File(Fd);
  FWhose = Whose(Fd);
  // Held: live. Not held: whoever made it is gone, and while we hold its
  // flock nobody else takes it over.
  if (::flock(Fd, LOCK_EX | LOCK_NB) != 0) return TClear::Live;
  struct stat Opened;
  if (::fstat(Fd, &Opened) != 0 || !SameFile(Opened, Info)) return TClear::Cleared;
  return Remove(Info, QStringLiteral("nobody holds it (%1)").arg(FWhose), Why);
}

TFileLock::TClear TFileLock::Remove(const struct stat &Judged, const QString &What, QString &Why) {
  const qsizetype Slash = FPath.lastIndexOf('/');
  const TFd Folder(OpenNoInterrupt(Slash < 0 ? "." : FPath.left(Slash + 1).constData(),
                                   O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (Folder.Fd >= 0 && ::flock(Folder.Fd, LOCK_EX | LOCK_NB) != 0) return TClear::Live;  // another copy clears it
  struct stat Now;
  if (::lstat(FPath.constData(), &Now) != 0 || !SameFile(Now, Judged)) return TClear::Cleared;
  if ((S_ISDIR(Judged.st_mode) ? ::rmdir(FPath.constData()) : ::unlink(FPath.constData())) != 0) {
    if (errno == ENOENT) return TClear::Cleared;
    Why = QStringLiteral("%1 stands where its lock %2 goes and cannot be removed: %3")
              .arg(What, QFile::decodeName(FPath), ErrorText());
    return TClear::Blocked;
  }
  qCWarning(lcFiles, "took over the lock %s: %s", FPath.constData(), qUtf8Printable(What));
  return TClear::Cleared;
}
