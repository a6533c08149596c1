#pragma once

// Plain system calls for the few files the platform stand-ins keep (the
// settings store, the profile files): no stat or access test more than the
// work needs, no blocking on a FIFO put in a file's place.

#include <QByteArray>
#include <QString>
#include <sys/types.h>
#include <utility>

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

enum class TRead { Ok, Missing, NotAFile, Failed };

// The whole file into Data. Opened without blocking, so that a FIFO in its
// place cannot stall the open; anything but a regular file is NotAFile. A
// file over MaxSize bytes (when MaxSize is not negative) fails.
TRead ReadRegularFile(const QString &FileName, QByteArray &Data, qint64 MaxSize = -1);

}  // namespace posixfile
