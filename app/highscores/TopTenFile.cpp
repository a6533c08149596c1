#include "TopTenFile.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include "PosixFile.h"
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

// Whether Folder is there and this user may not add files to it. The
// permission bits decide, also for the superuser, who could write anyway: a
// folder marked read-only is not to be written, as a read-only list file is
// never replaced.
bool FolderReadOnly(const QString &Folder) {
  const QByteArray Name = QFile::encodeName(Folder);
  struct stat Info;
  if (::stat(Name.constData(), &Info) != 0 || !S_ISDIR(Info.st_mode)) return false;
  if (::access(Name.constData(), W_OK | X_OK) != 0) return true;  // also a read-only file system
  if (::geteuid() != 0) return false;  // access() has applied the bits and any access lists
  const mode_t Bit = Info.st_uid == 0 ? S_IWUSR : Info.st_gid == ::getegid() ? S_IWGRP : S_IWOTH;
  return (Info.st_mode & Bit) == 0;
}

// The list beside the program, or, when the program's folder cannot be
// written, the file of the same name in the user's data folder.
QString ListFile(const QString &BesideProgram) {
  const QFileInfo Beside(BesideProgram);
  if (!FolderReadOnly(Beside.absolutePath())) return BesideProgram;
  const QString Folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  return Folder.isEmpty() ? BesideProgram : QDir(Folder).filePath(Beside.fileName());
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

// A change the list did not take is lost without a word to the player; the
// log says which and why.
void Commit(TProfileUpdate &File, const QString &FileName, const QString &What) {
  if (!File.CanCommit() || !File.Commit())
    qCWarning(lcFiles, "%s was not kept in %s: %s", qUtf8Printable(What), qUtf8Printable(FileName),
              qUtf8Printable(File.Why()));
}
}  // namespace

TTopTenFile::TTopTenFile() : TTopTenFile(ProgramFilePath()) {}

TTopTenFile::TTopTenFile(const QString &ProgramPath)
    : BesideProgram(TopTenFileName(ProgramPath)), FileName(ListFile(BesideProgram)) {}

QString TTopTenFile::StartingList() const { return FileName == BesideProgram ? QString() : BesideProgram; }

TProfileSnapshot TTopTenFile::Snapshot() const { return TProfileSnapshot(FileName, StartingList()); }

void TTopTenFile::MakeFolder() const {
  if (FileName != BesideProgram) QDir().mkpath(QFileInfo(FileName).absolutePath());
}

int TTopTenFile::GetTenthScore() const {
  return int(Snapshot().GetInt(Section, QStringLiteral("Score10"), 0));
}

int TTopTenFile::GetPosition(int Total) const { return Position(Snapshot(), Total); }

void TTopTenFile::ReadEntry(int Number, QString &Name, QString &Score, QString &Date,
                            QString &Quintors) const {
  ReadPlace(Snapshot(), Number, Name, Score, Date, Quintors);
}

void TTopTenFile::WriteValue(int Number, const QString &Prefix, const QString &Value) {
  MakeFolder();
  TProfileUpdate File(FileName, StartingList());
  Write(File, Number, qUtf8Printable(Prefix), Value);
  Commit(File, FileName, KeyName(qUtf8Printable(Prefix), Number));
}

int TTopTenFile::AddEntry(int Total, const QString &Name, int Quintors) {
  MakeFolder();
  TProfileUpdate File(FileName, StartingList());
  const int P = Position(File, Total);
  const QString Game = QStringLiteral("the game of %1 points").arg(Total);
  if (P > 10) return P;
  if (!File.CanCommit()) {
    Commit(File, FileName, Game);
    return P;
  }
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
  Commit(File, FileName, Game);
  return P;
}

void TTopTenFile::Reset() {
  MakeFolder();
  TProfileUpdate File(FileName, StartingList());
  for (int N = 1; N <= 10; ++N) {
    Write(File, N, "Score", QStringLiteral("0"));
    Write(File, N, "Name", QString());
    Write(File, N, "Date", QString());
    Write(File, N, "Quintors", QStringLiteral("0"));
  }
  Commit(File, FileName, QStringLiteral("the reset of the list"));
}

void TTopTenFile::EnterNewScore(int Total, int Quintors, const TAskName &AskName) {
  const int P = GetPosition(Total);
  // The place is found again when the entry is written: another copy of the
  // game may have entered a game while the name was typed.
  if (const std::optional<QString> Name = AskName(P)) AddEntry(Total, *Name, Quintors);
}
