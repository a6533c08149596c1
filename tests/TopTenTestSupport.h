#pragma once

// Helpers of the top-ten tests: a folder of the test's own for the program
// and its list, a file's bytes, the files beside it, and the text of a
// raised error.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <stdexcept>

inline const QByteArray NoFile("\0none", 5);  // not even an empty file

// The program's path in a fresh folder, and its top-ten file beside it.
struct TTopTenFolder {
  QTemporaryDir Dir;
  QString Program = Dir.filePath("quintor"), Path = Program + ".tps";
};

inline QByteArray Slurp(const QString &Path) {
  QFile F(Path);
  return F.open(QIODevice::ReadOnly) ? F.readAll() : NoFile;
}

inline bool Spit(const QString &Path, const QByteArray &Data) {  // NoFile removes it
  QFile::remove(Path);
  QFile F(Path);
  return Data == NoFile || (F.open(QIODevice::WriteOnly) && F.write(Data) == Data.size());
}

// The files in Folder whose names begin with Name (temporaries, locks).
inline QStringList FilesOf(const QString &Folder, const QString &Name) {
  return QDir(Folder).entryList({Name + "*"}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The text of the error Call raises; empty when it raises none.
template <class F> QString ErrorOf(F Call) try {
  Call();
  return {};
} catch (const std::exception &E) {
  return QString::fromUtf8(E.what());
}
