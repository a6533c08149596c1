// The profile (INI) reader on any file: every read returns, and a write
// followed by a read gives back what was written (as a read shows a value:
// up to a NUL, trimmed, one pair of surrounding quotes dropped), while every other key
// keeps the value it had. A refused write leaves the file as it was.
//
// Input: a section name, 0x01, a key name, 0x01, a value, 0x01, the file.
// Names are mapped onto a small alphabet so that they meet the file's names.

#include <QList>
#include <QPair>
#include <QStringList>

#include "FuzzSupport.h"
#include "ProfileFile.h"

namespace {

constexpr int BigSize = 1 << 20;

QString Name(const QByteArray &Bytes) {
  static const char Alphabet[] = "abAB01_. ";
  QString Result;
  for (char B : Bytes) Result += QLatin1Char(Alphabet[std::uint8_t(B) % (sizeof Alphabet - 1)]);
  Result = Result.trimmed();
  return Result.isEmpty() ? QStringLiteral("a") : Result;
}

bool IsProfileSpace(QChar C) {
  return C == u' ' || C == u'\t' || C == u'\n' || C == u'\v' || C == u'\f' || C == u'\r' || C == u'\x1a';
}

// Texts end at their first NUL, passed in or read from the file.
QString UpToNul(QString Text) {
  if (const qsizetype Nul = Text.indexOf(QChar(0)); Nul >= 0) Text.truncate(Nul);
  return Text;
}

// A name or value as the reader sees it: up to a NUL, without the blanks
// around it (which include Ctrl+Z).
QString ProfileTrimmed(QString Text) {
  Text = UpToNul(Text);
  while (!Text.isEmpty() && IsProfileSpace(Text.front())) Text.remove(0, 1);
  while (!Text.isEmpty() && IsProfileSpace(Text.back())) Text.chop(1);
  return Text;
}

// A value as a read shows it.
QString AsRead(QString Value) {
  Value = ProfileTrimmed(Value);
  if (Value.size() >= 2 && (Value.front() == u'"' || Value.front() == u'\'') && Value.back() == Value.front())
    Value = Value.mid(1, Value.size() - 2);
  return Value;
}

// The (section, key) pairs the file's text seems to name, found without the
// reader: the other keys whose values the write must keep.
QList<QPair<QString, QString>> NamedKeys(const QByteArray &File) {
  QList<QPair<QString, QString>> Keys;
  QString Section;
  bool InSection = false;
  for (const QByteArray &RawLine : File.split('\n')) {
    for (const QByteArray &Piece : RawLine.split('\r')) {
      const QString Line = QString::fromUtf8(Piece).trimmed();
      if (Line.startsWith(u'[') && Line.lastIndexOf(u']') > 0) {
        Section = Line.mid(1, Line.lastIndexOf(u']') - 1).trimmed();
        InSection = true;
      } else if (InSection && !Line.startsWith(u';') && Line.contains(u'=')) {
        const QString Key = Line.left(Line.indexOf(u'=')).trimmed();
        if (!Key.isEmpty()) Keys.append({Section, Key});
      }
    }
  }
  return Keys;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
  fuzz::TInput Input(Data, Size);
  const QString Section = Name(Input.Part('\x01'));
  const QString Key = Name(Input.Part('\x01'));
  const QString Value = QString::fromUtf8(Input.Part('\x01'));
  const QByteArray Original = Input.Rest();
  const QString File = fuzz::ScratchFolder() + QStringLiteral("/profile.ini");
  fuzz::WriteFileBytes(File, Original);

  const auto Others = NamedKeys(Original);
  QStringList Before;
  for (const auto &[S, K] : Others) Before << GetPrivateProfileString(S, K, QStringLiteral("\x02"), BigSize, File);
  (void)GetPrivateProfileInt(Section, Key, 7, File);
  const QString Short = GetPrivateProfileString(Section, Key, QString(), 4, File);
  if (Short.toUcs4().size() > 3) fuzz::Fail("a read of at most 3 characters gave more", Short);

  if (!WritePrivateProfileString(Section, Key, Value, File)) {
    if (fuzz::ReadFileBytes(File) != Original) fuzz::Fail("a refused write changed the file");
    return 0;
  }
  const QString Back = GetPrivateProfileString(Section, Key, QStringLiteral("\x02"), BigSize, File);
  if (Back != AsRead(Value))
    fuzz::Fail("the key does not read back as written", Section + u'|' + Key + u'|' + Value + u'|' + Back);
  for (qsizetype I = 0; I < Others.size(); ++I) {
    const auto &[S, K] = Others[I];
    if (ProfileTrimmed(S).compare(Section, Qt::CaseInsensitive) == 0 &&
        ProfileTrimmed(K).compare(Key, Qt::CaseInsensitive) == 0)
      continue;
    const QString After = GetPrivateProfileString(S, K, QStringLiteral("\x02"), BigSize, File);
    if (After != Before[I]) fuzz::Fail("another key changed", S + u'|' + K + u'|' + Before[I] + u'|' + After);
  }
  return 0;
}
