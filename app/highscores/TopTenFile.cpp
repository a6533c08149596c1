#include "TopTenFile.h"

#include <QDate>
#include <QLocale>

#include "BigScoreDlg.h"
#include "ProfileFile.h"
#include "ProgramPath.h"
#include "StrToInt.h"

namespace {
const QString Section = QStringLiteral("Top Ten Scores");

// Read sizes include the terminating zero of the buffers the list was
// designed with: scores and counts keep 9 characters, names and dates 99.
constexpr int NumberSize = 10;
constexpr int TextSize = 100;

// Only a dot after the last folder separator starts an extension, so a dot
// in a folder name is never taken for one.
QString TopTenFileName(const QString &ProgramPath) {
  QString Name = ProgramPath;
  qsizetype Last = Name.size() - 1;
  while (Last >= 0 && Name[Last] != u'.' && Name[Last] != u'/') --Last;
  if (Last >= 0 && Name[Last] == u'.') Name.truncate(Last);
  return Name + QStringLiteral(".tps");
}

QString Today() { return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat); }
}  // namespace

TTopTenFile::TTopTenFile() : TTopTenFile(ProgramFilePath()) {}

TTopTenFile::TTopTenFile(const QString &ProgramPath) : FileName(TopTenFileName(ProgramPath)) {}

QString TTopTenFile::ReadValue(const char *Prefix, int Number, const QString &Default, int Size) const {
  return GetPrivateProfileString(Section, QString::asprintf("%s%02d", Prefix, Number), Default, Size,
                                 FileName);
}

int TTopTenFile::GetTenthScore() const {
  return int(GetPrivateProfileInt(Section, QStringLiteral("Score10"), 0, FileName));
}

int TTopTenFile::GetPosition(int Total) const {
  int P = 11;
  // From the bottom up, the first stored score that beats Total ends the
  // scan, so an equal score ranks below the new one.
  while (P > 1) {
    if (StrToInt(ReadValue("Score", P - 1, QStringLiteral("0"), NumberSize)) > Total) break;
    --P;
  }
  return P;
}

void TTopTenFile::ReadEntry(int Number, QString &Name, QString &Score, QString &Date,
                            QString &Quintors) const {
  Score = ReadValue("Score", Number, QStringLiteral("0"), NumberSize);
  Name = ReadValue("Name", Number, QString(), TextSize);
  Date = ReadValue("Date", Number, QString(), TextSize);
  Quintors = ReadValue("Quintors", Number, QStringLiteral("0"), NumberSize);
}

void TTopTenFile::WriteValue(int Number, const QString &Prefix, const QString &Value) {
  // A failed write is lost without a word: the list simply stays as it was.
  WritePrivateProfileString(Section, QString::asprintf("%s%02d", qUtf8Printable(Prefix), Number),
                            Value, FileName);
}

int TTopTenFile::AddEntry(int Total, const QString &Name, int Quintors) {
  const int P = GetPosition(Total);
  if (P > 10) return P;
  for (int I = 10; I > P; --I) {
    QString OldName, OldScore, OldDate, OldQuintors;
    ReadEntry(I - 1, OldName, OldScore, OldDate, OldQuintors);
    WriteValue(I, QStringLiteral("Score"), OldScore);
    WriteValue(I, QStringLiteral("Name"), OldName);
    WriteValue(I, QStringLiteral("Date"), OldDate);
    WriteValue(I, QStringLiteral("Quintors"), OldQuintors);
  }
  WriteValue(P, QStringLiteral("Score"), QString::number(Total));
  // A pasted name may hold line breaks, which no profile line can; written
  // as it is, the write would be refused and the place would keep the name
  // of the player it displaced.
  QString OneLine = Name;
  OneLine.replace(u'\r', u' ').replace(u'\n', u' ');
  WriteValue(P, QStringLiteral("Name"), OneLine);
  WriteValue(P, QStringLiteral("Date"), Today());
  WriteValue(P, QStringLiteral("Quintors"), QString::number(Quintors));
  return P;
}

void TTopTenFile::Reset() {
  for (int N = 1; N <= 10; ++N) {
    WriteValue(N, QStringLiteral("Score"), QStringLiteral("0"));
    WriteValue(N, QStringLiteral("Name"), QString());
    WriteValue(N, QStringLiteral("Date"), QString());
    WriteValue(N, QStringLiteral("Quintors"), QStringLiteral("0"));
  }
}

void TTopTenFile::EnterNewScore(int Total, int Quintors) {
  const int P = GetPosition(Total);
  if (!BigScoreDlg) return;
  BigScoreDlg->Message->setText(QStringLiteral("You are number ") + QString::number(P) +
                                QStringLiteral(" on the Top Ten List. Please type your name:"));
  if (BigScoreDlg->exec() == QDialog::Accepted)
    AddEntry(Total, BigScoreDlg->MRUCombo1->currentText(), Quintors);
}
