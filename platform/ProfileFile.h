#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <memory>

class TFileLock;

// Reading and writing values of an INI ("profile") file the way the
// desktop's private-profile functions do it:
//
// - a line ends at CR, LF or CRLF; lines are trimmed (tab, LF, VT, FF, CR,
//   space, ^Z); a line starting with ';' is a comment; "[name]" opens a
//   section (the name runs to the last ']'); "key=value" splits at the first
//   '='; section and key names match without regard to ASCII letter case;
//   the first matching section, and in it the first matching key, wins;
// - a value read back ends at its first NUL byte and loses one pair of
//   matching surrounding quotes; names, values and defaults handed in end at
//   their first NUL character, as the desktop's zero-terminated texts do;
// - text is written as UTF-8; a value whose bytes are not valid UTF-8 is read
//   as Windows-1252 (files written by older programs). Only the file's first
//   three bytes can be a byte-order mark: a U+FEFF anywhere else is a
//   character of its name or value like any other;
// - a write changes only the affected line, or adds the key after the last
//   entry of its section, or adds the section at the end of the file; every
//   other byte of the file stays as it was.
//
// Every write is one read-change-write under the file's lock (FileLock.h)
// and one atomic replace (PosixFile.h): two processes writing the same file
// never lose each other's changes, a killed one leaves the old or new file.
//
// Files larger than MaxProfileFileSize are not read (reads give the default,
// writes fail): a profile file is a few kilobytes, and reading a huge one
// whole could exhaust memory.

constexpr qint64 MaxProfileFileSize = 64 * 1024 * 1024;

// The value of Key in Section, or Default (less its trailing spaces) when the
// file, the section or the key is missing. An existing empty value is
// returned as empty, not as the default. At most Size - 1 characters come
// back, as from a buffer of Size characters with its terminating zero; a
// character is never cut in half.
QString GetPrivateProfileString(const QString &Section, const QString &Key, const QString &Default,
                                int Size, const QString &FileName);

// The number Key's value begins with: optional sign, optional lowercase
// "0x", "0o" or "0b" prefix, then digits up to the first non-digit; no
// digits give 0. The arithmetic wraps at 32 bits. A missing or empty value
// gives Default (as an unsigned pattern: -1 comes back as 4294967295).
quint32 GetPrivateProfileInt(const QString &Section, const QString &Key, int Default,
                             const QString &FileName);

// Writes "Key=Value" in Section, creating the file (its folder must exist),
// the section or the key as needed. Returns false, leaving the file as it
// was, when the file cannot be written (also when it is marked read-only,
// though its folder would allow replacing it, and when its lock cannot be
// had) or when a name or value cannot be stored in one line (a line break in
// it, a key containing '=' or starting with '[' or ';').
bool WritePrivateProfileString(const QString &Section, const QString &Key, const QString &Value,
                               const QString &FileName);

// Where a section's header was found in a file's text (for the classes below).
struct TSectionHint {
  QByteArray Section;  // the section's name as compared
  qsizetype At = -1;   // where its header line begins
};

// A profile file's text as read once: every read from it follows the rules
// of the calls above and sees the same state of the file, however many
// values are read.
//
//   const TProfileSnapshot File(Path);
//   const QString Name = File.GetString("Players", "Name01", "", 100);
//
// A file that does not exist reads as Template when one is given (and can be
// read): a per-user copy that starts as the shared file it stands for.
class TProfileSnapshot {
 public:
  explicit TProfileSnapshot(const QString &FileName, const QString &Template = QString());

  QString GetString(const QString &Section, const QString &Key, const QString &Default, int Size) const;
  quint32 GetInt(const QString &Section, const QString &Key, int Default) const;

 protected:
  TProfileSnapshot() = default;
  void Read(const QString &FileName, const QString &Template);

  QByteArray Data;
  bool Readable = true;  // false: the file is there but could not be read
  // Where the section searched last begins, so that many values of one
  // section do not each parse the whole file again.
  mutable TSectionHint Hint;
};

// Many writes to a profile file as one step: the file is locked, read once,
// changed in memory exactly as the single writes would change it one after
// the other, and replaced once by Commit. Reads between the writes see the
// changes made so far. Nothing reaches the file without Commit; the lock is
// let go when the object goes. With a Template, a file that does not exist
// yet starts as a copy of it, and the commit creates the file.
//
//   TProfileUpdate File(Path);
//   File.WriteString("Players", "Name02", File.GetString("Players", "Name01", "", 100));
//   File.WriteString("Players", "Name01", "Ann");
//   if (!File.Commit()) ...  // the file is as it was
class TProfileUpdate : public TProfileSnapshot {
 public:
  explicit TProfileUpdate(const QString &FileName, const QString &Template = QString());
  ~TProfileUpdate();
  TProfileUpdate(const TProfileUpdate &) = delete;
  TProfileUpdate &operator=(const TProfileUpdate &) = delete;

  // The lock is held and the file was read: Commit can succeed.
  bool CanCommit() const { return Locked && Readable; }
  // The change WritePrivateProfileString would make, in memory only. False
  // (nothing changed) for a name or value that cannot be stored.
  bool WriteString(const QString &Section, const QString &Key, const QString &Value);
  // Writes the changes, if any, in one atomic replace. False when the file
  // could not be written (it is then as it was before this object).
  bool Commit();
  // Why the lock, the read or the commit failed.
  const QString &Why() const { return Error; }

 private:
  const QString Canonical;  // the name every path to the file comes to
  std::unique_ptr<TFileLock> Lock;
  QString Error;
  bool Locked = false;
  bool Changed = false;
};
