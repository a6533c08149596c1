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

QString KeyName(const char *Prefix, int Number) { return QString::asprintf("%s%02d", Prefix, Number); }

QString ReadValue(const TProfileSnapshot &File, const char *Prefix, int Number, const QString &Default,
                  int Size) {
  return File.GetString(Section, KeyName(Prefix, Number), Default, Size);
}

int Position(const TProfileSnapshot &File, int Total) {
  int P = 11;
  // From the bottom up, the first stored score that beats Total ends the
  // scan, so an equal score ranks below the new one.
  while (P > 1) {
    if (StrToInt(ReadValue(File, "Score", P - 1, QStringLiteral("0"), NumberSize)) > Total) break;
    --P;
  }
  return P;
}

void ReadPlace(const TProfileSnapshot &File, int Number, QString &Name, QString &Score, QString &Date,
               QString &Quintors) {
  Score = ReadValue(File, "Score", Number, QStringLiteral("0"), NumberSize);
  Name = ReadValue(File, "Name", Number, QString(), TextSize);
  Date = ReadValue(File, "Date", Number, QString(), TextSize);
  Quintors = ReadValue(File, "Quintors", Number, QStringLiteral("0"), NumberSize);
}

void Write(TProfileUpdate &File, int Number, const char *Prefix, const QString &Value) {
  File.WriteString(Section, KeyName(Prefix, Number), Value);
}
}  // namespace

TTopTenFile::TTopTenFile() : TTopTenFile(ProgramFilePath()) {}

TTopTenFile::TTopTenFile(const QString &ProgramPath) : FileName(TopTenFileName(ProgramPath)) {}

int TTopTenFile::GetTenthScore() const {
  return int(TProfileSnapshot(FileName).GetInt(Section, QStringLiteral("Score10"), 0));
}

int TTopTenFile::GetPosition(int Total) const { return Position(TProfileSnapshot(FileName), Total); }

void TTopTenFile::ReadEntry(int Number, QString &Name, QString &Score, QString &Date,
                            QString &Quintors) const {
  ReadPlace(TProfileSnapshot(FileName), Number, Name, Score, Date, Quintors);
}

void TTopTenFile::WriteValue(int Number, const QString &Prefix, const QString &Value) {
  // A failed write is lost without a word: the list simply stays as it was.
  TProfileUpdate File(FileName);
  Write(File, Number, qUtf8Printable(Prefix), Value);
  File.Commit();
}

int TTopTenFile::AddEntry(int Total, const QString &Name, int Quintors) {
  TProfileUpdate File(FileName);
  const int P = Position(File, Total);
  if (P > 10 || !File.CanCommit()) return P;  // not kept, without a word
  // The keys change in the order the list has always been written in, one
  // place after the other from the bottom, so that the keys a hand-edited
  // file lacks are added in that order too.
  for (int I = 10; I > P; --I) {
    QString OldName, OldScore, OldDate, OldQuintors;
    ReadPlace(File, I - 1, OldName, OldScore, OldDate, OldQuintors);
    Write(File, I, "Score", OldScore);
    Write(File, I, "Name", OldName);
    Write(File, I, "Date", OldDate);
    Write(File, I, "Quintors", OldQuintors);
  }
  Write(File, P, "Score", QString::number(Total));
  // A pasted name may hold line breaks, which no profile line can; written
  // as it is, the write would be refused and the place would keep the name
  // of the player it displaced.
  QString OneLine = Name;
  OneLine.replace(u'\r', u' ').replace(u'\n', u' ');
  Write(File, P, "Name", OneLine);
  Write(File, P, "Date", Today());
  Write(File, P, "Quintors", QString::number(Quintors));
  File.Commit();
  return P;
}

void TTopTenFile::Reset() {
  TProfileUpdate File(FileName);
  for (int N = 1; N <= 10; ++N) {
    Write(File, N, "Score", QStringLiteral("0"));
    Write(File, N, "Name", QString());
    Write(File, N, "Date", QString());
    Write(File, N, "Quintors", QStringLiteral("0"));
  }
  File.Commit();
}

void TTopTenFile::EnterNewScore(int Total, int Quintors) {
  const int P = GetPosition(Total);
  if (!BigScoreDlg) return;
  BigScoreDlg->Message->setText(QStringLiteral("You are number ") + QString::number(P) +
                                QStringLiteral(" on the Top Ten List. Please type your name:"));
  if (BigScoreDlg->exec() == QDialog::Accepted)
    AddEntry(Total, BigScoreDlg->MRUCombo1->currentText(), Quintors);
}
