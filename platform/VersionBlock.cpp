#include "VersionBlock.h"

#include <QByteArrayView>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int NodeHeaderSize = 6;  // length, value length, type
constexpr std::uint32_t ElfSectionNull = 0;
constexpr std::uint32_t ElfSectionNoBits = 8;
constexpr std::uint64_t ElfExtendedIndex = 0xFFFF;
// A name table larger than this is not one a program would carry; refusing it
// keeps a damaged header from making us read a whole large file.
constexpr std::uint64_t MaxNameTableSize = 16u << 20;

int Align4(int Offset) { return (Offset + 3) & ~3; }

std::uint16_t WordAt(const QByteArray &Bytes, int At) {
  return std::uint16_t(std::uint8_t(Bytes[At]) | std::uint8_t(Bytes[At + 1]) << 8);
}

void PutWord(QByteArray &Bytes, int At, int Value) {
  Bytes[At] = char(Value & 0xFF);
  Bytes[At + 1] = char((Value >> 8) & 0xFF);
}

void PutDword(QByteArray &Bytes, std::uint32_t Value) {
  for (int Shift = 0; Shift < 32; Shift += 8) Bytes.append(char((Value >> Shift) & 0xFF));
}

void PadTo4(QByteArray &Bytes) {
  while (Bytes.size() % 4 != 0) Bytes.append('\0');
}

void AppendNode(QByteArray &Out, const TVersionNode &Node) {
  const int Begin = int(Out.size());
  Out.append(NodeHeaderSize, '\0');
  Out.append(Node.Key);
  Out.append('\0');
  PadTo4(Out);
  QByteArray Value = Node.Value;
  if (Node.Text && !Value.isEmpty()) Value.append('\0');
  Out.append(Value);
  for (const TVersionNode &Child : Node.Children) {
    PadTo4(Out);
    AppendNode(Out, Child);
  }
  const qsizetype Length = Out.size() - Begin;
  if (Length > MaxVersionBlockSize || Value.size() > MaxVersionBlockSize)
    throw std::length_error("version block node too long: " + Node.Key.toStdString());
  PutWord(Out, Begin, int(Length));
  PutWord(Out, Begin + 2, int(Value.size()));
  PutWord(Out, Begin + 4, Node.Text ? 1 : 0);
}

// One node as found in a block; every position is checked to lie inside the
// node, and the node inside its parent, before it is handed out.
struct TNodeView {
  int End = 0;
  QByteArray Key;
  bool Text = false;
  int ValueBegin = 0;
  int ValueLength = 0;
  int ChildrenBegin = 0;
};

std::optional<TNodeView> ParseNode(const QByteArray &Block, int Begin, int Limit) {
  if (Limit - Begin < NodeHeaderSize) return std::nullopt;
  const int Length = WordAt(Block, Begin);
  if (Length < NodeHeaderSize || Length > Limit - Begin) return std::nullopt;
  TNodeView Node;
  Node.End = Begin + Length;
  Node.ValueLength = WordAt(Block, Begin + 2);
  Node.Text = WordAt(Block, Begin + 4) == 1;
  const int KeyBegin = Begin + NodeHeaderSize;
  const auto KeyEnd = Block.indexOf('\0', KeyBegin);
  if (KeyEnd < 0 || KeyEnd >= Node.End) return std::nullopt;
  Node.Key = Block.mid(KeyBegin, KeyEnd - KeyBegin);
  Node.ValueBegin = Align4(int(KeyEnd) + 1);
  if (Node.ValueLength > 0 && Node.ValueBegin + Node.ValueLength > Node.End) return std::nullopt;
  Node.ChildrenBegin = Align4(Node.ValueBegin + Node.ValueLength);
  return Node;
}

std::uint64_t Unsigned(const QByteArray &Bytes, std::uint64_t At, int Size, bool BigEndian) {
  std::uint64_t Value = 0;
  for (int I = 0; I < Size; ++I)
    Value = Value << 8 | std::uint8_t(Bytes[qsizetype(At + std::uint64_t(BigEndian ? I : Size - 1 - I))]);
  return Value;
}

std::optional<QByteArray> ReadAt(QFile &File, std::uint64_t Offset, std::uint64_t Size) {
  const auto FileSize = std::uint64_t(File.size());
  if (Offset > FileSize || Size > FileSize - Offset || !File.seek(qint64(Offset))) return std::nullopt;
  QByteArray Bytes = File.read(qint64(Size));
  if (std::uint64_t(Bytes.size()) != Size) return std::nullopt;
  return Bytes;
}

std::optional<TFileSpan> FindSection(QFile &File, const char *Name) {
  const QByteArray Header = File.read(64);
  if (Header.size() < 52 || !Header.startsWith("\x7f" "ELF")) return std::nullopt;
  const int Class = Header[4], Data = Header[5];
  if ((Class != 1 && Class != 2) || (Data != 1 && Data != 2)) return std::nullopt;
  const bool Is64 = Class == 2, Big = Data == 2;
  if (Is64 && Header.size() < 64) return std::nullopt;
  const int Address = Is64 ? 8 : 4;
  auto Field = [Big](const QByteArray &Bytes, std::uint64_t At, int Size) {
    return Unsigned(Bytes, At, Size, Big);
  };

  const std::uint64_t TableOffset = Field(Header, Is64 ? 0x28 : 0x20, Address);
  const std::uint64_t EntrySize = Field(Header, Is64 ? 0x3A : 0x2E, 2);
  std::uint64_t Count = Field(Header, Is64 ? 0x3C : 0x30, 2);
  std::uint64_t NamesIndex = Field(Header, Is64 ? 0x3E : 0x32, 2);
  if (TableOffset == 0 || EntrySize < std::uint64_t(Is64 ? 64 : 40)) return std::nullopt;

  struct TSection {
    std::uint64_t Name, Type, Offset, Size, Link;
  };
  auto SectionAt = [&](const QByteArray &Table, std::uint64_t Index) {
    const std::uint64_t At = Index * EntrySize;
    return TSection{Field(Table, At, 4), Field(Table, At + 4, 4),
                    Field(Table, At + (Is64 ? 0x18 : 0x10), Address),
                    Field(Table, At + (Is64 ? 0x20 : 0x14), Address),
                    Field(Table, At + (Is64 ? 0x28 : 0x18), 4)};
  };

  // A file with very many sections keeps the true count and the name table's
  // index in the first section header.
  const auto First = ReadAt(File, TableOffset, EntrySize);
  if (!First) return std::nullopt;
  const TSection Zero = SectionAt(*First, 0);
  if (Count == 0) Count = Zero.Size;
  if (NamesIndex == ElfExtendedIndex) NamesIndex = Zero.Link;
  if (Count == 0 || NamesIndex >= Count || Count > std::uint64_t(File.size()) / EntrySize)
    return std::nullopt;

  const auto Table = ReadAt(File, TableOffset, Count * EntrySize);
  if (!Table) return std::nullopt;
  const TSection NamesSection = SectionAt(*Table, NamesIndex);
  if (NamesSection.Size > MaxNameTableSize) return std::nullopt;
  const auto Names = ReadAt(File, NamesSection.Offset, NamesSection.Size);
  if (!Names) return std::nullopt;

  const QByteArrayView Wanted(Name);
  for (std::uint64_t Index = 1; Index < Count; ++Index) {
    const TSection Section = SectionAt(*Table, Index);
    if (Section.Type == ElfSectionNull || Section.Type == ElfSectionNoBits) continue;
    if (Section.Name >= std::uint64_t(Names->size())) continue;
    const char *Candidate = Names->constData() + Section.Name;
    const auto Length = qstrnlen(Candidate, uint(std::uint64_t(Names->size()) - Section.Name));
    if (QByteArrayView(Candidate, Length) != Wanted) continue;
    const auto FileSize = std::uint64_t(File.size());
    if (Section.Offset > FileSize || Section.Size > FileSize - Section.Offset) return std::nullopt;
    return TFileSpan{std::int64_t(Section.Offset), std::int64_t(Section.Size)};
  }
  return std::nullopt;
}

// Only a regular file is opened: a pipe or device would block or never end.
bool OpenProgramFile(QFile &File) {
  return QFileInfo(File.fileName()).isFile() && File.open(QIODevice::ReadOnly);
}

}  // namespace

std::optional<TVersionParts> ParseVersionParts(const QString &Version) {
  const QStringList Texts = Version.split(QLatin1Char('.'));
  if (Texts.size() > 4) return std::nullopt;
  TVersionParts Parts{};
  for (int I = 0; I < Texts.size(); ++I) {
    bool Ok = false;
    const uint Part = Texts[I].toUInt(&Ok);
    // toUInt accepts a sign and blanks; a version part is digits only.
    if (!Ok || Part > 0xFFFF || Texts[I].isEmpty() ||
        !std::all_of(Texts[I].begin(), Texts[I].end(), [](QChar C) { return C >= u'0' && C <= u'9'; }))
      return std::nullopt;
    Parts[std::size_t(I)] = std::uint16_t(Part);
  }
  return Parts;
}

TVersionNode ProgramVersionInfo(const TVersionParts &Parts, const TVersionStrings &Strings) {
  const std::uint32_t High = std::uint32_t(Parts[0]) << 16 | Parts[1];
  const std::uint32_t Low = std::uint32_t(Parts[2]) << 16 | Parts[3];
  QByteArray Fixed;
  for (std::uint32_t Value : {0xFEEF04BDu,    // signature
                              0x00010000u,    // layout version of this record
                              High, Low,      // file version
                              High, Low,      // product version
                              0x3Fu, 0u,      // flags mask, flags
                              0u, 1u, 0u,     // operating system, type (an application), subtype
                              0u, 0u})        // date
    PutDword(Fixed, Value);

  TVersionNode Table{"040904E4", {}, true, {}};
  for (const auto &[Key, Value] : Strings) Table.Children.push_back({Key, Value, true, {}});
  // Language 0x0409 (U.S. English), code page 0x04E4 (Windows Latin 1).
  const QByteArray Translation("\x09\x04\xE4\x04", 4);
  return {"VS_VERSION_INFO", Fixed, false,
          {{"StringFileInfo", {}, true, {Table}},
           {"VarFileInfo", {}, true, {{"Translation", Translation, false, {}}}}}};
}

QByteArray BuildVersionBlock(const TVersionNode &Root) {
  QByteArray Block;
  AppendNode(Block, Root);
  return Block;
}

std::optional<TFileSpan> FindElfSection(const QString &Path, const char *Name) {
  QFile File(Path);
  if (!OpenProgramFile(File)) return std::nullopt;
  return FindSection(File, Name);
}

QByteArray ReadVersionBlock(const QString &ProgramPath) {
  QFile File(ProgramPath);
  if (!OpenProgramFile(File)) return {};
  const auto Span = FindSection(File, VersionSectionName);
  if (!Span) return {};
  auto Bytes = ReadAt(File, std::uint64_t(Span->Offset),
                      std::uint64_t(std::min<std::int64_t>(Span->Size, MaxVersionBlockSize)));
  if (!Bytes || Bytes->size() < NodeHeaderSize) return {};
  // The section may be padded; the root's length says where the block ends.
  const int Length = WordAt(*Bytes, 0);
  if (Length < NodeHeaderSize || Length > Bytes->size()) return {};
  Bytes->truncate(Length);
  const auto Root = ParseNode(*Bytes, 0, Length);
  if (!Root || Root->Key != "VS_VERSION_INFO") return {};
  return *Bytes;
}

std::optional<QByteArray> QueryVersionValue(const QByteArray &Block, const QString &SubBlock) {
  if (Block.size() > MaxVersionBlockSize) return std::nullopt;
  auto Node = ParseNode(Block, 0, int(Block.size()));
  if (!Node) return std::nullopt;
  for (const QString &Key : SubBlock.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) {
    const QByteArray Wanted = Key.toLatin1();
    std::optional<TNodeView> Found;
    for (int At = Node->ChildrenBegin; At < Node->End && !Found;) {
      auto Child = ParseNode(Block, At, Node->End);
      if (!Child) return std::nullopt;
      if (Child->Key.compare(Wanted, Qt::CaseInsensitive) == 0) Found = Child;
      At = Align4(Child->End);
    }
    if (!Found) return std::nullopt;
    Node = Found;
  }
  QByteArray Value = Block.mid(Node->ValueBegin, Node->ValueLength);
  if (Node->Text) {
    const auto Zero = Value.indexOf('\0');
    if (Zero >= 0) Value.truncate(Zero);
  }
  return Value;
}
