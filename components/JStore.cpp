#include "JStore.h"

#include "Component.h"
#include "JError.h"
#include "RegistryStore.h"

namespace {

std::optional<TRegistryRoot> RootOf(TJStorageRootKey Key) {
  switch (Key) {
    case atrkClassesRoot: return TRegistryRoot::ClassesRoot;
    case atrkLocalMachine: return TRegistryRoot::LocalMachine;
    case atrkCurrentUser: return TRegistryRoot::CurrentUser;
    case atrkUsers: return TRegistryRoot::Users;
    case atrkCurrentConfig: return TRegistryRoot::CurrentConfig;
    case atrkDynamicData: return TRegistryRoot::DynData;
  }
  return std::nullopt;
}

}  // namespace

// --- TJWin32Registry ---

TJWin32Registry::TJWin32Registry() = default;

TJWin32Registry::~TJWin32Registry() {
  if (FOpened) Close();
}

void TJWin32Registry::Open(const TJStorage &Storage) {
  if (FAccessor) return;
  if (Storage.Key().isEmpty()) throw EJError("Cannot open registry because TJStorage.Key is blank");
  FAccessor = std::make_unique<TRegistryAccess>();
  FAccessor->SetRootKey(RootOf(Storage.RegistryRootKey()));
  // Whether the key opened is not checked: a key we may not open behaves as
  // an empty store that cannot be written.
  FAccessor->OpenKey(Storage.Key(), true);
  FOpened = true;
}

void TJWin32Registry::Close() {
  if (FAccessor) {
    FAccessor->CloseKey();
    FAccessor.reset();
  }
  FOpened = false;
}

void TJWin32Registry::Clear() {
  if (!FAccessor) throw EJError("TJWin32Registry is not open");
  const QString Path = FAccessor->CurrentPath();
  if (Path.isEmpty()) return;
  FAccessor->CloseKey();
  FAccessor->DeleteKey(Path);
  FAccessor->OpenKey(Path, true);
}

// One accessor operation: false at once without an accessor (an Open that
// failed), false on any error inside it, true otherwise.
template <typename TOperation>
bool TJWin32Registry::Guarded(TOperation Operation) {
  if (!FAccessor) return false;
  try {
    Operation(*FAccessor);
    return true;
  } catch (const std::exception &) {
    return false;
  }
}

bool TJWin32Registry::ReadString(const QString &Name, QString &Value) {
  return Guarded([&](TRegistryAccess &Access) { Value = Access.ReadString(Name); });
}

bool TJWin32Registry::WriteString(const QString &Name, const QString &Value) {
  return Guarded([&](TRegistryAccess &Access) { Access.WriteString(Name, Value); });
}

bool TJWin32Registry::ReadInteger(const QString &Name, int &Value) {
  return Guarded([&](TRegistryAccess &Access) { Value = Access.ReadInteger(Name); });
}

bool TJWin32Registry::WriteInteger(const QString &Name, int Value) {
  return Guarded([&](TRegistryAccess &Access) { Access.WriteInteger(Name, Value); });
}

bool TJWin32Registry::GetValueNames(QStringList &Names) {
  return Guarded([&](TRegistryAccess &Access) { Names = Access.ValueNames(); });
}

// --- TJStorage ---

TJStorage::TJStorage() = default;

TJStorage::~TJStorage() = default;

void TJStorage::Open() {
  if (!FRegistry) FRegistry = std::make_unique<TJWin32Registry>();
  // A failure here leaves the accessor in place, closed: reads then give
  // their defaults until the next Close.
  FRegistry->Open(*this);
  FIsOpen = true;
}

void TJStorage::Close() {
  FRegistry.reset();
  FIsOpen = false;
}

TJWin32Registry &TJStorage::CheckOpen() {
  if (!FRegistry) throw EJError("JStorage not Open");
  return *FRegistry;
}

QString TJStorage::ReadString(const QString &Name, const QString &Default) {
  QString Value = Default;
  CheckOpen().ReadString(Name, Value);
  return Value;
}

void TJStorage::WriteString(const QString &Name, const QString &Value) {
  CheckOpen().WriteString(Name, Value);
}

int TJStorage::ReadInteger(const QString &Name, int Default) {
  int Value = Default;
  CheckOpen().ReadInteger(Name, Value);
  return Value;
}

void TJStorage::WriteInteger(const QString &Name, int Value) { CheckOpen().WriteInteger(Name, Value); }

QStringList TJStorage::ValueNames() {
  QStringList Names;
  CheckOpen().GetValueNames(Names);
  return Names;
}

void TJStorage::Clear() { CheckOpen().Clear(); }

void TJStorage::Assign(const QObject *Source) {
  if (const auto *Other = qobject_cast<const TJStorage *>(Source)) {
    Close();
    SetKey(Other->Key());
    SetRegistryRootKey(Other->RegistryRootKey());
    if (Other->IsOpen()) Open();
    return;
  }
  const char *SourceName = Source ? Source->metaObject()->className() : "nil";
  throw EJError(std::string("Cannot assign a ") + SourceName + " to a " + metaObject()->className());
}

bool TJStorage::OwnerDesigning() const {
  return OwnerComponent && InStateSet(&OwnerComponent->ComponentState, csDesigning);
}

void TJStorage::SetKey(const QString &Value) {
  if (Value == FKey) return;
  FKey = Value;
  if (OwnerDesigning()) return;
  if (FIsOpen) {
    Close();
    if (!FKey.isEmpty()) Open();
  }
}

void TJStorage::SetRegistryRootKey(TJStorageRootKey Value) {
  if (Value == FRegistryRootKey) return;
  FRegistryRootKey = Value;
  if (OwnerDesigning()) return;
  if (FIsOpen) {
    Close();
    Open();
  }
}
