#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "ProfileFile.h"

// The ten best games, kept in the INI file beside the program: section
// "Top Ten Scores", four keys per place (Score01, Name01, Date01,
// Quintors01 ... Quintors10). Where the program's folder cannot be written
// (an installed program), the list lives in a file of the same name in the
// user's data folder instead, which starts as a copy of the list beside the
// program: until the first entry or reset writes it, that list is read.
//
// There is no copy in memory: every operation reads the file afresh, so the
// list is always what is on disk. An entry and a reset are each one step:
// the file is locked, read once, changed key by key in memory and replaced
// once, so that a kill leaves the old list or the new one, and two copies of
// the game entering games at the same time keep the true ten best of both.
// When the lock cannot be had within a moment (another copy hangs in the
// middle of an entry), the entry is not kept, as when the file cannot be
// written; the player is not told, the log ("quintor.files") says why.
class TTopTenFile {
 public:
  // The file beside the running program (ProgramFilePath()).
  TTopTenFile();
  // The file beside ProgramPath: its extension, if any, becomes ".tps".
  // Whether its folder can be written is decided here, once.
  explicit TTopTenFile(const QString &ProgramPath);

  // Where the list is written.
  const QString &GetFileName() const { return FileName; }

  // The score of place 10 as the number its text begins with; 0 when there
  // is none. Never fails.
  int GetTenthScore() const;
  // The place 1 to 10 a game of Total would take, 11 when it does not place.
  // A stored score equal to Total is placed below it. Raises EConvertError
  // when a stored score is not a whole number.
  int GetPosition(int Total) const;
  // The four texts of place Number as stored (defaults for missing keys;
  // score and count at most 9 characters, name and date at most 99).
  void ReadEntry(int Number, QString &Name, QString &Score, QString &Date, QString &Quintors) const;
  // Writes Value under Prefix + Number in two digits ("Name07").
  void WriteValue(int Number, const QString &Prefix, const QString &Value);
  // Puts the game at its place, moving the lower places down one and
  // dropping the former tenth. Returns the place, or 11 (nothing written).
  // Line breaks in Name are written as spaces.
  int AddEntry(int Total, const QString &Name, int Quintors);
  // Every place back to score 0, empty name and date, count 0; all forty
  // keys stay in the file.
  void Reset();
  // Asks the name for the place the game takes and enters the game under
  // it; when AskName gives no name (the dialog was not left with OK),
  // nothing is written. Only for a total that beats GetTenthScore(). Raises
  // EConvertError, before asking anything, when a stored score is not a
  // whole number.
  using TAskName = std::function<std::optional<QString>(int Place)>;
  void EnterNewScore(int Total, int Quintors, const TAskName &AskName);

 private:
  QString StartingList() const;  // read while the user's copy does not exist
  TProfileSnapshot Snapshot() const;
  void MakeFolder() const;

  // The file beside the program, and the file the list is written to: the
  // same, or the user's own copy.
  const QString BesideProgram, FileName;
};
