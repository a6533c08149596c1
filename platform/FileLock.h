#pragma once

// "<file>.lock", held for one read-change-write of a file that two copies of
// the program may write at once (the top-ten file, the settings store):
//
//   const QString File = posixfile::CanonicalName(Path);
//   TFileLock Lock(File);
//   QString Why;
//   if (!Lock.Take(Why)) return false;  // Why says what kept it
//   ... read File, change it, posixfile::ReplaceFile(File, ...) ...
//   // the lock is let go when Lock goes
//
// The lock goes beside the file's canonical name, so that every path to the
// file (through a symbolic link to a folder above it, say) takes the same
// lock. A holder writes its process id, program name and host name (a line
// each) into a file without a name, puts an flock() on it and only then
// gives it the lock's name, never replacing what has that name; it keeps
// the flock until it lets go. So a lock is live exactly while its flock is
// held (across hosts too, where the file system passes flocks on), and
// whatever it says, anything else at the lock's name is taken over at once:
// a file nobody holds (left by a killed copy, naming this process from an
// earlier run or another host, empty, unreadable), a FIFO, a socket, a
// device, a symbolic link (to anything or nowhere), an empty folder. It is
// judged without any open that could block, and removed under an flock on
// the folder and only if the name still refers to it, so that two copies
// taking over at once never remove the lock one of them has just taken.
// What cannot be removed (a folder that is not empty) fails the write at
// once.
//
// One timeout: a holder keeps the lock for one read, one write and two
// syncs, a few milliseconds, a few hundred on a slow disk. A live lock held
// for longer than FileLockWaitMs belongs to a copy that hangs (or was
// stopped); the write is then not kept, rather than freezing the window
// that asked for it. A live lock is never taken over, however old: its
// holder may still write.

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

  // Takes the lock, waiting at most WaitMs for a live holder. False, with
  // the reason in Why, when it could not be had.
  bool Take(QString &Why, int WaitMs = FileLockWaitMs);

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
