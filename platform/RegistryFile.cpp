#include "RegistryFile.h"

#include "FileLock.h"
#include "PosixFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString &FolderOverride() {
  static QString Folder;
  return Folder;
}

using posixfile::TRead;

}  // namespace

QString RegistryStoreFile(TRegistryRoot Root) {
  const QString FileName = RegistryRootName(Root) + QLatin1String(".reg");
  if (!FolderOverride().isEmpty()) return FolderOverride() + u'/' + FileName;
  if (Root != TRegistryRoot::CurrentUser) return QLatin1String("/etc/jstore/") + FileName;
  const QString Config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  if (Config.isEmpty()) return {};
  return Config + QLatin1String("/jstore/") + FileName;
}

void SetRegistryFolder(const QString &Folder) { FolderOverride() = Folder; }

TRegistryFile::TRegistryFile(TRegistryRoot Root, const QString &FilePath) : FRoot(Root), FFilePath(FilePath) {}

TRegistryTree TRegistryFile::Read() const {
  QByteArray Bytes;
  if (FFilePath.isEmpty() || posixfile::ReadRegularFile(FFilePath, Bytes) != TRead::Ok) return {};
  auto Tree = TRegistryTree::Parse(Bytes, FRoot);
  return Tree ? std::move(*Tree) : TRegistryTree();
}

bool TRegistryFile::CanWrite() const {
  if (FFilePath.isEmpty()) return false;
  const QString Folder = QFileInfo(FFilePath).absolutePath();
  return QDir().mkpath(Folder) && QFileInfo(Folder).isWritable();
}

bool TRegistryFile::Apply(const std::vector<TRegistryChange> &Changes, TRegistryTree *Result) {
  QString Why;
  if (Write(Changes, Result, Why)) return true;
  qCWarning(lcFiles, "changes to %s were not saved: %s", qUtf8Printable(FFilePath), qUtf8Printable(Why));
  return false;
}

bool TRegistryFile::Write(const std::vector<TRegistryChange> &Changes, TRegistryTree *Result, QString &Why) {
  if (!CanWrite()) {
    Why = QStringLiteral("its folder cannot be written");
    return false;
  }
  const QString File = posixfile::CanonicalName(FFilePath);
  TFileLock Lock(File);
  if (!Lock.Take(Why)) return false;

  QByteArray Old;
  if (const TRead Got = posixfile::ReadRegularFile(File, Old); Got == TRead::NotAFile || Got == TRead::Failed) {
    Why = Got == TRead::NotAFile ? QStringLiteral("it is not a file") : QStringLiteral("it cannot be read");
    return false;
  }
  QString Error;
  std::optional<TRegistryTree> Tree = TRegistryTree::Parse(Old, FRoot, &Error);
  if (!Tree) {
    // Never write over what we cannot read: a person may still repair it.
    QString Aside = File + QLatin1String(".corrupt");
    for (int N = 1; QFileInfo::exists(Aside); ++N) Aside = File + QLatin1String(".corrupt.") + QString::number(N);
    if (posixfile::IsReadOnly(QFile::encodeName(File)) || !QFile::rename(File, Aside)) {
      Why = QStringLiteral("it cannot be read (%1) and cannot be set aside").arg(Error);
      return false;
    }
    qCWarning(lcFiles, "%s cannot be read (%s); it was set aside as %s", qUtf8Printable(File), qUtf8Printable(Error),
              qUtf8Printable(Aside));
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
  if (New != Before && !posixfile::ReplaceFile(File, New, Why)) return false;
  if (Result) *Result = std::move(*Tree);
  return true;
}
