#include "Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace quintor {
namespace {

void RegisterFontSubstitutes() {
  static const bool Done = [] {
    const QStringList StandIns = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                  QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), StandIns);
    QFont::insertSubstitutions(QStringLiteral("Arial"), StandIns);
    return true;
  }();
  (void)Done;
}

// Family, or its first installed stand-in. Asked for by a name that is
// installed, a font is found at once; a missing name makes the font system
// rank every installed face to find its nearest match.
QString InstalledFamily(const QString &Family) {
  RegisterFontSubstitutes();
  if (QFontDatabase::hasFamily(Family)) return Family;
  for (const QString &Substitute : QFont::substitutes(Family))
    if (QFontDatabase::hasFamily(Substitute)) return Substitute;
  return Family;
}

}  // namespace

QFont FormFont() {
  QFont Font(InstalledFamily(QStringLiteral("MS Sans Serif")));
  Font.setPixelSize(11);
  return Font;
}

QFont GrandTotalFont() {
  QFont Font(InstalledFamily(QStringLiteral("Arial")));
  Font.setPixelSize(24);
  Font.setBold(true);
  return Font;
}

}  // namespace quintor
