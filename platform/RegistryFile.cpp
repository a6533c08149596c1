#include "RegistryFile.h"

#include "PosixFile.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <mutex>
#include <set>
#include <utility>

namespace {

QString &FolderOverride() {
  static QString Folder;
  return Folder;
}

// An empty lock is a writer between making the file and writing its id into
// it, which takes microseconds; one still empty after this was abandoned.
constexpr qint64 EmptyLockMs = 250;
// No batch holds the lock this long: whoever made it is stuck or gone (also
// a process on another machine, whose id cannot be checked).
constexpr qint64 AbandonedLockMs = 30000;

using posixfile::OpenNoInterrupt;
using posixfile::TFd;
using posixfile::TRead;
using posixfile::WriteAll;

// A rename would replace a file marked read-only; the desktop leaves such a
// file alone, and so do the profile files and we (also for root, whom
// access() lets write anything).
bool MayReplace(const QString &FileName) {
  const QByteArray Name = QFile::encodeName(FileName);
  struct stat Info;
  return ::stat(Name.constData(), &Info) == 0 && (Info.st_mode & 0222) && ::access(Name.constData(), W_OK) == 0;
}

qint64 AgeMs(const struct stat &Info) {
  timespec Now{};
  ::clock_gettime(CLOCK_REALTIME, &Now);
  const qint64 Ms = (qint64(Now.tv_sec) - Info.st_mtim.tv_sec) * 1000 + (Now.tv_nsec - Info.st_mtim.tv_nsec) / 1000000;
  return Ms < 0 ? -Ms : Ms;  // a clock set back must not keep a lock alive either
}

// The locks this process holds, by file: a lock with our own process id
// that is not among them was left by an earlier process that had the same
// id (as happens when every start gets the same low id in a container).
std::mutex HeldLocksMutex;
std::set<std::pair<dev_t, ino_t>> HeldLocks;

bool HeldHere(dev_t Device, ino_t Inode) {
  const std::lock_guard Guard(HeldLocksMutex);
  return HeldLocks.count({Device, Inode}) != 0;
}

QByteArray HostName() {
  char Name[256] = {};
  return ::gethostname(Name, sizeof Name - 1) == 0 ? QByteArray(Name) : QByteArray();
}

// The lock of one store file: "<file>.lock", made only when it does not
// exist, removed by its holder.
class TStoreLock {
 public:
  explicit TStoreLock(const QString &StoreFile)
      : FPath(QFile::encodeName(StoreFile + QLatin1String(".lock"))),
        FFolder(QFile::encodeName(QFileInfo(StoreFile).absolutePath())) {}
  ~TStoreLock() { Release(); }
  TStoreLock(const TStoreLock &) = delete;
  TStoreLock &operator=(const TStoreLock &) = delete;

  bool Take(int TimeoutMs) {
    const QDeadlineTimer Deadline(TimeoutMs);
    for (;;) {
      switch (TryTake()) {
        case TTry::Taken: return true;
        case TTry::Failed: return false;
        case TTry::Busy: break;
      }
      if (RemoveIfStale()) continue;
      if (Deadline.hasExpired()) return false;
      QThread::msleep(2);
    }
  }

  void Release() {
    if (!std::exchange(FHeld, false)) return;
    {
      const std::lock_guard Guard(HeldLocksMutex);
      HeldLocks.erase({FDevice, FInode});
    }
    struct stat Info;
    // Only our own: a lock taken over from us (after half a minute) is
    // someone else's now.
    if (::lstat(FPath.constData(), &Info) == 0 && Info.st_dev == FDevice && Info.st_ino == FInode)
      ::unlink(FPath.constData());
  }

 private:
  enum class TTry { Taken, Busy, Failed };

  TTry TryTake() {
    const QByteArray Content = QByteArray::number(qint64(::getpid())) + '\n' +
                               QCoreApplication::applicationName().toUtf8() + '\n' + HostName() + '\n';
    // The id is written into a file of our own first and that file is then
    // linked to the lock's name, so that our locks are never seen empty.
    const QByteArray Temp = FPath + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    const int Fd = OpenNoInterrupt(Temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (Fd < 0) return TTry::Failed;
    struct stat Info;
    const bool Written = WriteAll(Fd, Content) && ::fstat(Fd, &Info) == 0;
    ::close(Fd);
    const int Linked = Written ? ::link(Temp.constData(), FPath.constData()) : -1;
    const int LinkError = errno;
    ::unlink(Temp.constData());
    if (!Written) return TTry::Failed;
    if (Linked == 0) return Held(Info);
    if (LinkError == EEXIST) return TTry::Busy;
    return TakeWithoutLink(Content);
  }

  // A file system without hard links: the lock is made and then written.
  TTry TakeWithoutLink(const QByteArray &Content) {
    const int Fd = OpenNoInterrupt(FPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (Fd < 0) return errno == EEXIST ? TTry::Busy : TTry::Failed;
    TFd Lock(Fd);
    struct stat Info;
    if (!WriteAll(Fd, Content) || ::fstat(Fd, &Info) != 0) {
      ::unlink(FPath.constData());
      return TTry::Failed;
    }
    return Held(Info);
  }

  TTry Held(const struct stat &Info) {
    FHeld = true;
    FDevice = Info.st_dev;
    FInode = Info.st_ino;
    const std::lock_guard Guard(HeldLocksMutex);
    HeldLocks.insert({FDevice, FInode});
    return TTry::Taken;
  }

  // Whether the lock there now belongs to nobody: not a file at all, no
  // process id, the id of a process that is gone, still empty after a
  // moment, or older than any batch.
  bool IsStale() const {
    struct stat Info;
    if (::lstat(FPath.constData(), &Info) != 0) return false;  // gone: try again
    if (!S_ISREG(Info.st_mode)) return true;
    const qint64 Age = AgeMs(Info);
    if (Age > AbandonedLockMs) return true;
    const int Fd = OpenNoInterrupt(FPath.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOFOLLOW);
    if (Fd < 0) return false;  // cannot be judged until it is abandoned
    TFd Lock(Fd);
    char Buffer[1024];
    ssize_t Size;
    do Size = ::read(Fd, Buffer, sizeof Buffer);
    while (Size < 0 && errno == EINTR);
    if (Size < 0) return false;
    if (Size == 0) return Age > EmptyLockMs;
    const QList<QByteArray> Lines = QByteArray(Buffer, Size).split('\n');
    bool IsNumber = false;
    const qint64 Pid = Lines[0].trimmed().toLongLong(&IsNumber);
    if (!IsNumber || Pid <= 0 || Pid > INT_MAX) return true;
    const QByteArray Host = Lines.size() > 2 ? Lines[2].trimmed() : QByteArray();
    if (!Host.isEmpty() && Host != HostName()) return false;
    if (Pid == ::getpid()) return !HeldHere(Info.st_dev, Info.st_ino);
    return ::kill(pid_t(Pid), 0) != 0 && errno == ESRCH;
  }

  // Judged and removed while holding a lock on the folder, so that two
  // processes that both find the same stale lock cannot remove, between
  // them, the fresh lock one of them has just made.
  bool RemoveIfStale() const {
    const int Guard = OpenNoInterrupt(FFolder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    TFd Folder(Guard);
    if (Guard >= 0 && ::flock(Guard, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return false;
    return IsStale() && ::unlink(FPath.constData()) == 0;
  }

  QByteArray FPath, FFolder;
  bool FHeld = false;
  dev_t FDevice = 0;
  ino_t FInode = 0;
};

}  // namespace

QString RegistryStoreFile(TRegistryRoot Root) {
  const QString FileName = RegistryRootName(Root) + QLatin1String(".reg");
  if (!FolderOverride().isEmpty()) return FolderOverride() + u'/' + FileName;
  if (Root != TRegistryRoot::CurrentUser) return QLatin1String("/etc/jstore/") + FileName;
  const QString Config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (Config.isEmpty()) return {};
  return Config + QLatin1String("/jstore/") + FileName;
}

void SetRegistryFolder(const QString &Folder) { FolderOverride() = Folder; }

TRegistryFile::TRegistryFile(TRegistryRoot Root, const QString &FilePath) : FRoot(Root), FFilePath(FilePath) {}

TRegistryTree TRegistryFile::Read() const {
  QByteArray Bytes;
  if (FFilePath.isEmpty() || posixfile::ReadRegularFile(FFilePath, Bytes) != TRead::Ok) return {};
  auto Tree = TRegistryTree::Parse(Bytes, FRoot);
  return Tree ? std::move(*Tree) : TRegistryTree();
}

bool TRegistryFile::CanWrite() const {
  if (FFilePath.isEmpty()) return false;
  const QString Folder = QFileInfo(FFilePath).absolutePath();
  return QDir().mkpath(Folder) && QFileInfo(Folder).isWritable();
}

bool TRegistryFile::Apply(const std::vector<TRegistryChange> &Changes, TRegistryTree *Result) {
  if (!CanWrite()) return false;
  TStoreLock Lock(FFilePath);
  if (!Lock.Take(LockTimeoutMs)) return false;

  QByteArray Old;
  switch (posixfile::ReadRegularFile(FFilePath, Old)) {
    case TRead::Missing: break;
    case TRead::Ok:
      if (!MayReplace(FFilePath)) return false;
      break;
    case TRead::NotAFile:
    case TRead::Failed: return false;
  }
  std::optional<TRegistryTree> Tree = TRegistryTree::Parse(Old, FRoot);
  if (!Tree) {
    // Never write over what we cannot read: a person may still repair it.
    QString Aside = FFilePath + QLatin1String(".corrupt");
    for (int N = 1; QFileInfo::exists(Aside); ++N)
      Aside = FFilePath + QLatin1String(".corrupt.") + QString::number(N);
    if (!QFile::rename(FFilePath, Aside)) return false;
    Tree.emplace();
  }

  // A batch that changes nothing leaves the file as it is, comments and all.
  const QByteArray Before = Tree->Serialize(FRoot);
  for (const TRegistryChange &Change : Changes) {
    switch (Change.Kind) {
      case TRegistryChange::ckCreateKey: Tree->Create(Change.Path); break;
      case TRegistryChange::ckDeleteKey: Tree->Delete(Change.Path); break;
      case TRegistryChange::ckSetValue: Tree->Create(Change.Path)->SetValue(Change.Value); break;
    }
  }
  if (WhileLocked) WhileLocked();

  const QByteArray New = Tree->Serialize(FRoot);
  if (New != Before) {
    QSaveFile Out(FFilePath);
    // Unbuffered, so that a short write (a full disk, the file size limit)
    // shows in write()'s count: a buffered QSaveFile was seen to commit a
    // truncated file after one.
    if (!Out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (Out.write(New) != New.size()) {
      Out.cancelWriting();
      return false;
    }
    if (!Out.commit()) return false;
  }
  if (Result) *Result = std::move(*Tree);
  return true;
}
