#pragma once

// The settings store's file format: one root's keys and values as a tree,
// read from and written to the registry export text:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Numbrook Software\Quintor\MRU]
//   "Count"=dword:00000002
//   "0"="Ann"
//   "1"="Bob \"the dice\" Smith"
//
// Text and 32-bit integers keep their type; data of other types ("hex:",
// "hex(N):") is kept as written. Key and value names compare without regard
// to letter case (Unicode case folding) and keep the case first written;
// keys may be empty.
//
// Reading takes what the desktop's registry editor and other tools write:
// UTF-8 (a line whose bytes are not UTF-8 is read as Windows-1252), UTF-16LE
// after a byte order mark, the older "REGEDIT4" header (Windows-1252 text),
// CR, LF or CRLF line ends, blank and ;comment lines, spaces around '=',
// hex data continued over lines ending in '\', and delete lines
// ("[-HKEY_CURRENT_USER\Key]", "name"=-) applied in the order they come.
// Writing always gives UTF-8 with LF line ends and the first header, keys
// sorted without regard to case, each key after its parent.
//
// Keys may be at most RegistryMaxDepth levels below the root; a file with a
// deeper key is refused. Every operation on a tree works without recursion,
// and looking a name up costs the same however many siblings it has.

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

enum class TRegistryRoot {
  ClassesRoot,
  LocalMachine,
  CurrentUser,
  Users,
  CurrentConfig,
  DynData,
};

QString RegistryRootName(TRegistryRoot Root);  // "HKEY_CURRENT_USER"

// How many levels of keys the platform allows below a root.
inline constexpr qsizetype RegistryMaxDepth = 512;

struct TRegistryValue {
  enum TKind { vkText, vkDword, vkOther };
  QString Name;  // empty: the key's default value, written as @
  TKind Kind = vkText;
  QString Text;  // vkText: the text; vkOther: the data as written after '=' ("hex(2):41,00,00,00")
  quint32 Dword = 0;

  // vkOther: the bytes and the type (3 for plain "hex:") of the data; nothing
  // when they are not all two-digit hex numbers.
  std::optional<QByteArray> HexBytes(uint &Type) const;

  friend bool operator==(const TRegistryValue &, const TRegistryValue &) = default;
};

// One key: its values in the order first written and its sub-keys, each
// found by name through a hash of the name's case-folded form.
class TRegistryKey {
 public:
  explicit TRegistryKey(const QString &Name = QString()) : FName(Name) {}
  ~TRegistryKey();  // without recursion, however deep the sub-keys go
  TRegistryKey(const TRegistryKey &) = delete;
  TRegistryKey &operator=(const TRegistryKey &) = delete;

  const QString &Name() const { return FName; }

  const TRegistryValue *Value(const QString &Name) const;
  // Replaces the value of that name (which keeps the case it was first
  // written with) or appends a new one.
  void SetValue(const TRegistryValue &Value);
  bool DeleteValue(const QString &Name);
  std::vector<const TRegistryValue *> Values() const;

  TRegistryKey *SubKey(const QString &Name) const;
  TRegistryKey *CreateSubKey(const QString &Name);  // the existing one or a new one
  bool DeleteSubKey(const QString &Name);           // with all its sub-keys
  // In the order created, or sorted by name without regard to case.
  std::vector<TRegistryKey *> SubKeys(bool Sorted = false) const;

 private:
  friend class TRegistryTree;
  void Compact();

  QString FName;
  // Deleting leaves an empty slot, so that an index stays valid; the slots
  // are squeezed out once they are the majority.
  std::vector<std::optional<TRegistryValue>> FValues;
  QHash<QString, qsizetype> FValueIndex;
  std::vector<std::unique_ptr<TRegistryKey>> FSubKeys;
  QHash<QString, qsizetype> FSubKeyIndex;
  qsizetype FDeleted = 0;
};

// The keys of one root as a tree; the root key itself has an empty name.
class TRegistryTree {
 public:
  TRegistryTree();
  TRegistryTree(const TRegistryTree &Other);
  TRegistryTree &operator=(const TRegistryTree &Other);
  TRegistryTree(TRegistryTree &&) noexcept = default;
  TRegistryTree &operator=(TRegistryTree &&) noexcept = default;

  TRegistryKey *Find(const QStringList &Path) const;
  TRegistryKey *Create(const QStringList &Path);  // with any missing parents
  bool Delete(const QStringList &Path);           // with all its sub-keys; not the root
  const TRegistryKey &Root() const { return *FRoot; }

  // The file's bytes as a tree; nothing when they cannot be parsed (Error
  // then says where and why). A file without any bytes but white space is
  // an empty store.
  static std::optional<TRegistryTree> Parse(const QByteArray &Bytes, TRegistryRoot Root,
                                            QString *Error = nullptr);
  // The tree as the store writes it; Parse gives an equal tree back.
  QByteArray Serialize(TRegistryRoot Root) const;

  // The same names (in the same case), values (in the same order) and keys
  // (in any order).
  friend bool operator==(const TRegistryTree &A, const TRegistryTree &B);

 private:
  static std::unique_ptr<TRegistryKey> Clone(const TRegistryKey &Key);
  std::unique_ptr<TRegistryKey> FRoot;
};

// A key path as written ("Software\Vendor\App", one leading and one trailing
// '\' allowed) split into its names; nothing when the path cannot name a key
// (an empty name, a line break, more than RegistryMaxDepth levels).
std::optional<QStringList> SplitRegistryPath(const QString &Path);
