#include "ProfileFile.h"

#include "PosixFile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QSysInfo>
#include <QThread>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsSpace(char C) {
  return C == ' ' || C == '\t' || C == '\n' || C == '\v' || C == '\f' || C == '\r' || C == '\x1a';
}

bool IsSpace(QChar C) { return C.unicode() < 0x80 && IsSpace(char(C.unicode())); }

QString Trimmed(const QString &S) {
  qsizetype B = 0, E = S.size();
  while (B < E && IsSpace(S[B])) ++B;
  while (E > B && IsSpace(S[E - 1])) --E;
  return S.mid(B, E - B);
}

// Bytes 0x80 to 0x9F of Windows-1252; the five unassigned ones pass through.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Each name and value is decoded on its own: a U+FEFF at its start is part of
// it, not a byte-order mark to drop (the file's own mark is skipped before).
QString DecodeText(QByteArrayView Bytes) {
  QStringDecoder Utf8(QStringDecoder::Utf8,
                      QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
  QString Text = Utf8(Bytes);
  if (!Utf8.hasError()) return Text;
  Text.clear();
  Text.reserve(Bytes.size());
  for (char B : Bytes) {
    const auto U = static_cast<unsigned char>(B);
    Text += QChar(U >= 0x80 && U < 0xA0 ? Cp1252High[U - 0x80] : char16_t(U));
  }
  return Text;
}

// Names in the file are compared as UTF-8 bytes, folding ASCII letters only.
// A name that is not valid UTF-8 is first read as Windows-1252.
QByteArray NameKey(QByteArrayView Bytes) {
  bool Ascii = true;
  for (char B : Bytes)
    if (static_cast<unsigned char>(B) >= 0x80) Ascii = false;
  QByteArray Key = Ascii ? Bytes.toByteArray() : DecodeText(Bytes).toUtf8();
  for (char &C : Key)
    if (C >= 'A' && C <= 'Z') C = char(C - 'A' + 'a');
  return Key;
}

QByteArray NameKey(const QString &Name) { return NameKey(QByteArrayView(Trimmed(Name).toUtf8())); }

// Where a section and a key are in a file's bytes, and where a new key of
// that section would go.
struct TLocation {
  bool SectionFound = false;
  qsizetype InsertAt = -1;        // just after the section's last entry line
  bool InsertNeedsBreak = false;  // that line is the last one and has no line break
  bool KeyFound = false;
  qsizetype AfterEquals = -1;  // the key line's raw value runs from here ...
  qsizetype LineEnd = -1;      // ... to here (its line break excluded)
  qsizetype ValueStart = -1, ValueEnd = -1;  // the value, trimmed
  qsizetype HeaderAt = -1;                   // where the section's header line begins
};

qsizetype BodyStart(const QByteArray &Data) { return Data.startsWith("\xEF\xBB\xBF") ? 3 : 0; }

// From, when given, is where a line begins and no header of Section comes
// before it.
TLocation Locate(const QByteArray &Data, const QByteArray &Section, const QByteArray &Key,
                 qsizetype From = -1) {
  TLocation L;
  const char *D = Data.constData();
  const qsizetype N = Data.size();
  bool InSection = false;
  for (qsizetype Start = From < 0 ? BodyStart(Data) : From; Start < N;) {
    const qsizetype LineStart = Start;
    qsizetype End = Start;
    while (End < N && D[End] != '\n' && D[End] != '\r') ++End;
    qsizetype Next = End;
    if (Next < N) Next += (D[Next] == '\r' && Next + 1 < N && D[Next + 1] == '\n') ? 2 : 1;

    qsizetype B = Start, E = End;
    while (B < E && IsSpace(D[B])) ++B;
    while (E > B && IsSpace(D[E - 1])) --E;
    Start = Next;
    if (B == E || D[B] == ';') continue;  // blank or comment: never an insertion point

    if (D[B] == '[') {
      qsizetype Close = E - 1;
      while (Close > B && D[Close] != ']') --Close;
      if (Close > B) {
        if (InSection) return L;  // the section ends here
        if (!L.SectionFound) {
          qsizetype NB = B + 1, NE = Close;
          while (NB < NE && IsSpace(D[NB])) ++NB;
          while (NE > NB && IsSpace(D[NE - 1])) --NE;
          if (NameKey(QByteArrayView(D + NB, NE - NB)) == Section) {
            L.SectionFound = InSection = true;
            L.HeaderAt = LineStart;
            L.InsertAt = Next;
            L.InsertNeedsBreak = Next == End;
          }
        }
        continue;
      }
    }
    if (!InSection) continue;
    L.InsertAt = Next;
    L.InsertNeedsBreak = Next == End;

    const char *Eq = static_cast<const char *>(memchr(D + B, '=', size_t(E - B)));
    if (!Eq) continue;  // a line without '=' is kept but is no key
    const qsizetype EqPos = Eq - D;
    qsizetype NE = EqPos;
    while (NE > B && IsSpace(D[NE - 1])) --NE;
    if (NameKey(QByteArrayView(D + B, NE - B)) != Key) continue;
    qsizetype VB = EqPos + 1;
    while (VB < E && IsSpace(D[VB])) ++VB;
    L.KeyFound = true;
    L.AfterEquals = EqPos + 1;
    L.LineEnd = End;
    L.ValueStart = VB;
    L.ValueEnd = E;
    return L;
  }
  return L;
}

// Plain system calls rather than QFile/QSaveFile: the file is one of many
// beside the program, replaced without a name until the last moment, and the
// toolkit's extra checks around each step (access tests, repeated stats)
// cost more than the work itself.
using posixfile::TFd;
using posixfile::TRead;
using posixfile::WriteAll;

// A FIFO or folder in the file's place reads as a file that cannot be read.
TRead ReadFile(const QString &FileName, QByteArray &Data) {
  const TRead Result = posixfile::ReadRegularFile(FileName, Data, MaxProfileFileSize);
  return Result == TRead::NotAFile ? TRead::Failed : Result;
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
  const QByteArray Folder = Slash < 0 ? QByteArray(".") : Final.left(Slash + 1);
  const QByteArray Prefix = Final.mid(Slash + 1) + TempInfix;
  DIR *Listing = ::opendir(Folder.constData());
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

// Writes Data to a file without a name in Final's folder and then gives it
// TempName; a process killed before that leaves nothing behind. Fails (-1)
// where the file system or /proc does not allow it.
int WriteUnnamed(const QByteArray &Final, const QByteArray &Data, const struct stat *Old,
                 QByteArray &TempName) {
  const qsizetype Slash = Final.lastIndexOf('/');
  const QByteArray Folder = Slash < 0 ? QByteArray(".") : Final.left(Slash + 1);
  TFd File(::open(Folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
  if (File.Fd < 0 || !WriteAll(File.Fd, Data) || (Old && ::fchmod(File.Fd, Old->st_mode & 07777) != 0) ||
      ::fdatasync(File.Fd) != 0)
    return -1;
  const QByteArray Self = "/proc/self/fd/" + QByteArray::number(File.Fd);
  for (int Attempt = 0; Attempt < 100; ++Attempt) {
    TempName = NewTempName(Final);
    if (::linkat(AT_FDCWD, Self.constData(), AT_FDCWD, TempName.constData(), AT_SYMLINK_FOLLOW) == 0)
      return File.Release();
    if (errno != EEXIST) break;
  }
  TempName.clear();
  return -1;
}

int WriteNamed(const QByteArray &Final, const QByteArray &Data, const struct stat *Old,
               QByteArray &TempName) {
  int Fd = -1;
  for (int Attempt = 0; Fd < 0 && Attempt < 100; ++Attempt) {
    TempName = NewTempName(Final);
    Fd = ::open(TempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd < 0 && errno != EEXIST && errno != EINTR) break;
  }
  if (Fd < 0) {
    TempName.clear();
    return -1;
  }
  TFd File(Fd);
  if (!WriteAll(Fd, Data) || (Old && ::fchmod(Fd, Old->st_mode & 07777) != 0) || ::fdatasync(Fd) != 0)
    return -1;  // the caller removes TempName
  return File.Release();
}

// Puts Data in Target's place in one rename: a crash, a kill or a full disk
// leaves either the old file or the new one. The new file keeps the old
// one's permissions. Only called with the file's lock held.
bool ReplaceFile(const QString &Target, const QByteArray &Data) {
  QString Final = Target;
  const QFileInfo TargetInfo(Target);
  if (TargetInfo.isSymLink()) Final = TargetInfo.canonicalFilePath();  // replace what it points at
  if (Final.isEmpty()) return false;
  const QByteArray FinalName = QFile::encodeName(Final);
  struct stat Old;
  const bool Existed = ::stat(FinalName.constData(), &Old) == 0;
  // A rename would replace a file marked read-only; the desktop's profile
  // functions leave such a file alone, and so do we (also for root).
  if (Existed && (!(Old.st_mode & 0222) || ::access(FinalName.constData(), W_OK) != 0)) return false;

  RemoveStaleTemps(FinalName);
  QByteArray TempName;
  int Fd = WriteUnnamed(FinalName, Data, Existed ? &Old : nullptr, TempName);
  if (Fd < 0) Fd = WriteNamed(FinalName, Data, Existed ? &Old : nullptr, TempName);
  bool Ok = Fd >= 0 && ::close(Fd) == 0;
  if (Ok) Ok = ::rename(TempName.constData(), FinalName.constData()) == 0;
  if (!Ok && !TempName.isEmpty()) ::unlink(TempName.constData());
  return Ok;
}

// A lock file whose holder is gone. Every holder keeps an flock() on its
// lock file from the moment it creates it, then writes its process id and
// host name into it (QLockFile's format). A file nobody holds is stale when
// its process is gone (it may also be between letting go and removing it,
// alive), when it names this process, which does not hold it (an earlier
// process had the same id; QLockFile would wait for itself), or when it is
// still empty a moment after it was made (its maker died before signing it;
// QLockFile alone would wait half a minute). The
// stale file is removed while we hold its flock, and only if the name still
// refers to it, so that two processes taking it over at once never remove
// the new holder's file. QLockFile's own takeover is slow and can itself
// leave files behind when killed in the middle, so it runs only for the
// cases this one leaves open.
bool RemoveDeadLock(const QString &LockName) {
  const QByteArray Name = QFile::encodeName(LockName);
  TFd File(::open(Name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  struct stat Info, Now;
  if (File.Fd < 0 || ::fstat(File.Fd, &Info) != 0 || !S_ISREG(Info.st_mode) ||
      ::flock(File.Fd, LOCK_EX | LOCK_NB) != 0)
    return false;
  char Text[512];
  const ssize_t Got = ::read(File.Fd, Text, sizeof Text);
  bool Dead = false;
  if (Got == 0) {
    timespec Clock;
    ::clock_gettime(CLOCK_REALTIME, &Clock);
    const qint64 AgeMs = (qint64(Clock.tv_sec) - Info.st_mtim.tv_sec) * 1000 +
                         (qint64(Clock.tv_nsec) - Info.st_mtim.tv_nsec) / 1000000;
    Dead = AgeMs >= 500;
  } else if (Got > 0) {
    const QList<QByteArray> Lines = QByteArray(Text, Got).split('\n');
    bool IsNumber = false;
    const qint64 Pid = Lines[0].toLongLong(&IsNumber);
    Dead = IsNumber && Pid > 0 && Pid == pid_t(Pid) && Lines.size() > 2 &&
           Lines[2] == QSysInfo::machineHostName().toLocal8Bit() &&
           (Pid == ::getpid() || (::kill(pid_t(Pid), 0) != 0 && errno == ESRCH));
  }
  if (!Dead || ::stat(Name.constData(), &Now) != 0 || Now.st_ino != Info.st_ino || Now.st_dev != Info.st_dev)
    return false;
  return ::unlink(Name.constData()) == 0;
}

// QLockFile's own wait sleeps 100 ms and more between tries; a write of
// another process is over in a few milliseconds.
bool TakeLock(QLockFile &Lock, const QString &LockName, int WaitMs) {
  const QDeadlineTimer Deadline(WaitMs);
  for (;;) {
    const bool TookOver = RemoveDeadLock(LockName);
    if (Lock.tryLock(0)) return true;
    if (Lock.error() != QLockFile::LockFailedError) return false;  // e.g. the folder cannot be written
    if (Deadline.hasExpired()) return false;
    if (!TookOver) QThread::msleep(2 + QRandomGenerator::global()->bounded(3));
  }
}

QString StripQuotes(const QString &S) {
  if (S.size() >= 2 && (S.front() == u'"' || S.front() == u'\'') && S.back() == S.front())
    return S.mid(1, S.size() - 2);
  return S;
}

// At most MaxChars characters; a surrogate pair counts as one character and
// is never split.
QString LeftChars(const QString &S, qsizetype MaxChars) {
  qsizetype I = 0;
  for (qsizetype Count = 0; I < S.size() && Count < MaxChars; ++Count)
    I += (S[I].isHighSurrogate() && I + 1 < S.size() && S[I + 1].isLowSurrogate()) ? 2 : 1;
  return S.left(I);
}

QString UpToNul(const QString &S) {
  const qsizetype Nul = S.indexOf(QChar(0));
  return Nul < 0 ? S : S.left(Nul);
}

QByteArray LineBreakOf(const QByteArray &Data) {
  const qsizetype I = Data.indexOf('\n'), J = Data.indexOf('\r');
  if (J >= 0 && (I < 0 || J < I)) return J + 1 == I ? QByteArray("\r\n") : QByteArray("\r");
  return "\n";
}

bool HasLineBreak(const QString &S) { return S.contains(u'\n') || S.contains(u'\r'); }

// Finds Section and Key, starting at the header found last time when it is
// the same section; Hint is kept for the next search.
TLocation Find(const QByteArray &Data, const QByteArray &Section, const QByteArray &Key, TSectionHint &Hint) {
  const TLocation L = Locate(Data, Section, Key, Hint.Section == Section ? Hint.At : -1);
  if (L.SectionFound) Hint = {Section, L.HeaderAt};
  return L;
}

QString ReadValue(const QByteArray &Data, TSectionHint &Hint, const QString &Section, const QString &Key,
                  const QString &Default, int Size) {
  if (Size <= 0) return {};
  QString Text;
  const TLocation L = Find(Data, NameKey(UpToNul(Section)), NameKey(UpToNul(Key)), Hint);
  if (L.KeyFound) {
    const char *Value = Data.constData() + L.ValueStart;
    const void *Nul = memchr(Value, '\0', size_t(L.ValueEnd - L.ValueStart));
    const char *End = Nul ? static_cast<const char *>(Nul) : Data.constData() + L.ValueEnd;
    Text = DecodeText(QByteArrayView(Value, End));
  } else {
    Text = UpToNul(Default);
    while (!Text.isEmpty() && Text.back() == u' ') Text.chop(1);
  }
  return LeftChars(StripQuotes(Text), Size - 1);
}

quint32 ParseInt(const QString &S, int Default) {
  if (S.isEmpty()) return quint32(Default);
  qsizetype I = 0;
  while (I < S.size() && S[I].unicode() <= u' ') ++I;
  bool Negative = false;
  if (I < S.size() && (S[I] == u'+' || S[I] == u'-')) Negative = S[I++] == u'-';
  quint32 Base = 10;
  if (I + 1 < S.size() && S[I] == u'0') {
    const QChar P = S[I + 1];
    Base = P == u'x' ? 16 : P == u'o' ? 8 : P == u'b' ? 2 : 10;
    if (Base != 10) I += 2;
  }
  quint32 Value = 0;  // unsigned, so that overflow wraps modulo 2^32
  for (; I < S.size(); ++I) {
    const char16_t C = S[I].unicode();
    quint32 D = 99;
    if (C >= u'0' && C <= u'9') D = C - u'0';
    else if (C >= u'a' && C <= u'f') D = C - u'a' + 10;
    else if (C >= u'A' && C <= u'F') D = C - u'A' + 10;
    if (D >= Base) break;
    Value = Value * Base + D;
  }
  return Negative ? 0u - Value : Value;
}

// A write that cannot be stored in one line.
bool Refused(const QString &Section, const QString &Key, const QString &Value) {
  const QString SectionName = Trimmed(UpToNul(Section)), KeyName = Trimmed(UpToNul(Key));
  return HasLineBreak(SectionName) || HasLineBreak(KeyName) || HasLineBreak(UpToNul(Value)) ||
         KeyName.contains(u'=') || KeyName.startsWith(u'[') || KeyName.startsWith(u';');
}

enum class TEdit { Refused, Unchanged, Changed };

// What one write does to the file's text.
TEdit Edit(QByteArray &Data, TSectionHint &Hint, const QString &Section, const QString &Key,
           const QString &Value) {
  if (Refused(Section, Key, Value)) return TEdit::Refused;
  const QString SectionName = Trimmed(UpToNul(Section)), KeyName = Trimmed(UpToNul(Key));
  const QByteArray NewValue = UpToNul(Value).toUtf8();

  // The hint is now this section's header, and every change is after it
  // (or at the end of the file), so the hint stays right.
  const TLocation L = Find(Data, NameKey(SectionName), NameKey(KeyName), Hint);
  const QByteArray Break = LineBreakOf(Data);
  if (L.KeyFound) {
    if (QByteArrayView(Data).sliced(L.AfterEquals, L.LineEnd - L.AfterEquals) == NewValue)
      return TEdit::Unchanged;  // same value: leave the file alone
    Data.replace(L.AfterEquals, L.LineEnd - L.AfterEquals, NewValue);
  } else if (L.SectionFound) {
    Data.insert(L.InsertAt, (L.InsertNeedsBreak ? Break : QByteArray()) + KeyName.toUtf8() + '=' +
                                NewValue + Break);
  } else {
    if (!Data.isEmpty() && !Data.endsWith('\n') && !Data.endsWith('\r')) Data += Break;
    Data += '[' + SectionName.toUtf8() + ']' + Break + KeyName.toUtf8() + '=' + NewValue + Break;
  }
  return TEdit::Changed;
}

}  // namespace

// --- a file read once ---

TProfileSnapshot::TProfileSnapshot(const QString &FileName, const QString &Template) {
  Read(FileName, Template);
}

void TProfileSnapshot::Read(const QString &FileName, const QString &Template) {
  const TRead Result = FileName.isEmpty() ? TRead::Failed : ReadFile(FileName, Data);
  Readable = Result != TRead::Failed;
  // An unreadable template is no list at all: the file starts empty.
  if (Result == TRead::Missing && !Template.isEmpty() && ReadFile(Template, Data) != TRead::Ok) Data.clear();
  if (!Readable) Data.clear();
  Hint = {};
}

QString TProfileSnapshot::GetString(const QString &Section, const QString &Key, const QString &Default,
                                    int Size) const {
  return ReadValue(Data, Hint, Section, Key, Default, Size);
}

quint32 TProfileSnapshot::GetInt(const QString &Section, const QString &Key, int Default) const {
  return ParseInt(GetString(Section, Key, QString(), 30), Default);
}

// --- many writes in one step ---

TProfileUpdate::TProfileUpdate(const QString &FileName, int LockWaitMs, const QString &Template)
    : FileName(FileName), Lock(FileName + QLatin1String(".lock")) {
  Locked = !FileName.isEmpty() && TakeLock(Lock, FileName + QLatin1String(".lock"), LockWaitMs);
  Read(FileName, Template);
}

bool TProfileUpdate::WriteString(const QString &Section, const QString &Key, const QString &Value) {
  switch (Edit(Data, Hint, Section, Key, Value)) {
    case TEdit::Refused: return false;
    case TEdit::Unchanged: return true;
    case TEdit::Changed: Changed = true; return true;
  }
  return false;
}

bool TProfileUpdate::Commit() {
  if (!CanCommit()) return false;
  if (!Changed) return true;
  if (!ReplaceFile(FileName, Data)) return false;
  Changed = false;
  return true;
}

// --- one value per call ---

QString GetPrivateProfileString(const QString &Section, const QString &Key, const QString &Default,
                                int Size, const QString &FileName) {
  if (Size <= 0) return {};
  return TProfileSnapshot(FileName).GetString(Section, Key, Default, Size);
}

quint32 GetPrivateProfileInt(const QString &Section, const QString &Key, int Default,
                             const QString &FileName) {
  return TProfileSnapshot(FileName).GetInt(Section, Key, Default);
}

bool WritePrivateProfileString(const QString &Section, const QString &Key, const QString &Value,
                               const QString &FileName) {
  if (FileName.isEmpty() || Refused(Section, Key, Value)) return false;
  TProfileUpdate File(FileName);
  return File.WriteString(Section, Key, Value) && File.Commit();
}
