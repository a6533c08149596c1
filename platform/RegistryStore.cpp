#include "RegistryStore.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QThread>
#include <QtEndian>
#include <algorithm>

namespace {

const char HeaderLine[] = "Windows Registry Editor Version 5.00";

QString &FolderOverride() {
  static QString Folder;
  return Folder;
}

bool SameName(const QString &A, const QString &B) { return A.compare(B, Qt::CaseInsensitive) == 0; }

std::unique_ptr<TRegistryKey> Clone(const TRegistryKey &Key) {
  auto Copy = std::make_unique<TRegistryKey>();
  Copy->Name = Key.Name;
  Copy->Values = Key.Values;
  for (const auto &Sub : Key.SubKeys) Copy->SubKeys.push_back(Clone(*Sub));
  return Copy;
}

QString Escape(const QString &Text) {
  QString Out;
  Out.reserve(Text.size() + 2);
  for (QChar C : Text) {
    switch (C.unicode()) {
      case '\\': Out += QLatin1String("\\\\"); break;
      case '"': Out += QLatin1String("\\\""); break;
      case '\n': Out += QLatin1String("\\n"); break;
      case '\r': Out += QLatin1String("\\r"); break;
      default: Out += C;
    }
  }
  return Out;
}

// Reads a quoted string starting at Pos (on the opening quote). Leaves Pos
// after the closing quote; false when the string is not terminated.
bool ReadQuoted(const QString &Line, qsizetype &Pos, QString &Text) {
  Text.clear();
  for (++Pos; Pos < Line.size(); ++Pos) {
    const QChar C = Line[Pos];
    if (C == u'"') {
      ++Pos;
      return true;
    }
    if (C == u'\\') {
      if (++Pos >= Line.size()) return false;
      const QChar E = Line[Pos];
      Text += E == u'n' ? QChar(u'\n') : E == u'r' ? QChar(u'\r') : E;
    } else {
      Text += C;
    }
  }
  return false;
}

void SkipBlanks(const QString &Line, qsizetype &Pos) {
  while (Pos < Line.size() && (Line[Pos] == u' ' || Line[Pos] == u'\t')) ++Pos;
}

// Only white space or a ;comment may follow a value's data.
bool OnlyCommentFrom(const QString &Line, qsizetype Pos) {
  SkipBlanks(Line, Pos);
  return Pos >= Line.size() || Line[Pos] == u';';
}

QString WithoutComment(const QString &Line) {
  const qsizetype Semicolon = Line.indexOf(u';');
  return (Semicolon < 0 ? Line : Line.left(Semicolon)).trimmed();
}

bool IsHexDigit(QChar C) {
  return (C >= u'0' && C <= u'9') || (C >= u'a' && C <= u'f') || (C >= u'A' && C <= u'F');
}

// "hex:01,ff" or "hex(7):00,00": comma-separated bytes after the prefix.
bool IsHexData(const QString &Data) {
  const qsizetype Colon = Data.indexOf(u':');
  if (Colon < 0) return false;
  const QString Prefix = Data.left(Colon).toLower();
  if (Prefix != QLatin1String("hex")) {
    if (!Prefix.startsWith(QLatin1String("hex(")) || !Prefix.endsWith(u')') || Prefix.size() < 6) return false;
    for (qsizetype I = 4; I < Prefix.size() - 1; ++I)
      if (!IsHexDigit(Prefix[I])) return false;
  }
  for (qsizetype I = Colon + 1; I < Data.size(); ++I) {
    const QChar C = Data[I];
    if (!IsHexDigit(C) && C != u',' && C != u' ' && C != u'\t') return false;
  }
  return true;
}

QString Decode(const QByteArray &Bytes, bool &Ok) {
  const bool Utf16 = Bytes.startsWith("\xff\xfe");
  QStringDecoder Decoder(Utf16 ? QStringDecoder::Utf16LE : QStringDecoder::Utf8);
  QString Text = Decoder.decode(Bytes);
  Ok = !Decoder.hasError();
  return Text;
}

// A value written in hex form keeps the type named in it: "hex(2):41,00,00,00"
// is type 2 (text to expand) holding "A"; plain "hex:" is binary (type 3).
// Nothing when the bytes are not all two-digit hex numbers.
std::optional<QByteArray> HexBytes(const QString &Data, uint &Type) {
  const qsizetype Colon = Data.indexOf(u':');
  const QString Prefix = Data.left(Colon).toLower();
  bool Ok = true;
  Type = Prefix == QLatin1String("hex") ? 3 : Prefix.mid(4, Prefix.size() - 5).toUInt(&Ok, 16);
  QByteArray Bytes;
  for (const QString &Item : Data.mid(Colon + 1).split(u',', Qt::SkipEmptyParts)) {
    const QString Digits = Item.trimmed();
    const uint Byte = Digits.toUInt(&Ok, 16);
    if (!Ok || Digits.size() != 2) return std::nullopt;
    Bytes += char(Byte);
  }
  return Ok ? std::optional(Bytes) : std::nullopt;
}

void SerializeKey(const TRegistryKey &Key, const QString &Path, bool IsRoot, QString &Out) {
  if (!IsRoot || !Key.Values.empty()) {
    Out += u'\n';
    Out += u'[' + Path + QLatin1String("]\n");
    for (const TRegistryValue &Value : Key.Values) {
      Out += Value.Name.isEmpty() ? QStringLiteral("@") : u'"' + Escape(Value.Name) + u'"';
      Out += u'=';
      switch (Value.Kind) {
        case TRegistryValue::vkText: Out += u'"' + Escape(Value.Text) + u'"'; break;
        case TRegistryValue::vkDword:
          Out += QStringLiteral("dword:%1").arg(Value.Dword, 8, 16, QChar(u'0'));
          break;
        case TRegistryValue::vkOther: Out += Value.Text; break;
      }
      Out += u'\n';
    }
  }
  std::vector<const TRegistryKey *> Sorted;
  for (const auto &Sub : Key.SubKeys) Sorted.push_back(Sub.get());
  std::stable_sort(Sorted.begin(), Sorted.end(), [](const TRegistryKey *A, const TRegistryKey *B) {
    return A->Name.compare(B->Name, Qt::CaseInsensitive) < 0;
  });
  for (const TRegistryKey *Sub : Sorted) SerializeKey(*Sub, Path + u'\\' + Sub->Name, false, Out);
}

}  // namespace

QString RegistryRootName(TRegistryRoot Root) {
  switch (Root) {
    case TRegistryRoot::ClassesRoot: return QStringLiteral("HKEY_CLASSES_ROOT");
    case TRegistryRoot::LocalMachine: return QStringLiteral("HKEY_LOCAL_MACHINE");
    case TRegistryRoot::CurrentUser: return QStringLiteral("HKEY_CURRENT_USER");
    case TRegistryRoot::Users: return QStringLiteral("HKEY_USERS");
    case TRegistryRoot::CurrentConfig: return QStringLiteral("HKEY_CURRENT_CONFIG");
    case TRegistryRoot::DynData: return QStringLiteral("HKEY_DYN_DATA");
  }
  return {};
}

QString RegistryStoreFile(TRegistryRoot Root) {
  const QString FileName = RegistryRootName(Root) + QLatin1String(".reg");
  if (!FolderOverride().isEmpty()) return FolderOverride() + u'/' + FileName;
  if (Root != TRegistryRoot::CurrentUser) return QLatin1String("/etc/jstore/") + FileName;
  const QString Config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (Config.isEmpty()) return {};
  return Config + QLatin1String("/jstore/") + FileName;
}

void SetRegistryFolder(const QString &Folder) { FolderOverride() = Folder; }

// --- keys and the tree ---

TRegistryKey *TRegistryKey::SubKey(const QString &Name) const {
  for (const auto &Sub : SubKeys)
    if (SameName(Sub->Name, Name)) return Sub.get();
  return nullptr;
}

const TRegistryValue *TRegistryKey::Value(const QString &Name) const {
  for (const TRegistryValue &V : Values)
    if (SameName(V.Name, Name)) return &V;
  return nullptr;
}

void TRegistryKey::SetValue(const TRegistryValue &Value) {
  for (TRegistryValue &V : Values) {
    if (SameName(V.Name, Value.Name)) {
      // The name keeps the case it was first written with.
      const QString Name = V.Name;
      V = Value;
      V.Name = Name;
      return;
    }
  }
  Values.push_back(Value);
}

TRegistryTree::TRegistryTree(const TRegistryTree &Other) : FRoot(Clone(*Other.FRoot)) {}

TRegistryTree &TRegistryTree::operator=(const TRegistryTree &Other) {
  if (this != &Other) FRoot = Clone(*Other.FRoot);
  return *this;
}

TRegistryKey *TRegistryTree::Find(const QStringList &Path) const {
  TRegistryKey *Key = FRoot.get();
  for (const QString &Name : Path) {
    Key = Key->SubKey(Name);
    if (!Key) return nullptr;
  }
  return Key;
}

TRegistryKey *TRegistryTree::Create(const QStringList &Path) {
  TRegistryKey *Key = FRoot.get();
  for (const QString &Name : Path) {
    TRegistryKey *Sub = Key->SubKey(Name);
    if (!Sub) {
      Key->SubKeys.push_back(std::make_unique<TRegistryKey>());
      Sub = Key->SubKeys.back().get();
      Sub->Name = Name;
    }
    Key = Sub;
  }
  return Key;
}

bool TRegistryTree::Delete(const QStringList &Path) {
  if (Path.isEmpty()) return false;
  TRegistryKey *Parent = Find(Path.mid(0, Path.size() - 1));
  if (!Parent) return false;
  auto &Subs = Parent->SubKeys;
  const auto It = std::find_if(Subs.begin(), Subs.end(),
                               [&](const auto &Sub) { return SameName(Sub->Name, Path.last()); });
  if (It == Subs.end()) return false;
  Subs.erase(It);
  return true;
}

std::optional<QStringList> SplitRegistryPath(const QString &Path) {
  QString Rest = Path;
  if (Rest.startsWith(u'\\')) Rest.remove(0, 1);
  if (Rest.endsWith(u'\\')) Rest.chop(1);
  if (Rest.isEmpty()) return QStringList();
  const QStringList Names = Rest.split(u'\\');
  for (const QString &Name : Names) {
    // A line break would end the key's line in the file.
    if (Name.isEmpty() || Name.contains(u'\n') || Name.contains(u'\r')) return std::nullopt;
  }
  return Names;
}

std::optional<TRegistryTree> TRegistryTree::Parse(const QByteArray &Bytes, TRegistryRoot Root,
                                                  QString *Error) {
  auto Fail = [&](const QString &Why, qsizetype LineIndex) -> std::optional<TRegistryTree> {
    if (Error) *Error = QStringLiteral("line %1: %2").arg(LineIndex + 1).arg(Why);
    return std::nullopt;
  };
  bool Decoded = false;
  const QString Text = Decode(Bytes, Decoded);
  if (!Decoded) return Fail(QStringLiteral("not UTF-8 text"), -1);

  static const QRegularExpression LineBreak(QStringLiteral("\r\n|\r|\n"));
  const QStringList Lines = Text.split(LineBreak);
  const QString RootName = RegistryRootName(Root);
  TRegistryTree Tree;
  TRegistryKey *Current = nullptr;
  bool HeaderSeen = false;

  for (qsizetype I = 0; I < Lines.size(); ++I) {
    const QString Line = Lines[I].trimmed();
    if (Line.isEmpty()) continue;
    if (!HeaderSeen) {
      if (Line != QLatin1String(HeaderLine)) return Fail(QStringLiteral("no header"), I);
      HeaderSeen = true;
      continue;
    }
    if (Line.startsWith(u';')) continue;

    if (Line.startsWith(u'[')) {
      const qsizetype Close = Line.lastIndexOf(u']');
      if (Close < 0 || Line.size() < 2 || Line[1] == u' ' || Line[1] == u'-')
        return Fail(QStringLiteral("bad key line"), I);
      const QStringList Names = Line.mid(1, Close - 1).split(u'\\');
      if (!SameName(Names.first(), RootName)) return Fail(QStringLiteral("key of another root"), I);
      const QStringList Path = Names.mid(1);
      if (std::any_of(Path.begin(), Path.end(), [](const QString &N) { return N.isEmpty(); }))
        return Fail(QStringLiteral("empty key name"), I);
      Current = Tree.Create(Path);
      continue;
    }

    if (!Line.startsWith(u'"') && !Line.startsWith(u'@')) return Fail(QStringLiteral("unknown line"), I);
    if (!Current) return Fail(QStringLiteral("value outside a key"), I);
    TRegistryValue Value;
    qsizetype Pos = 0;
    if (Line[0] == u'@') {
      Pos = 1;
    } else if (!ReadQuoted(Line, Pos, Value.Name)) {
      return Fail(QStringLiteral("unterminated name"), I);
    }
    SkipBlanks(Line, Pos);
    if (Pos >= Line.size() || Line[Pos] != u'=') return Fail(QStringLiteral("no '='"), I);
    ++Pos;
    SkipBlanks(Line, Pos);
    const QString Data = Line.mid(Pos);

    if (Data.startsWith(u'"')) {
      Value.Kind = TRegistryValue::vkText;
      if (!ReadQuoted(Line, Pos, Value.Text) || !OnlyCommentFrom(Line, Pos))
        return Fail(QStringLiteral("bad text"), I);
    } else if (Data.startsWith(QLatin1String("dword:"), Qt::CaseInsensitive)) {
      const QString Digits = WithoutComment(Data.mid(6));
      bool Ok = false;
      Value.Kind = TRegistryValue::vkDword;
      Value.Dword = Digits.toUInt(&Ok, 16);
      if (Digits.isEmpty() || Digits.size() > 8 || !std::all_of(Digits.begin(), Digits.end(), IsHexDigit) || !Ok)
        return Fail(QStringLiteral("bad dword"), I);
    } else if (Data.startsWith(QLatin1String("hex"), Qt::CaseInsensitive)) {
      // Kept as written, so that a hand-made value of another type survives a
      // rewrite; a line ending in a backslash continues on the next one.
      QString Raw = WithoutComment(Data);
      while (Raw.endsWith(u'\\')) {
        Raw.chop(1);
        QString Next;
        while (++I < Lines.size()) {
          Next = WithoutComment(Lines[I]);
          if (!Next.isEmpty()) break;
        }
        Raw += Next;
      }
      if (!IsHexData(Raw)) return Fail(QStringLiteral("bad hex data"), I);
      Value.Kind = TRegistryValue::vkOther;
      Value.Text = Raw;
    } else {
      return Fail(QStringLiteral("unknown data"), I);
    }
    Current->SetValue(Value);
  }
  if (!HeaderSeen && !Text.trimmed().isEmpty()) return Fail(QStringLiteral("no header"), 0);
  return Tree;
}

QByteArray TRegistryTree::Serialize(TRegistryRoot Root) const {
  QString Out = QLatin1String(HeaderLine) + u'\n';
  SerializeKey(*FRoot, RegistryRootName(Root), true, Out);
  Out += u'\n';
  return Out.toUtf8();
}

// --- one root's file ---

TRegistryStore::TRegistryStore(TRegistryRoot Root, const QString &FilePath)
    : FRoot(Root), FFilePath(FilePath) {}

TRegistryTree TRegistryStore::Read() const {
  QFile File(FFilePath);
  if (FFilePath.isEmpty() || !File.open(QIODevice::ReadOnly)) return {};
  auto Tree = TRegistryTree::Parse(File.readAll(), FRoot);
  return Tree ? std::move(*Tree) : TRegistryTree();
}

bool TRegistryStore::CanWrite() const {
  if (FFilePath.isEmpty()) return false;
  const QString Folder = QFileInfo(FFilePath).absolutePath();
  return QDir().mkpath(Folder) && QFileInfo(Folder).isWritable();
}

bool TRegistryStore::Apply(const std::vector<TRegistryChange> &Changes, TRegistryTree *Result) {
  if (!CanWrite()) return false;
  QLockFile Lock(FFilePath + QLatin1String(".lock"));
  // QLockFile's own wait sleeps 100 ms and more between tries; a batch of
  // another process is over in a few milliseconds.
  const QDeadlineTimer Deadline(LockTimeoutMs);
  while (!Lock.tryLock(0)) {
    if (Lock.error() != QLockFile::LockFailedError || Deadline.hasExpired()) return false;
    QThread::msleep(2);
  }

  QFile File(FFilePath);
  QByteArray Old;
  const bool Existed = File.exists();
  if (Existed) {
    if (!File.open(QIODevice::ReadOnly)) return false;
    Old = File.readAll();
    if (File.error() != QFileDevice::NoError) return false;
    File.close();
  }
  std::optional<TRegistryTree> Tree = TRegistryTree::Parse(Old, FRoot);
  if (!Tree) {
    // Never write over what we cannot read: a person may still repair it.
    QString Aside = FFilePath + QLatin1String(".corrupt");
    for (int N = 1; QFileInfo::exists(Aside); ++N)
      Aside = FFilePath + QLatin1String(".corrupt.") + QString::number(N);
    if (!QFile::rename(FFilePath, Aside)) return false;
    Tree.emplace();
  }

  // A batch that changes nothing leaves the file as it is, comments and all.
  const QByteArray Before = Tree->Serialize(FRoot);
  for (const TRegistryChange &Change : Changes) {
    switch (Change.Kind) {
      case TRegistryChange::ckCreateKey: Tree->Create(Change.Path); break;
      case TRegistryChange::ckDeleteKey: Tree->Delete(Change.Path); break;
      case TRegistryChange::ckSetValue: Tree->Create(Change.Path)->SetValue(Change.Value); break;
    }
  }

  const QByteArray New = Tree->Serialize(FRoot);
  if (New != Before) {
    QSaveFile Out(FFilePath);
    // Unbuffered, so that a short write (a full disk, the file size limit)
    // shows in write()'s count: a buffered QSaveFile was seen to commit a
    // truncated file after one.
    if (!Out.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (Out.write(New) != New.size()) {
      Out.cancelWriting();
      return false;
    }
    if (!Out.commit()) return false;
  }
  if (Result) *Result = std::move(*Tree);
  return true;
}

// --- the accessor ---

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
  auto Store = std::make_unique<TRegistryStore>(*FRootKey, RegistryStoreFile(*FRootKey));
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
  TRegistryStore Store(*FRootKey, RegistryStoreFile(*FRootKey));
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
  const auto Bytes = V->Kind == TRegistryValue::vkOther ? HexBytes(V->Text, Type) : std::nullopt;
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
  const auto Bytes = V && V->Kind == TRegistryValue::vkOther ? HexBytes(V->Text, Type) : std::nullopt;
  // An integer in hex form: type 4, four bytes, least significant first.
  if (!Bytes || Type != 4 || Bytes->size() != 4)
    throw ERegistryError("Invalid data type for '" + Name.toStdString() + "'");
  return qint32(qFromLittleEndian<quint32>(Bytes->constData()));
}
