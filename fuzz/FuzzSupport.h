#pragma once

// What the fuzz targets share: a scratch folder for the files the readers
// are given, whole-file reads and writes, the splitting of one input into
// parts, and the stop that makes libFuzzer keep an input that broke a rule.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace fuzz {

// A folder of this process's own for the files the readers are given (a run
// writes many thousands), below QUINTOR_FUZZ_SCRATCH when set (scripts/fuzz.sh
// points it at memory and removes it afterwards), else the temporary folder.
inline const QString &ScratchFolder() {
  const QString Base = qEnvironmentVariable("QUINTOR_FUZZ_SCRATCH", QDir::tempPath());
  static QTemporaryDir Folder(Base + QStringLiteral("/quintor-fuzz-XXXXXX"));
  static const QString Path = Folder.path();
  if (Path.isEmpty()) std::abort();
  return Path;
}

inline void WriteFileBytes(const QString &Path, const QByteArray &Bytes) {
  QFile File(Path);
  if (!File.open(QIODevice::WriteOnly | QIODevice::Truncate) || File.write(Bytes) != Bytes.size()) std::abort();
}

inline QByteArray ReadFileBytes(const QString &Path) {
  QFile File(Path);
  return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
}

// A broken rule: says which, then aborts, so that libFuzzer saves the input.
[[noreturn]] inline void Fail(const char *Rule, const QString &Detail = QString()) {
  std::fprintf(stderr, "fuzz rule broken: %s\n%s\n", Rule, qUtf8Printable(Detail));
  std::abort();
}

// One input read front to back: single bytes, parts up to a separator byte,
// and the rest.
class TInput {
 public:
  TInput(const std::uint8_t *Data, std::size_t Size)
      : FBytes(reinterpret_cast<const char *>(Data), qsizetype(Size)) {}

  std::uint8_t Byte() { return FAt < FBytes.size() ? std::uint8_t(FBytes[FAt++]) : 0; }
  std::uint32_t Word() {
    std::uint32_t Value = 0;
    for (int I = 0; I < 4; ++I) Value = Value << 8 | Byte();
    return Value;
  }
  // Up to the next Separator (which is dropped), or the rest.
  QByteArray Part(char Separator) {
    qsizetype End = FBytes.indexOf(Separator, FAt);
    if (End < 0) End = FBytes.size();
    QByteArray Result = FBytes.mid(FAt, End - FAt);
    FAt = qMin(End + 1, FBytes.size());
    return Result;
  }
  QByteArray Rest() {
    QByteArray Result = FBytes.mid(FAt);
    FAt = FBytes.size();
    return Result;
  }

 private:
  QByteArray FBytes;
  qsizetype FAt = 0;
};

}  // namespace fuzz
