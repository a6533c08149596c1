#include "ProfileFile.h"

#include "FileLock.h"
#include "PosixFile.h"

#include <cstring>

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

// Each name and value is decoded on its own (the file's own byte-order mark
// is skipped before).
using posixfile::DecodeText;

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

using posixfile::TRead;

TRead ReadFile(const QString &FileName, QByteArray &Data) {
  return posixfile::ReadRegularFile(FileName, Data, MaxProfileFileSize);
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
  Readable = Result == TRead::Ok || Result == TRead::Missing;  // not a FIFO or folder in its place
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

TProfileUpdate::TProfileUpdate(const QString &FileName, const QString &Template)
    : Canonical(posixfile::CanonicalName(FileName)), Lock(std::make_unique<TFileLock>(Canonical)) {
  Locked = Lock->Take(Error);
  Read(FileName, Template);
  if (Locked && !Readable) Error = QStringLiteral("the file cannot be read");
}

TProfileUpdate::~TProfileUpdate() = default;

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
  if (!posixfile::ReplaceFile(Canonical, Data, Error)) return false;
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
