#pragma once

// Small ELF program files with chosen sections, for handing the version
// lookup files with and without a version block.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <vector>

struct TElfSection {
  QByteArray Name;
  QByteArray Data;
  quint32 Type = 1;  // 1: contents in the file; 8: none (zero-filled at run time)
};

inline QByteArray MakeElf(const std::vector<TElfSection> &Sections, bool Is64 = true, bool BigEndian = false) {
  auto Put = [BigEndian](QByteArray &Bytes, int At, quint64 Value, int Size) {
    for (int I = 0; I < Size; ++I) Bytes[At + (BigEndian ? Size - 1 - I : I)] = char((Value >> (8 * I)) & 0xFF);
  };
  const int Word = Is64 ? 8 : 4, Entry = Is64 ? 64 : 40;
  QByteArray Out(Is64 ? 64 : 52, '\0');
  QByteArray Names(1, '\0');
  struct TPlaced { quint64 Name, Type, Offset, Size; };
  std::vector<TPlaced> Placed;
  for (const TElfSection &Section : Sections) {
    while (Out.size() % 4) Out.append('\0');
    Placed.push_back({quint64(Names.size()), Section.Type, quint64(Out.size()), quint64(Section.Data.size())});
    Names += Section.Name + '\0';
    if (Section.Type != 8) Out += Section.Data;
  }
  Placed.push_back({quint64(Names.size()), 3, quint64(Out.size()), 0});
  Names += QByteArray(".shstrtab") + '\0';
  Placed.back().Size = quint64(Names.size());
  Out += Names;
  while (Out.size() % 8) Out.append('\0');
  const int TableAt = int(Out.size());
  Out += QByteArray(Entry * int(Placed.size() + 1), '\0');
  for (std::size_t I = 0; I < Placed.size(); ++I) {
    const int At = TableAt + Entry * int(I + 1);
    Put(Out, At, Placed[I].Name, 4);
    Put(Out, At + 4, Placed[I].Type, 4);
    Put(Out, At + (Is64 ? 0x18 : 0x10), Placed[I].Offset, Word);
    Put(Out, At + (Is64 ? 0x20 : 0x14), Placed[I].Size, Word);
  }
  Out.replace(0, 7, QByteArray("\x7f" "ELF") + char(Is64 ? 2 : 1) + char(BigEndian ? 2 : 1) + char(1));
  Put(Out, 16, 2, 2);  // an executable
  Put(Out, 20, 1, 4);
  Put(Out, Is64 ? 0x28 : 0x20, quint64(TableAt), Word);
  Put(Out, Is64 ? 0x34 : 0x28, quint64(Is64 ? 64 : 52), 2);
  Put(Out, Is64 ? 0x3A : 0x2E, quint64(Entry), 2);
  Put(Out, Is64 ? 0x3C : 0x30, Placed.size() + 1, 2);
  Put(Out, Is64 ? 0x3E : 0x32, Placed.size(), 2);
  return Out;
}

inline bool WriteBytes(const QString &Path, const QByteArray &Bytes) {
  QFile File(Path);
  return File.open(QIODevice::WriteOnly | QIODevice::Truncate) && File.write(Bytes) == Bytes.size();
}
