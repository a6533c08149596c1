#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

// A program's version block: a tree of keyed nodes, shaped like the version
// resource of the desktop the program was designed on:
//
//   "VS_VERSION_INFO"   value: fixed file info (file and product version as four parts)
//     "StringFileInfo"
//       "040904E4"      one string table per language and code page
//         "FileVersion" value: "1.0.0.1"
//         ...
//     "VarFileInfo"
//       "Translation"   value: language and code page pairs
//
// Every node is laid out as three little-endian 16-bit words (the node's
// length with its children, the value's length in bytes, 1 for a text value
// and 0 for a binary one), the key as single-byte text with a terminating
// zero, padding to a multiple of four bytes, the value (text with its
// terminating zero), padding, then the child nodes, each starting on a
// multiple of four bytes from the start of the block.
//
// The block is linked into the program file as the section named below, and
// read back from the file that a path names, so that any program file can be
// asked for its version, not only the running one.

inline constexpr char VersionSectionName[] = ".versioninfo";

// A node stays within 16-bit lengths, so a block is at most this long.
inline constexpr int MaxVersionBlockSize = 0xFFFF;

struct TVersionNode {
  QByteArray Key;
  QByteArray Value;
  bool Text = true;  // Value is text, stored with a terminating zero
  std::vector<TVersionNode> Children;
};

using TVersionParts = std::array<std::uint16_t, 4>;
using TVersionStrings = std::vector<std::pair<QByteArray, QByteArray>>;

// The four numbers of a version text "a.b.c.d" (missing trailing parts are 0),
// or nothing when it is not one to four numbers from 0 to 65535.
std::optional<TVersionParts> ParseVersionParts(const QString &Version);

// The block of a program: the fixed file info with Parts, one string table
// under "040904E4" (U.S. English, Windows Latin 1) holding Strings, and a
// translation list naming that table.
TVersionNode ProgramVersionInfo(const TVersionParts &Parts, const TVersionStrings &Strings);

// The bytes of the tree under Root. Throws std::length_error when a node
// would not fit its 16-bit length.
QByteArray BuildVersionBlock(const TVersionNode &Root);

// Where the section Name lies in the ELF file at Path (offset and size in
// bytes), or nothing when the file cannot be read, is not an ELF file, has no
// such section, or names a section outside the file.
struct TFileSpan {
  std::int64_t Offset = 0;
  std::int64_t Size = 0;
};
std::optional<TFileSpan> FindElfSection(const QString &Path, const char *Name);

// The version block of the program file at ProgramPath: empty when the file
// has none, cannot be read, or its block is malformed at the root.
QByteArray ReadVersionBlock(const QString &ProgramPath);

// The value at SubBlock, a path of keys separated by backslashes such as
// "\StringFileInfo\040904E4\FileVersion" ("\" alone is the root's value).
// Keys compare without regard to ASCII case. A text value comes back
// without its terminating zero. Nothing when a key on the path is missing or
// the block is malformed on the way.
std::optional<QByteArray> QueryVersionValue(const QByteArray &Block, const QString &SubBlock);
