#include "PosixFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Warnings are off unless QT_LOGGING_RULES switches them on.
Q_LOGGING_CATEGORY(lcFiles, "quintor.files", QtCriticalMsg)

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

QString ErrorText() { return QString::fromLocal8Bit(std::strerror(errno)); }

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

QString CanonicalName(const QString &FileName) {
  const QFileInfo Info(FileName);
  if (Info.exists()) return Info.canonicalFilePath();
  if (Info.isSymLink()) return {};  // a link to nowhere
  const QString Folder = QFileInfo(Info.absolutePath()).canonicalFilePath();
  return Folder.isEmpty() ? QString() : QDir(Folder).filePath(Info.fileName());
}

namespace {

QByteArray FolderOf(const QByteArray &Name) {
  const qsizetype Slash = Name.lastIndexOf('/');
  return Slash < 0 ? QByteArray(".") : Name.left(Slash + 1);
}

// A new file gets the name "<file>.tmp" and eight hex digits for the moment
// between being written and being renamed over the file. Under the lock no
// other writer has one, so any such name is what a killed writer left.
constexpr char TempInfix[] = ".tmp";
constexpr qsizetype TempDigits = 8;

QByteArray NewTempName(const QByteArray &Final) {
  return Final + TempInfix +
         QByteArray::number(QRandomGenerator::global()->generate(), 16).rightJustified(TempDigits, '0');
}

void RemoveStaleTemps(const QByteArray &Final) {
  const qsizetype Slash = Final.lastIndexOf('/');
  const QByteArray Prefix = Final.mid(Slash + 1) + TempInfix;
  DIR *Listing = ::opendir(FolderOf(Final).constData());
  if (!Listing) return;
  while (const dirent *Entry = ::readdir(Listing)) {
    const QByteArrayView Name(Entry->d_name);
    if (Name.size() != Prefix.size() + TempDigits || !Name.startsWith(Prefix)) continue;
    bool Hex = true;
    for (char C : Name.sliced(Prefix.size())) Hex = Hex && ((C >= '0' && C <= '9') || (C >= 'a' && C <= 'f'));
    if (Hex) ::unlinkat(::dirfd(Listing), Entry->d_name, 0);
  }
  ::closedir(Listing);
}

}  // namespace

int WriteNewFile(const QByteArray &Final, const QByteArray &Data, QByteArray &TempName) {
  TempName.clear();
  // An unnamed file is named through /proc.
  static const bool Proc = ::access("/proc/self/fd", X_OK) == 0;
  int Fd = Proc ? OpenNoInterrupt(FolderOf(Final).constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666) : -1;
  for (int Attempt = 0; Fd < 0 && Attempt < 100; ++Attempt) {
    TempName = NewTempName(Final);
    Fd = OpenNoInterrupt(TempName.constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd < 0 && errno != EEXIST) break;
  }
  TFd File(Fd);
  if (Fd >= 0 && WriteAll(Fd, Data)) return File.Release();
  const int Error = errno;
  if (!TempName.isEmpty()) ::unlink(TempName.constData());
  TempName.clear();
  errno = Error;
  return -1;
}

bool LinkNewFile(int Fd, const QByteArray &TempName, const QByteArray &Name) {
  if (TempName.isEmpty()) {
    const QByteArray Self = "/proc/self/fd/" + QByteArray::number(Fd);
    return ::linkat(AT_FDCWD, Self.constData(), AT_FDCWD, Name.constData(), AT_SYMLINK_FOLLOW) == 0;
  }
  int Result = ::link(TempName.constData(), Name.constData());
  // A file system without hard links can still move a file without replacing.
  if (Result != 0 && errno != EEXIST && errno != ENOENT)
    Result = ::renameat2(AT_FDCWD, TempName.constData(), AT_FDCWD, Name.constData(), RENAME_NOREPLACE);
  const int Error = errno;
  ::unlink(TempName.constData());
  errno = Error;
  return Result == 0;
}

// A rename would replace a file marked read-only; the desktop leaves such a
// file alone, and so do we (also for root, whom access() lets write).
bool IsReadOnly(const QByteArray &FileName) {
  struct stat Info;
  return ::stat(FileName.constData(), &Info) == 0 && (!(Info.st_mode & 0222) || ::access(FileName.constData(), W_OK) != 0);
}

bool ReplaceFile(const QString &FileName, const QByteArray &Data, QString &Why) {
  const QByteArray Final = QFile::encodeName(FileName);
  if (IsReadOnly(Final)) {
    Why = QStringLiteral("the file is marked read-only");
    return false;
  }
  struct stat Old;
  const bool Existed = ::stat(Final.constData(), &Old) == 0;
  RemoveStaleTemps(Final);
  QByteArray TempName;
  TFd File(WriteNewFile(Final, Data, TempName));
  bool Ok = File.Fd >= 0 && (!Existed || ::fchmod(File.Fd, Old.st_mode & 07777) == 0) && ::fdatasync(File.Fd) == 0;
  // An unnamed file gets a name for the rename.
  for (int Attempt = 0; Ok && TempName.isEmpty() && Attempt < 100; ++Attempt) {
    const QByteArray Name = NewTempName(Final);
    if (LinkNewFile(File.Fd, {}, Name)) TempName = Name;
    else Ok = errno == EEXIST;
  }
  Ok = Ok && !TempName.isEmpty() && ::rename(TempName.constData(), Final.constData()) == 0;
  if (!Ok) {
    Why = QStringLiteral("the new file could not be written (%1)").arg(ErrorText());
    if (!TempName.isEmpty()) ::unlink(TempName.constData());
    return false;
  }
  if (FileCallHook) FileCallHook("rename", Final);
  const QByteArray Folder = FolderOf(Final);
  const TFd Dir(OpenNoInterrupt(Folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (Dir.Fd >= 0 && FileCallHook) FileCallHook("fsync", Folder);
  // The file is replaced whatever the folder's sync says (some file systems
  // cannot sync a folder); a failed one is worth a line.
  if (Dir.Fd < 0 || (::fsync(Dir.Fd) != 0 && errno != EINVAL))
    qCWarning(lcFiles, "%s was replaced, but its folder could not be synced: %s", Final.constData(),
              qUtf8Printable(ErrorText()));
  return true;
}

QString FromWindows1252(QByteArrayView Bytes) {
  // 0x80 to 0x9f; the rest are the same as in Latin-1.
  static constexpr char16_t High[32] = {
      0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
      0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};
  QString Text(Bytes.size(), Qt::Uninitialized);
  QChar *Out = Text.data();
  for (const char C : Bytes) {
    const uchar B = uchar(C);
    *Out++ = QChar(B >= 0x80 && B < 0xa0 ? High[B - 0x80] : char16_t(B));
  }
  return Text;
}

QString DecodeText(QByteArrayView Bytes) {
  QStringDecoder Utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
  QString Text = Utf8(Bytes);
  return Utf8.hasError() ? FromWindows1252(Bytes) : Text;
}

}  // namespace posixfile
