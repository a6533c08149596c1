#pragma once

// Storage settings for library components: a registry key and root, opened
// and closed around each batch of reads and writes of text and integer
// values. The values live in the settings store, one readable text file per
// root below the user's configuration folder.
//
// From code:
//
//   TJStorage Storage;
//   Storage.SetKey("Software\\My Company\\My Game");   // below atrkCurrentUser
//   Storage.Open();
//   const int Games = Storage.ReadInteger("Games", 0);
//   Storage.WriteInteger("Games", Games + 1);
//   Storage.Close();                                    // writes the batch
//
// TJStorage is not a widget and cannot stand on a Qt Designer form: it is
// made in code, or carried by a component (TMRUCombo's Storage) whose form
// properties set its Key and RegistryRootKey.

#include <QObject>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>

class TJComponent;
class TJStorage;
class TRegistryAccess;

// The root keys, known to Qt's meta-object system by name so that a form
// property of this type shows and stores its values by name
// (JStore::atrkCurrentUser); the names are also usable unqualified.
namespace JStore {
Q_NAMESPACE
enum TJStorageRootKey : std::uint8_t {
  atrkClassesRoot,
  atrkLocalMachine,
  atrkCurrentUser,
  atrkUsers,
  atrkCurrentConfig,
  atrkDynamicData,
};
Q_ENUM_NS(TJStorageRootKey)
}  // namespace JStore
using JStore::TJStorageRootKey;
using enum JStore::TJStorageRootKey;

// The accessor behind a storage. Reads and writes never raise: they answer
// false when the store refused them.
class TJWin32Registry {
 public:
  TJWin32Registry();
  ~TJWin32Registry();
  TJWin32Registry(const TJWin32Registry &) = delete;
  TJWin32Registry &operator=(const TJWin32Registry &) = delete;

  // Opens Storage's key below its root, creating it when missing. A key that
  // cannot be opened still counts as open: it reads as empty and takes no
  // writes. Raises EJError when Storage's Key is blank.
  void Open(const TJStorage &Storage);
  // Writes the batch to the store and lets the key go.
  void Close();
  // Deletes the open key with its sub-keys and creates it again, empty.
  void Clear();

  bool ReadString(const QString &Name, QString &Value);
  bool WriteString(const QString &Name, const QString &Value);
  bool ReadInteger(const QString &Name, int &Value);
  bool WriteInteger(const QString &Name, int Value);
  bool GetValueNames(QStringList &Names);

  bool Opened() const { return FOpened; }

 private:
  template <typename TOperation>
  bool Guarded(TOperation Operation);

  bool FOpened = false;
  std::unique_ptr<TRegistryAccess> FAccessor;
};

class TJStorage : public QObject {
  Q_OBJECT
  Q_PROPERTY(bool IsOpen READ IsOpen STORED false)
  Q_PROPERTY(QString Key READ Key WRITE SetKey)
  Q_PROPERTY(int RegistryRootKey READ RegistryRootKeyOrdinal WRITE SetRegistryRootKeyOrdinal)

 public:
  TJStorage();
  ~TJStorage() override;

  void Open();
  void Close();
  // Missing values read as empty text; a value that is not text gives Default.
  QString ReadString(const QString &Name, const QString &Default);
  void WriteString(const QString &Name, const QString &Value);
  // A missing value or one that is not an integer gives Default.
  int ReadInteger(const QString &Name, int Default);
  void WriteInteger(const QString &Name, int Value);
  // The names of the key's values, in the order first written.
  QStringList ValueNames();
  // Removes every value and sub-key of the key; the key itself stays.
  void Clear();
  // Copies another storage's key and root (and its being open). Any other
  // source raises EJError, as an assignment between unrelated classes does.
  virtual void Assign(const QObject *Source);

  QString Key() const { return FKey; }
  void SetKey(const QString &Value);
  TJStorageRootKey RegistryRootKey() const { return FRegistryRootKey; }
  void SetRegistryRootKey(TJStorageRootKey Value);
  bool IsOpen() const { return FIsOpen; }
  TJWin32Registry *Registry() const { return FRegistry.get(); }

  // The component that carries this storage (not owned): while it is being
  // designed, changing Key or RegistryRootKey only stores the value.
  TJComponent *OwnerComponent = nullptr;

 private:
  int RegistryRootKeyOrdinal() const { return FRegistryRootKey; }
  void SetRegistryRootKeyOrdinal(int Value) { SetRegistryRootKey(TJStorageRootKey(std::uint8_t(Value))); }
  bool OwnerDesigning() const;
  TJWin32Registry &CheckOpen();

  QString FKey;
  TJStorageRootKey FRegistryRootKey = atrkCurrentUser;
  std::unique_ptr<TJWin32Registry> FRegistry;
  bool FIsOpen = false;
};
