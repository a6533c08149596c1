#pragma once

// The settings store: what the registry is on the desktop the program was
// designed on. One text file per root, in the registry export format, so
// that a person can read and edit it:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Numbrook Software\Quintor\MRU]
//   "Count"=dword:00000002
//   "0"="Ann"
//   "1"="Bob \"the dice\" Smith"
//
// Text and 32-bit integers keep their type; key and value names compare
// without regard to letter case and keep the case first written; keys may
// be empty. Every batch of changes is read, applied and written back under a
// lock file, through an atomic replace, so that concurrent writers merge
// instead of overwriting each other. A file that cannot be parsed reads as
// an empty store and is renamed aside before anything is written over it.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <stdexcept>
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

// Where each root's file lives. By default the current user's store follows
// QStandardPaths (so its test mode isolates it) and the machine-wide roots
// are files in /etc/jstore. A non-empty folder puts every root there.
QString RegistryStoreFile(TRegistryRoot Root);
void SetRegistryFolder(const QString &Folder);

// A failure inside the store's accessor: a missing value, a value of the
// wrong type, no open key. The component library catches these.
class ERegistryError : public std::runtime_error {
 public:
  explicit ERegistryError(const std::string &Message) : std::runtime_error(Message) {}
};

struct TRegistryValue {
  enum TKind { vkText, vkDword, vkOther };
  QString Name;  // empty: the key's default value, written as @
  TKind Kind = vkText;
  QString Text;          // vkText: the text; vkOther: the data as written after '='
  quint32 Dword = 0;
};

struct TRegistryKey {
  QString Name;
  std::vector<TRegistryValue> Values;
  std::vector<std::unique_ptr<TRegistryKey>> SubKeys;

  TRegistryKey *SubKey(const QString &Name) const;
  const TRegistryValue *Value(const QString &Name) const;
  void SetValue(const TRegistryValue &Value);
};

// The keys of one root as a tree; the root key itself has an empty name.
class TRegistryTree {
 public:
  TRegistryTree() = default;
  TRegistryTree(const TRegistryTree &Other);
  TRegistryTree &operator=(const TRegistryTree &Other);
  TRegistryTree(TRegistryTree &&) = default;
  TRegistryTree &operator=(TRegistryTree &&) = default;

  TRegistryKey *Find(const QStringList &Path) const;
  TRegistryKey *Create(const QStringList &Path);
  bool Delete(const QStringList &Path);  // with all its sub-keys; not the root
  const TRegistryKey &Root() const { return *FRoot; }

  // Parses a file's bytes; nothing on a syntax error. A file without any
  // bytes but white space is an empty store.
  static std::optional<TRegistryTree> Parse(const QByteArray &Bytes, TRegistryRoot Root,
                                            QString *Error = nullptr);
  QByteArray Serialize(TRegistryRoot Root) const;

 private:
  std::unique_ptr<TRegistryKey> FRoot = std::make_unique<TRegistryKey>();
};

// A key path as written ("Software\Vendor\App", one leading '\' allowed) split
// into its names; nothing when the path cannot name a key.
std::optional<QStringList> SplitRegistryPath(const QString &Path);

struct TRegistryChange {
  enum TKind { ckCreateKey, ckDeleteKey, ckSetValue };
  TKind Kind = ckCreateKey;
  QStringList Path;
  TRegistryValue Value;  // ckSetValue only
};

// One root's file.
class TRegistryStore {
 public:
  TRegistryStore(TRegistryRoot Root, const QString &FilePath);

  TRegistryRoot Root() const { return FRoot; }
  QString FilePath() const { return FFilePath; }

  // The current contents; a missing, unreadable or unparsable file is empty.
  TRegistryTree Read() const;
  // Whether writing can be attempted at all: the folder exists (or can be
  // made) and may be written to. A key is opened with full access only then.
  bool CanWrite() const;
  // One batch, under the lock: read the file, apply Changes, write it back
  // atomically when it changed. False when the batch was not written; the
  // file on disk is then as it was. Result gets the merged contents.
  bool Apply(const std::vector<TRegistryChange> &Changes, TRegistryTree *Result = nullptr);

  // How long a batch waits for another writer's lock.
  int LockTimeoutMs = 10000;

 private:
  TRegistryRoot FRoot;
  QString FFilePath;
};

// The accessor the component library talks to: a root, one open key at a
// time, and typed reads and writes on that key. Changes are gathered while a
// key is open and written as one batch when it is closed.
class TRegistryAccess {
 public:
  TRegistryAccess() = default;
  ~TRegistryAccess();
  TRegistryAccess(const TRegistryAccess &) = delete;
  TRegistryAccess &operator=(const TRegistryAccess &) = delete;

  // Nothing selects no root: every key then fails to open.
  void SetRootKey(std::optional<TRegistryRoot> Root);
  // Opens Key below the root with full access, creating it and its parents
  // when CanCreate. False when the key cannot be opened that way (no such
  // key, no root, a store that cannot be written, a malformed path).
  bool OpenKey(const QString &Key, bool CanCreate);
  // Writes the batch gathered since OpenKey; a failed write is lost silently.
  void CloseKey();
  QString CurrentPath() const { return FCurrentPath; }
  bool HasCurrentKey() const { return FOpen; }
  // Deletes Key with all its sub-keys at once (or with the batch, while a
  // key is open). False when there was nothing to delete or it is not allowed.
  bool DeleteKey(const QString &Key);

  void WriteString(const QString &Name, const QString &Value);
  void WriteInteger(const QString &Name, qint32 Value);
  // A missing value gives empty text; a value of another type is an error.
  QString ReadString(const QString &Name) const;
  // A missing value or one of another type is an error.
  qint32 ReadInteger(const QString &Name) const;

 private:
  const TRegistryValue *CurrentValue(const QString &Name) const;
  void Write(const TRegistryValue &Value);
  bool Commit();

  std::optional<TRegistryRoot> FRootKey = TRegistryRoot::CurrentUser;
  std::unique_ptr<TRegistryStore> FStore;
  TRegistryTree FSnapshot;
  std::vector<TRegistryChange> FPending;
  QStringList FPath;
  QString FCurrentPath;
  bool FOpen = false;
};
