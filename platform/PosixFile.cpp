#include "PosixFile.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace posixfile {

TFd::~TFd() {
  if (Fd >= 0) ::close(Fd);
}

int OpenNoInterrupt(const char *Path, int Flags, mode_t Mode) {
  int Fd;
  do Fd = ::open(Path, Flags, Mode);
  while (Fd < 0 && errno == EINTR);
  return Fd;
}

bool WriteAll(int Fd, const QByteArray &Data) {
  for (qsizetype Done = 0; Done < Data.size();) {
    const ssize_t N = ::write(Fd, Data.constData() + Done, size_t(Data.size() - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) return false;
    Done += N;
  }
  return true;
}

TRead ReadRegularFile(const QString &FileName, QByteArray &Data, qint64 MaxSize) {
  Data.clear();
  const int Fd = OpenNoInterrupt(QFile::encodeName(FileName).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (Fd < 0) return errno == ENOENT ? TRead::Missing : TRead::Failed;
  TFd File(Fd);
  struct stat Info;
  if (::fstat(Fd, &Info) != 0) return TRead::Failed;
  if (!S_ISREG(Info.st_mode)) return TRead::NotAFile;
  const auto TooBig = [MaxSize](qint64 Size) { return MaxSize >= 0 && Size > MaxSize; };
  if (TooBig(Info.st_size)) return TRead::Failed;
  Data.resize(qsizetype(Info.st_size));
  qsizetype Got = 0;
  for (;;) {
    if (Got == Data.size()) {
      if (TooBig(Data.size())) return TRead::Failed;
      Data.resize(Data.size() + 4096);  // the file grew since fstat
    }
    const ssize_t N = ::read(Fd, Data.data() + Got, size_t(Data.size() - Got));
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return TRead::Failed;
    if (N == 0) break;
    Got += N;
  }
  Data.truncate(Got);
  return TooBig(Got) ? TRead::Failed : TRead::Ok;
}

}  // namespace posixfile
