#include "RegistryTree.h"

#include "PosixFile.h"

#include <QStringDecoder>
#include <algorithm>

namespace {

const char HeaderLine[] = "Windows Registry Editor Version 5.00";
// The older header: the file is Windows-1252 text.
const char AnsiHeaderLine[] = "REGEDIT4";

QString Fold(const QString &Name) { return Name.toCaseFolded(); }

bool SortsBefore(const TRegistryKey *A, const TRegistryKey *B) {
  return A->Name().compare(B->Name(), Qt::CaseInsensitive) < 0;
}

using posixfile::FromWindows1252;

// Whether the last bytes are the start of a UTF-8 sequence that the file
// cut short: a file truncated in the middle of a character.
bool EndsInsideUtf8Character(QByteArrayView Bytes) {
  qsizetype I = Bytes.size() - 1, Continuations = 0;
  while (I >= 0 && Continuations < 3 && (uchar(Bytes[I]) & 0xc0) == 0x80) --I, ++Continuations;
  if (I < 0) return false;
  const uchar Lead = uchar(Bytes[I]);
  const int Length = Lead >= 0xc2 && Lead < 0xe0 ? 2 : Lead >= 0xe0 && Lead < 0xf0 ? 3 : Lead >= 0xf0 && Lead < 0xf5 ? 4 : 1;
  return Continuations + 1 < Length;
}

template <typename TView, typename TEmit>
void SplitLines(TView Text, TEmit Emit) {
  qsizetype Start = 0;
  for (qsizetype I = 0; I < Text.size(); ++I) {
    if (Text[I] != '\n' && Text[I] != '\r') continue;
    Emit(Text.sliced(Start, I - Start));
    if (Text[I] == '\r' && I + 1 < Text.size() && Text[I + 1] == '\n') ++I;
    Start = I + 1;
  }
  Emit(Text.sliced(Start));
}

// The file's lines as text; nothing (and Why) when the bytes are not text.
std::optional<std::vector<QString>> DecodeLines(const QByteArray &Bytes, QString &Why) {
  std::vector<QString> Lines;
  if (Bytes.startsWith("\xff\xfe")) {
    QStringDecoder Decoder(QStringDecoder::Utf16LE, QStringDecoder::Flag::Stateless);
    const QString Text = Decoder.decode(Bytes);
    // The decoder passes a surrogate without its pair; written back as UTF-8
    // it would become another character.
    if (Decoder.hasError() || Bytes.size() % 2 || !Text.isValidUtf16()) {
      Why = QStringLiteral("not UTF-16 text");
      return std::nullopt;
    }
    SplitLines(QStringView(Text), [&](QStringView Line) { Lines.push_back(Line.toString()); });
    return Lines;
  }

  QByteArrayView Rest(Bytes);
  if (Rest.startsWith("\xef\xbb\xbf")) Rest = Rest.sliced(3);
  std::vector<QByteArrayView> Raw;
  SplitLines(Rest, [&](QByteArrayView Line) { Raw.push_back(Line); });
  const auto First = std::find_if(Raw.begin(), Raw.end(), [](QByteArrayView L) { return !L.trimmed().isEmpty(); });
  const bool Ansi = First != Raw.end() && First->trimmed() == AnsiHeaderLine;
  if (!Ansi && EndsInsideUtf8Character(Rest)) {
    Why = QStringLiteral("the file ends inside a character");
    return std::nullopt;
  }
  Lines.reserve(Raw.size());
  // A line not in UTF-8 is a value another program wrote in the desktop's
  // own code page.
  for (const QByteArrayView Line : Raw) Lines.push_back(Ansi ? FromWindows1252(Line) : posixfile::DecodeText(Line));
  return Lines;
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

// Text in hex form (types 1, 2 and 7) is bytes of the code page in a file
// with the older header, UTF-16 in the newer one. It is turned into UTF-16,
// so that it keeps its meaning once the file is written with the newer one.
QString WithUtf16Text(const QString &Data) {
  TRegistryValue Value;
  Value.Kind = TRegistryValue::vkOther;
  Value.Text = Data;
  uint Type = 0;
  const std::optional<QByteArray> Bytes = Value.HexBytes(Type);
  if (!Bytes || (Type != 1 && Type != 2 && Type != 7)) return Data;
  const QString Text = FromWindows1252(*Bytes);
  QString Out = Data.left(Data.indexOf(u':') + 1);
  for (qsizetype I = 0; I < Text.size(); ++I) {
    const ushort U = Text[I].unicode();
    Out += QStringLiteral("%1%2,%3").arg(I ? "," : "").arg(U & 0xff, 2, 16, QChar(u'0')).arg(U >> 8, 2, 16, QChar(u'0'));
  }
  return Out;
}

void WriteKey(const TRegistryKey &Key, const QString &Path, bool IsRoot, QString &Out) {
  const std::vector<const TRegistryValue *> Values = Key.Values();
  if (IsRoot && Values.empty()) return;
  Out += u'\n';
  Out += u'[' + Path + QLatin1String("]\n");
  for (const TRegistryValue *Value : Values) {
    Out += Value->Name.isEmpty() ? QStringLiteral("@") : u'"' + Escape(Value->Name) + u'"';
    Out += u'=';
    switch (Value->Kind) {
      case TRegistryValue::vkText: Out += u'"' + Escape(Value->Text) + u'"'; break;
      case TRegistryValue::vkDword: Out += QStringLiteral("dword:%1").arg(Value->Dword, 8, 16, QChar(u'0')); break;
      case TRegistryValue::vkOther: Out += Value->Text; break;
    }
    Out += u'\n';
  }
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

// --- values ---

std::optional<QByteArray> TRegistryValue::HexBytes(uint &Type) const {
  if (Kind != vkOther) return std::nullopt;
  const qsizetype Colon = Text.indexOf(u':');
  if (Colon < 0) return std::nullopt;
  const QString Prefix = Text.left(Colon).toLower();
  bool Ok = true;
  Type = Prefix == QLatin1String("hex") ? 3 : Prefix.mid(4, Prefix.size() - 5).toUInt(&Ok, 16);
  if (!Ok) return std::nullopt;
  QByteArray Bytes;
  for (const QString &Item : Text.mid(Colon + 1).split(u',', Qt::SkipEmptyParts)) {
    const QString Digits = Item.trimmed();
    const uint Byte = Digits.toUInt(&Ok, 16);
    if (!Ok || Digits.size() != 2) return std::nullopt;
    Bytes += char(Byte);
  }
  return Bytes;
}

// --- keys ---

TRegistryKey::~TRegistryKey() {
  // Each key is taken apart before it goes, so that no destructor ever has
  // sub-keys of its own to destroy.
  std::vector<std::unique_ptr<TRegistryKey>> Doomed = std::move(FSubKeys);
  while (!Doomed.empty()) {
    std::unique_ptr<TRegistryKey> Key = std::move(Doomed.back());
    Doomed.pop_back();
    if (!Key) continue;
    for (auto &Sub : Key->FSubKeys)
      if (Sub) Doomed.push_back(std::move(Sub));
    Key->FSubKeys.clear();
  }
}

const TRegistryValue *TRegistryKey::Value(const QString &Name) const {
  const qsizetype Slot = FValueIndex.value(Fold(Name), -1);
  return Slot < 0 ? nullptr : &*FValues[size_t(Slot)];
}

void TRegistryKey::SetValue(const TRegistryValue &Value) {
  const QString Folded = Fold(Value.Name);
  const auto It = FValueIndex.constFind(Folded);
  if (It == FValueIndex.cend()) {
    FValueIndex.insert(Folded, qsizetype(FValues.size()));
    FValues.push_back(Value);
    return;
  }
  TRegistryValue &Old = *FValues[size_t(*It)];
  const QString Name = Old.Name;  // the case it was first written with
  Old = Value;
  Old.Name = Name;
}

bool TRegistryKey::DeleteValue(const QString &Name) {
  const auto It = FValueIndex.find(Fold(Name));
  if (It == FValueIndex.end()) return false;
  FValues[size_t(*It)].reset();
  FValueIndex.erase(It);
  ++FDeleted;
  Compact();
  return true;
}

std::vector<const TRegistryValue *> TRegistryKey::Values() const {
  std::vector<const TRegistryValue *> Live;
  Live.reserve(FValueIndex.size());
  for (const auto &Value : FValues)
    if (Value) Live.push_back(&*Value);
  return Live;
}

TRegistryKey *TRegistryKey::SubKey(const QString &Name) const {
  const qsizetype Slot = FSubKeyIndex.value(Fold(Name), -1);
  return Slot < 0 ? nullptr : FSubKeys[size_t(Slot)].get();
}

TRegistryKey *TRegistryKey::CreateSubKey(const QString &Name) {
  const QString Folded = Fold(Name);
  const qsizetype Slot = FSubKeyIndex.value(Folded, -1);
  if (Slot >= 0) return FSubKeys[size_t(Slot)].get();
  FSubKeyIndex.insert(Folded, qsizetype(FSubKeys.size()));
  FSubKeys.push_back(std::make_unique<TRegistryKey>(Name));
  return FSubKeys.back().get();
}

bool TRegistryKey::DeleteSubKey(const QString &Name) {
  const QString Folded = Fold(Name);
  const auto It = FSubKeyIndex.find(Folded);
  if (It == FSubKeyIndex.end()) return false;
  FSubKeys[size_t(*It)].reset();
  FSubKeyIndex.erase(It);
  ++FDeleted;
  Compact();
  return true;
}

std::vector<TRegistryKey *> TRegistryKey::SubKeys(bool Sorted) const {
  std::vector<TRegistryKey *> Live;
  Live.reserve(FSubKeyIndex.size());
  for (const auto &Sub : FSubKeys)
    if (Sub) Live.push_back(Sub.get());
  if (Sorted) std::stable_sort(Live.begin(), Live.end(), SortsBefore);
  return Live;
}

void TRegistryKey::Compact() {
  const qsizetype Slots = qsizetype(FValues.size() + FSubKeys.size());
  if (FDeleted < 16 || FDeleted * 2 < Slots) return;
  std::erase_if(FValues, [](const auto &Value) { return !Value; });
  std::erase_if(FSubKeys, [](const auto &Sub) { return !Sub; });
  FValueIndex.clear();
  for (size_t I = 0; I < FValues.size(); ++I) FValueIndex.insert(Fold(FValues[I]->Name), qsizetype(I));
  FSubKeyIndex.clear();
  for (size_t I = 0; I < FSubKeys.size(); ++I) FSubKeyIndex.insert(Fold(FSubKeys[I]->FName), qsizetype(I));
  FDeleted = 0;
}

// --- the tree ---

TRegistryTree::TRegistryTree() : FRoot(std::make_unique<TRegistryKey>()) {}

TRegistryTree::TRegistryTree(const TRegistryTree &Other) : FRoot(Clone(*Other.FRoot)) {}

TRegistryTree &TRegistryTree::operator=(const TRegistryTree &Other) {
  if (this != &Other) FRoot = Clone(*Other.FRoot);
  return *this;
}

std::unique_ptr<TRegistryKey> TRegistryTree::Clone(const TRegistryKey &Key) {
  auto Copy = std::make_unique<TRegistryKey>(Key.FName);
  std::vector<std::pair<const TRegistryKey *, TRegistryKey *>> Work{{&Key, Copy.get()}};
  while (!Work.empty()) {
    const auto [From, To] = Work.back();
    Work.pop_back();
    // Empty slots are copied too, so that the (shared) indexes stay valid.
    To->FValues = From->FValues;
    To->FValueIndex = From->FValueIndex;
    To->FSubKeyIndex = From->FSubKeyIndex;
    To->FDeleted = From->FDeleted;
    To->FSubKeys.reserve(From->FSubKeys.size());
    for (const auto &Sub : From->FSubKeys) {
      To->FSubKeys.push_back(Sub ? std::make_unique<TRegistryKey>(Sub->FName) : nullptr);
      if (Sub) Work.emplace_back(Sub.get(), To->FSubKeys.back().get());
    }
  }
  return Copy;
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
  for (const QString &Name : Path) Key = Key->CreateSubKey(Name);
  return Key;
}

bool TRegistryTree::Delete(const QStringList &Path) {
  if (Path.isEmpty()) return false;
  TRegistryKey *Parent = Find(Path.mid(0, Path.size() - 1));
  return Parent && Parent->DeleteSubKey(Path.last());
}

bool operator==(const TRegistryTree &A, const TRegistryTree &B) {
  std::vector<std::pair<const TRegistryKey *, const TRegistryKey *>> Work{{A.FRoot.get(), B.FRoot.get()}};
  while (!Work.empty()) {
    const auto [KeyA, KeyB] = Work.back();
    Work.pop_back();
    if (KeyA->Name() != KeyB->Name()) return false;
    const auto ValuesA = KeyA->Values(), ValuesB = KeyB->Values();
    if (!std::equal(ValuesA.begin(), ValuesA.end(), ValuesB.begin(), ValuesB.end(),
                    [](const TRegistryValue *X, const TRegistryValue *Y) { return *X == *Y; }))
      return false;
    const auto SubsA = KeyA->SubKeys();
    if (SubsA.size() != KeyB->SubKeys().size()) return false;
    for (const TRegistryKey *Sub : SubsA) {
      const TRegistryKey *Other = KeyB->SubKey(Sub->Name());
      if (!Other) return false;
      Work.emplace_back(Sub, Other);
    }
  }
  return true;
}

std::optional<QStringList> SplitRegistryPath(const QString &Path) {
  QString Rest = Path;
  if (Rest.startsWith(u'\\')) Rest.remove(0, 1);
  if (Rest.endsWith(u'\\')) Rest.chop(1);
  if (Rest.isEmpty()) return QStringList();
  const QStringList Names = Rest.split(u'\\');
  if (Names.size() > RegistryMaxDepth) return std::nullopt;
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
  QString Why;
  const std::optional<std::vector<QString>> Decoded = DecodeLines(Bytes, Why);
  if (!Decoded) return Fail(Why, -1);
  const std::vector<QString> &Lines = *Decoded;
  const qsizetype LineCount = qsizetype(Lines.size());

  const QString RootName = RegistryRootName(Root);
  TRegistryTree Tree;
  TRegistryKey *Current = nullptr;
  bool HeaderSeen = false, Ansi = false;

  for (qsizetype I = 0; I < LineCount; ++I) {
    const QString Line = Lines[size_t(I)].trimmed();
    if (Line.isEmpty()) continue;
    if (!HeaderSeen) {
      Ansi = Line == QLatin1String(AnsiHeaderLine);
      if (!Ansi && Line != QLatin1String(HeaderLine)) return Fail(QStringLiteral("no header"), I);
      HeaderSeen = true;
      continue;
    }
    if (Line.startsWith(u';')) continue;

    if (Line.startsWith(u'[')) {
      const qsizetype Close = Line.lastIndexOf(u']');
      if (Close < 0 || Line.size() < 2 || Line[1] == u' ') return Fail(QStringLiteral("bad key line"), I);
      // "[-HKEY_...\Key]" deletes the key and everything below it.
      const bool Deletes = Line[1] == u'-';
      const qsizetype Start = Deletes ? 2 : 1;
      if (Close < Start) return Fail(QStringLiteral("bad key line"), I);
      const QStringView Written = QStringView(Line).sliced(Start, Close - Start);
      // Counted before splitting, so that a million levels are refused at once.
      if (Written.count(u'\\') > RegistryMaxDepth) return Fail(QStringLiteral("key too deep"), I);
      const QStringList Names = Written.toString().split(u'\\');
      if (Names.first().compare(RootName, Qt::CaseInsensitive) != 0)
        return Fail(QStringLiteral("key of another root"), I);
      const QStringList Path = Names.mid(1);
      if (std::any_of(Path.begin(), Path.end(), [](const QString &N) { return N.isEmpty(); }))
        return Fail(QStringLiteral("empty key name"), I);
      if (Deletes) {
        Tree.Delete(Path);  // the root itself cannot be deleted; nothing happens
        Current = nullptr;
      } else {
        Current = Tree.Create(Path);
      }
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

    if (WithoutComment(Data) == QLatin1String("-")) {
      Current->DeleteValue(Value.Name);
      continue;
    }
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
        while (++I < LineCount) {
          Next = WithoutComment(Lines[size_t(I)]);
          if (!Next.isEmpty()) break;
        }
        Raw += Next;
      }
      // Blanks before a backslash that ended the file would end the line
      // written back, and go when it is read again.
      Raw = Raw.trimmed();
      if (!IsHexData(Raw)) return Fail(QStringLiteral("bad hex data"), std::min(I, LineCount - 1));
      Value.Kind = TRegistryValue::vkOther;
      Value.Text = Ansi ? WithUtf16Text(Raw) : Raw;
    } else {
      return Fail(QStringLiteral("unknown data"), I);
    }
    Current->SetValue(Value);
  }
  return Tree;  // also for a file of nothing but blanks
}

QByteArray TRegistryTree::Serialize(TRegistryRoot Root) const {
  QString Out = QLatin1String(HeaderLine) + u'\n';
  QString Path = RegistryRootName(Root);
  WriteKey(*FRoot, Path, true, Out);
  // Depth first, each key after its parent, siblings sorted; one path that
  // grows and shrinks instead of one per level.
  struct TLevel {
    std::vector<TRegistryKey *> SubKeys;
    size_t Next;
    qsizetype PathSize;
  };
  std::vector<TLevel> Levels;
  Levels.push_back({FRoot->SubKeys(true), 0, Path.size()});
  while (!Levels.empty()) {
    TLevel &Level = Levels.back();
    if (Level.Next == Level.SubKeys.size()) {
      Levels.pop_back();
      continue;
    }
    const TRegistryKey *Key = Level.SubKeys[Level.Next++];
    Path.truncate(Level.PathSize);
    Path += u'\\' + Key->Name();
    WriteKey(*Key, Path, false, Out);
    Levels.push_back({Key->SubKeys(true), 0, Path.size()});
  }
  Out += u'\n';
  return Out.toUtf8();
}
