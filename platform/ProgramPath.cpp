#include "ProgramPath.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {
QString &OverridePath() {
  static QString Path;
  return Path;
}
}  // namespace

QString ProgramFilePath() {
  if (!OverridePath().isEmpty()) return OverridePath();
  QString Path = QCoreApplication::applicationFilePath();
  if (Path.isEmpty()) Path = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
  return Path;
}

void SetProgramFilePathForTesting(const QString &Path) { OverridePath() = Path; }
