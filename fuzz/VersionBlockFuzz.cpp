// The version-block reader on any bytes, both as a block and as a program
// file: every query returns, a value found lies inside the block, and a
// block read from a file is one the queries accept at its root.
//
// Input: a query path, 0x01, the bytes.

#include "FuzzSupport.h"
#include "VersionBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *Data, std::size_t Size) {
  fuzz::TInput Input(Data, Size);
  const QString Path = QString::fromLatin1(Input.Part('\x01'));
  const QByteArray Bytes = Input.Rest();

  for (const QString &Query : {Path, QStringLiteral("\\"), QStringLiteral("\\StringFileInfo\\040904E4\\FileVersion"),
                               QStringLiteral("\\VarFileInfo\\Translation")})
    if (const auto Value = QueryVersionValue(Bytes, Query); Value && Value->size() > Bytes.size())
      fuzz::Fail("a value longer than its block");

  const QString File = fuzz::ScratchFolder() + QStringLiteral("/program");
  fuzz::WriteFileBytes(File, Bytes);
  if (const auto Span = FindElfSection(File, VersionSectionName)) {
    if (Span->Offset < 0 || Span->Size < 0 || Span->Offset + Span->Size > Bytes.size())
      fuzz::Fail("a section outside the file");
  }
  const QByteArray Block = ReadVersionBlock(File);
  if (Block.size() > MaxVersionBlockSize) fuzz::Fail("a block longer than a block can be");
  if (!Block.isEmpty() && !QueryVersionValue(Block, QStringLiteral("\\"))) fuzz::Fail("a block read that its root refuses");
  if (!Block.isEmpty()) (void)QueryVersionValue(Block, Path);
  return 0;
}
