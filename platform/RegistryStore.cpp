#include "RegistryStore.h"

#include <QStringDecoder>
#include <QtEndian>

TRegistryAccess::~TRegistryAccess() { CloseKey(); }

void TRegistryAccess::SetRootKey(std::optional<TRegistryRoot> Root) {
  CloseKey();
  FRootKey = Root;
}

bool TRegistryAccess::OpenKey(const QString &Key, bool CanCreate) {
  CloseKey();
  if (!FRootKey) return false;
  const std::optional<QStringList> Path = SplitRegistryPath(Key);
  if (!Path) return false;
  auto Store = std::make_unique<TRegistryFile>(*FRootKey, RegistryStoreFile(*FRootKey));
  if (!Store->CanWrite()) return false;
  FSnapshot = Store->Read();
  if (!FSnapshot.Find(*Path)) {
    if (!CanCreate) return false;
    FSnapshot.Create(*Path);
    FPending.push_back({TRegistryChange::ckCreateKey, *Path, {}});
  }
  FStore = std::move(Store);
  FPath = *Path;
  FCurrentPath = Key.startsWith(u'\\') ? Key.mid(1) : Key;
  FOpen = true;
  return true;
}

void TRegistryAccess::CloseKey() {
  if (!FOpen) return;
  Commit();
  FOpen = false;
  FStore.reset();
  FSnapshot = TRegistryTree();
  FPending.clear();
  FPath.clear();
  FCurrentPath.clear();
}

bool TRegistryAccess::Commit() {
  if (FPending.empty()) return true;
  TRegistryTree Merged;
  const bool Written = FStore->Apply(FPending, &Merged);
  FPending.clear();
  if (Written) FSnapshot = std::move(Merged);
  return Written;
}

bool TRegistryAccess::DeleteKey(const QString &Key) {
  if (!FRootKey) return false;
  const std::optional<QStringList> Path = SplitRegistryPath(Key);
  if (!Path || Path->isEmpty()) return false;
  if (FOpen) {
    if (!FSnapshot.Delete(*Path)) return false;
    FPending.push_back({TRegistryChange::ckDeleteKey, *Path, {}});
    return true;
  }
  TRegistryFile Store(*FRootKey, RegistryStoreFile(*FRootKey));
  if (!Store.CanWrite() || !Store.Read().Find(*Path)) return false;
  return Store.Apply({{TRegistryChange::ckDeleteKey, *Path, {}}});
}

const TRegistryValue *TRegistryAccess::CurrentValue(const QString &Name) const {
  const TRegistryKey *Key = FSnapshot.Find(FPath);
  return Key ? Key->Value(Name) : nullptr;
}

void TRegistryAccess::Write(const TRegistryValue &Value) {
  if (!FOpen) throw ERegistryError("No key is open");
  FSnapshot.Create(FPath)->SetValue(Value);
  FPending.push_back({TRegistryChange::ckSetValue, FPath, Value});
}

void TRegistryAccess::WriteString(const QString &Name, const QString &Value) {
  TRegistryValue V;
  V.Name = Name;
  V.Kind = TRegistryValue::vkText;
  V.Text = Value;
  Write(V);
}

void TRegistryAccess::WriteInteger(const QString &Name, qint32 Value) {
  TRegistryValue V;
  V.Name = Name;
  V.Kind = TRegistryValue::vkDword;
  V.Dword = quint32(Value);
  Write(V);
}

QString TRegistryAccess::ReadString(const QString &Name) const {
  if (!FOpen) return {};
  const TRegistryValue *V = CurrentValue(Name);
  if (!V) return {};
  if (V->Kind == TRegistryValue::vkText) return V->Text;
  uint Type = 0;
  const auto Bytes = V->HexBytes(Type);
  // Text in hex form (types 1 and 2, as an exported file may hold it) is
  // UTF-16 up to its terminating zero; the second type is taken as stored.
  if (!Bytes || (Type != 1 && Type != 2))
    throw ERegistryError("Invalid data type for '" + Name.toStdString() + "'");
  QString Text = QStringDecoder(QStringDecoder::Utf16LE).decode(*Bytes);
  return Text.left(Text.indexOf(QChar(0)));
}

qint32 TRegistryAccess::ReadInteger(const QString &Name) const {
  if (!FOpen) throw ERegistryError("No key is open");
  const TRegistryValue *V = CurrentValue(Name);
  if (V && V->Kind == TRegistryValue::vkDword) return qint32(V->Dword);
  uint Type = 0;
  const auto Bytes = V ? V->HexBytes(Type) : std::nullopt;
  // An integer in hex form: type 4, four bytes, least significant first.
  if (!Bytes || Type != 4 || Bytes->size() != 4)
    throw ERegistryError("Invalid data type for '" + Name.toStdString() + "'");
  return qint32(qFromLittleEndian<quint32>(Bytes->constData()));
}

QStringList TRegistryAccess::ValueNames() const {
  QStringList Names;
  if (const TRegistryKey *Key = FOpen ? FSnapshot.Find(FPath) : nullptr)
    for (const TRegistryValue *Value : Key->Values()) Names << Value->Name;
  return Names;
}
