#pragma once

// The game at home on today's desktops: colours that stay readable under
// any palette, light or dark, and message boxes wide enough for their title.
//
// Readability is measured as the contrast ratio of the web's accessibility
// guidelines (WCAG 2): 1 for equal colours up to 21 for black on white; text
// and pips want 4.5, lines and marks 3. The game's own colours were chosen
// for a light button face and stay exactly as they are under a light
// palette; under a dark one each colour that would vanish is taken from the
// palette's own roles, or lightened just enough.
//
//   Painter.fillRect(Lines, GridLineColor(palette()));
//   if (ContrastRatio(Ink, Face) < MinTextContrast) ...

#include <QColor>
#include <QPalette>

class QMessageBox;

namespace quintor {

constexpr qreal MinTextContrast = 4.5;  // text and pips
constexpr qreal MinMarkContrast = 3.0;  // lines, frames, the held look

// The relative luminance of a colour, 0 (black) to 1 (white).
qreal RelativeLuminance(const QColor &Color);
// (lighter + 0.05) / (darker + 0.05), 1 to 21.
qreal ContrastRatio(const QColor &A, const QColor &B);

// Whether the palette is dark: its window text lighter than its window.
bool IsDarkPalette(const QPalette &Palette);

// Wanted, or, where it shows less than MinRatio against Background, Wanted
// blended towards white or black (whichever stands out more there) just far
// enough to reach it.
QColor Readable(const QColor &Wanted, const QColor &Background, qreal MinRatio);

// The ink of the plain dice, which show the button face through: the pips'
// rim and core and the question mark's grey (its light and dark edges stay).
// The default is the game's own, for a light face.
struct TDieInk {
  QColor Rim{0, 0, 128};
  QColor Core{16, 16, 24};
  QColor Mark{128, 128, 128};
  bool operator==(const TDieInk &) const = default;
};
TDieInk PlainDieInk(const QPalette &Palette);

// The score card's grid lines, between cells in the button colour.
QColor GridLineColor(const QPalette &Palette);
// The score card's text on a cell in the button colour.
QColor GridTextColor(const QPalette &Palette);
// A link on the palette's window: Own under a light palette, else the
// palette's link colour made readable.
QColor LinkColor(const QPalette &Palette, const QColor &Own);
// The ring around a held die's face, two lines: the outer one stands out
// from the button colour, the inner one from the lightest face of the colour
// set (it is the outer one again unless that is light too).
struct THeldRing {
  QColor Outer, Inner;
};
THeldRing HeldRingColors(const QPalette &Palette, const QColor &LightestFace);

// Widens a message box so that a window manager's title bar has room for
// its title beside its buttons.
void FitTitle(QMessageBox &Box);

}  // namespace quintor
