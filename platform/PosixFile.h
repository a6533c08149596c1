#pragma once

// The file layer the top-ten file and the settings store share: plain system
// calls (no stat or access test more than the work needs, never blocking on
// a FIFO in a file's place), the one atomic replace, the one Windows-1252
// table, and the log (FileLock.h has the lock that goes with the replace).
// The category "quintor.files" prints nothing by default; with
// QT_LOGGING_RULES="quintor.files.warning=true" it says each write not kept
// and why, each lock taken over and each file set aside.

#include <QByteArray>
#include <QLoggingCategory>
#include <QString>
#include <sys/types.h>
#include <utility>

Q_DECLARE_LOGGING_CATEGORY(lcFiles)

namespace posixfile {

// Closes its descriptor when it goes.
class TFd {
 public:
  explicit TFd(int Fd) : Fd(Fd) {}
  ~TFd();
  TFd(const TFd &) = delete;
  TFd &operator=(const TFd &) = delete;
  int Release() { return std::exchange(Fd, -1); }
  int Fd;
};

// open(), tried again when a signal interrupts it.
int OpenNoInterrupt(const char *Path, int Flags, mode_t Mode = 0);
// The whole of Data, or false.
bool WriteAll(int Fd, const QByteArray &Data);
// The text of errno.
QString ErrorText();

enum class TRead { Ok, Missing, NotAFile, Failed };

// The whole file into Data. Opened without blocking, so that a FIFO in its
// place cannot stall the open; anything but a regular file is NotAFile. A
// file over MaxSize bytes (when MaxSize is not negative) fails.
TRead ReadRegularFile(const QString &FileName, QByteArray &Data, qint64 MaxSize = -1);

// The one path of a file however it is named (through a symbolic link to it
// or to a folder above it), also of one that does not exist yet (its
// folder's path and its name). Empty when the folder does not exist or the
// name is a symbolic link that leads nowhere.
QString CanonicalName(const QString &FileName);

// The file is there and marked read-only (by its permission bits, also for
// root) or may not be written: it is never replaced.
bool IsReadOnly(const QByteArray &FileName);

// Puts Data in FileName's place (a canonical name, its lock held) in one
// rename: a crash, a kill or a full disk leaves the old file or the new one.
// The new text goes to a file without a name (gone with a killed process),
// named only for the rename; the folder is synced after it, so that after a
// true result a power cut cannot bring the old file back. The new file keeps
// the old one's permissions. False, and Why, when the file is as it was.
bool ReplaceFile(const QString &FileName, const QByteArray &Data, QString &Why);

// A new file holding Data in the folder of Final: without a name where the
// file system allows (TempName empty), else named "<Final>.tmp" and eight
// hex digits (TempName), which the next ReplaceFile of Final removes should
// a killed process leave it. -1 (and errno) when it cannot be written.
int WriteNewFile(const QByteArray &Final, const QByteArray &Data, QByteArray &TempName);
// Gives that file the name Name, never replacing what has it already
// (false, errno EEXIST). A named file loses its temporary name.
bool LinkNewFile(int Fd, const QByteArray &TempName, const QByteArray &Name);

// Test hook: called with "rename" and the file, then "fsync" and its folder.
inline void (*FileCallHook)(const char *Call, const QByteArray &Path) = nullptr;

// Bytes of the Windows-1252 code page as text; the five bytes it leaves
// undefined keep their control characters, as the desktop's conversion does.
QString FromWindows1252(QByteArrayView Bytes);
// UTF-8 text, or, when the bytes are not UTF-8, Windows-1252 (files written
// by older programs). A U+FEFF at its start is part of the text.
QString DecodeText(QByteArrayView Bytes);

}  // namespace posixfile
