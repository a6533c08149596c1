#pragma once

// The settings store: what the registry is on the desktop the program was
// designed on. One text file per root, in the registry export format, so
// that a person can read and edit it. Three layers, a header each:
// RegistryTree.h the file format (a root's keys as a tree, parsed from and
// written to the file's bytes), RegistryFile.h one root's file read and
// changed under a lock, and here the accessor the component library uses.

#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "RegistryFile.h"
#include "RegistryTree.h"

// A failure inside the store's accessor: a missing value, a value of the
// wrong type, no open key. The component library catches these.
class ERegistryError : public std::runtime_error {
 public:
  explicit ERegistryError(const std::string &Message) : std::runtime_error(Message) {}
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
  // The names of the open key's values (none without one), in the order
  // first written.
  QStringList ValueNames() const;

 private:
  const TRegistryValue *CurrentValue(const QString &Name) const;
  void Write(const TRegistryValue &Value);
  bool Commit();

  std::optional<TRegistryRoot> FRootKey = TRegistryRoot::CurrentUser;
  std::unique_ptr<TRegistryFile> FStore;
  TRegistryTree FSnapshot;
  std::vector<TRegistryChange> FPending;
  QStringList FPath;
  QString FCurrentPath;
  bool FOpen = false;
};
