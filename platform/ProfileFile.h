#pragma once

#include <QString>
#include <QtGlobal>

// Reading and writing single values of an INI ("profile") file, one call per
// value, the way the desktop's private-profile functions do it:
//
// - a line ends at CR, LF or CRLF; lines are trimmed (tab, LF, VT, FF, CR,
//   space, ^Z); a line starting with ';' is a comment; "[name]" opens a
//   section (the name runs to the last ']'); "key=value" splits at the first
//   '='; section and key names match without regard to ASCII letter case;
//   the first matching section, and in it the first matching key, wins;
// - a value read back loses one pair of matching surrounding quotes;
// - text is written as UTF-8; a value whose bytes are not valid UTF-8 is read
//   as Windows-1252 (files written by older programs);
// - a write changes only the affected line, or adds the key after the last
//   entry of its section, or adds the section at the end of the file; every
//   other byte of the file stays as it was. The file is replaced atomically
//   (a temporary file in the same folder, then a rename), so an interrupted
//   write leaves the old or the new file, never a torn one.
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
// though its folder would allow replacing it) or when a name or value cannot be
// stored in one line (a line break in it, a key containing '=' or starting
// with '[' or ';').
bool WritePrivateProfileString(const QString &Section, const QString &Key, const QString &Value,
                               const QString &FileName);
