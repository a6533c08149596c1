#pragma once

// "<file>.lock", held for one read-change-write of a file two copies of the
// program may write at once (the top-ten file, the settings store):
//
//   TFileLock Lock(posixfile::CanonicalName(Path));
//   QString Why;
//   if (!Lock.Take(Why)) return false;  // Why says what kept it
//   ... read, change, posixfile::ReplaceFile ...  // let go when Lock goes
//
// Keyed by the file's canonical name, so that every path to the file takes
// the same lock. A holder writes its process id, program name and host (a
// line each) into a file without a name, flocks it, and only then gives it
// the lock's name (never replacing one); it keeps the flock till it lets go.
// So a lock is live exactly while its flock is held, whatever it says, and
// anything else at the lock's name is taken over at once: a file nobody
// holds (a killed copy's, one naming this process from an earlier run or
// another host, an empty or unreadable one), a FIFO, socket or device, a
// symbolic link, an empty folder. It is judged without an open that could
// block, and removed under an flock on the folder only while the name still
// refers to it, so that two copies taking over at once never remove the
// lock one of them has just taken. What cannot be removed (a folder that is
// not empty) fails the write at once.
//
// (QLockFile blocks on a FIFO at that name and lets an empty lock age first.)
//
// One timeout, FileLockWaitMs: a holder keeps the lock for a read, a write
// and a sync, milliseconds (hundreds on a slow disk), so a second is ample.
// A live lock held longer belongs to a copy that hangs or was stopped: the
// write is not kept rather than freezing the window that asked for it. A
// live lock is never taken over.

#include <QByteArray>
#include <QString>

struct stat;

constexpr int FileLockWaitMs = 1000;

class TFileLock {
 public:
  // The lock of FileName, best its canonical name; not yet taken.
  explicit TFileLock(const QString &FileName);
  ~TFileLock();  // lets go
  TFileLock(const TFileLock &) = delete;
  TFileLock &operator=(const TFileLock &) = delete;

  // Takes the lock, waiting at most FileLockWaitMs for a live holder.
  // False, with the reason in Why, when it could not be had.
  bool Take(QString &Why);

 private:
  enum class TTry { Taken, Busy, Failed };
  enum class TClear { Cleared, Live, Blocked };
  TTry TryTake(QString &Why);
  TClear Clear(QString &Why);
  TClear Remove(const struct stat &Judged, const QString &What, QString &Why);

  QByteArray FFile, FPath;
  QString FWhose;  // what the live lock said, for the reason a write failed
  int FFd = -1;
};
