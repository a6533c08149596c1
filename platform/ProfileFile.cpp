#include "ProfileFile.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
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

QString DecodeText(QByteArrayView Bytes) {
  QStringDecoder Utf8(QStringDecoder::Utf8, QStringConverter::Flag::Stateless);
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
};

qsizetype BodyStart(const QByteArray &Data) { return Data.startsWith("\xEF\xBB\xBF") ? 3 : 0; }

TLocation Locate(const QByteArray &Data, const QByteArray &Section, const QByteArray &Key) {
  TLocation L;
  const char *D = Data.constData();
  const qsizetype N = Data.size();
  bool InSection = false;
  for (qsizetype Start = BodyStart(Data); Start < N;) {
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

// Plain system calls rather than QFile/QSaveFile: a top-ten insertion makes
// close to a hundred reads and forty replaces in a row, and the toolkit's
// extra checks around each (access tests, repeated stats, link attempts)
// cost more than the work itself.
class TFd {
 public:
  explicit TFd(int Fd) : Fd(Fd) {}
  ~TFd() {
    if (Fd >= 0) ::close(Fd);
  }
  TFd(const TFd &) = delete;
  TFd &operator=(const TFd &) = delete;
  int Release() { return std::exchange(Fd, -1); }
  int Fd;
};

enum class TRead { Ok, Missing, Failed };

TRead ReadFile(const QString &FileName, QByteArray &Data) {
  Data.clear();
  int Fd;
  // Non-blocking, so that a FIFO put in the file's place cannot stall the
  // open; it is then refused as not a regular file.
  do Fd = ::open(QFile::encodeName(FileName).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  while (Fd < 0 && errno == EINTR);
  if (Fd < 0) return errno == ENOENT ? TRead::Missing : TRead::Failed;
  TFd File(Fd);
  struct stat Info;
  if (::fstat(Fd, &Info) != 0 || !S_ISREG(Info.st_mode) || Info.st_size > MaxProfileFileSize)
    return TRead::Failed;
  Data.resize(qsizetype(Info.st_size));
  qsizetype Got = 0;
  for (;;) {
    if (Got == Data.size()) {
      if (Data.size() > MaxProfileFileSize) return TRead::Failed;
      Data.resize(Data.size() + 4096);  // the file grew since fstat
    }
    const ssize_t N = ::read(Fd, Data.data() + Got, size_t(Data.size() - Got));
    if (N < 0 && errno == EINTR) continue;
    if (N < 0) return TRead::Failed;
    if (N == 0) break;
    Got += N;
  }
  Data.truncate(Got);
  return Got > MaxProfileFileSize ? TRead::Failed : TRead::Ok;
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

// Writes Data to a new file beside Target, flushes it to the disk and
// renames it over Target: a crash, a kill or a full disk leaves either the
// old file or the new one. The new file keeps the old one's permissions.
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

  QByteArray TempName;
  int Fd = -1;
  for (int Attempt = 0; Fd < 0 && Attempt < 100; ++Attempt) {
    TempName = FinalName + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
    Fd = ::open(TempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (Fd < 0 && errno != EEXIST && errno != EINTR) return false;
  }
  if (Fd < 0) return false;
  TFd Temp(Fd);
  bool Ok = WriteAll(Fd, Data);
  if (Ok && Existed) Ok = ::fchmod(Fd, Old.st_mode & 07777) == 0;
  if (Ok) Ok = ::fdatasync(Fd) == 0;
  if (Ok) Ok = ::close(Temp.Release()) == 0;
  if (Ok) Ok = ::rename(TempName.constData(), FinalName.constData()) == 0;
  if (!Ok) ::unlink(TempName.constData());
  return Ok;
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

QByteArray LineBreakOf(const QByteArray &Data) {
  const qsizetype I = Data.indexOf('\n'), J = Data.indexOf('\r');
  if (J >= 0 && (I < 0 || J < I)) return J + 1 == I ? QByteArray("\r\n") : QByteArray("\r");
  return "\n";
}

bool HasLineBreak(const QString &S) { return S.contains(u'\n') || S.contains(u'\r'); }

}  // namespace

QString GetPrivateProfileString(const QString &Section, const QString &Key, const QString &Default,
                                int Size, const QString &FileName) {
  if (Size <= 0) return {};
  QString Text;
  QByteArray Data;
  TLocation L;
  if (ReadFile(FileName, Data) == TRead::Ok) L = Locate(Data, NameKey(Section), NameKey(Key));
  if (L.KeyFound) {
    Text = DecodeText(QByteArrayView(Data.constData() + L.ValueStart, L.ValueEnd - L.ValueStart));
  } else {
    Text = Default;
    while (!Text.isEmpty() && Text.back() == u' ') Text.chop(1);
  }
  return LeftChars(StripQuotes(Text), Size - 1);
}

quint32 GetPrivateProfileInt(const QString &Section, const QString &Key, int Default,
                             const QString &FileName) {
  const QString S = GetPrivateProfileString(Section, Key, QString(), 30, FileName);
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

bool WritePrivateProfileString(const QString &Section, const QString &Key, const QString &Value,
                               const QString &FileName) {
  const QString SectionName = Trimmed(Section), KeyName = Trimmed(Key);
  if (FileName.isEmpty() || HasLineBreak(SectionName) || HasLineBreak(KeyName) ||
      HasLineBreak(Value) || KeyName.contains(u'=') || KeyName.startsWith(u'[') ||
      KeyName.startsWith(u';'))
    return false;

  QByteArray Data;
  if (ReadFile(FileName, Data) == TRead::Failed) return false;
  const TLocation L = Locate(Data, NameKey(SectionName), NameKey(KeyName));
  const QByteArray Break = LineBreakOf(Data);
  const QByteArray Entry = KeyName.toUtf8() + '=' + Value.toUtf8();

  QByteArray Out;
  if (L.KeyFound) {
    Out = Data.left(L.AfterEquals) + Value.toUtf8() + Data.mid(L.LineEnd);
    if (Out == Data) return true;  // same value: leave the file alone
  } else if (L.SectionFound) {
    Out = Data.left(L.InsertAt) + (L.InsertNeedsBreak ? Break : QByteArray()) + Entry + Break +
          Data.mid(L.InsertAt);
  } else {
    Out = Data;
    if (!Out.isEmpty() && !Out.endsWith('\n') && !Out.endsWith('\r')) Out += Break;
    Out += '[' + SectionName.toUtf8() + ']' + Break + Entry + Break;
  }

  return ReplaceFile(FileName, Out);
}
