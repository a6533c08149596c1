#include "Version.h"

#include "ProgramPath.h"
#include "VersionBlock.h"

#include <algorithm>
#include <cstring>

TVersionLabel::TVersionLabel(QWidget *Owner) : QLabel(Owner) {}

QString TVersionLabel::GetVersion() {
  if (FVersion[0] == '\0') {
    // A control shows no message: any failure while reading leaves the cache
    // empty and the label says "Version " alone.
    try {
      const QByteArray Block = ReadVersionBlock(ProgramFilePath());
      if (const auto Text = QueryVersionValue(Block, QStringLiteral("\\StringFileInfo\\040904E4\\FileVersion"))) {
        const auto Length = std::min<qsizetype>(Text->size(), qsizetype(sizeof FVersion) - 1);
        std::memcpy(FVersion, Text->constData(), std::size_t(Length));
        FVersion[Length] = '\0';
      }
    } catch (...) {
    }
  }
  return QString::fromLatin1(FVersion);
}

void TVersionLabel::Loaded() {
  TJComponent::Loaded();
  setText(QStringLiteral("Version ") + GetVersion());
}
