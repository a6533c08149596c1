#pragma once

// The pictures of the dice: two sets of seven 32 x 32 faces, indexed by die
// value (0 to 5 for the faces 1 to 6, 6 for a die not thrown this turn).
// The faces are drawn, not scaled, so they stay crisp at any device pixel
// ratio.

#include <QColor>
#include <QIcon>
#include <QPixmap>

#include "Desktop.h"

namespace quintor {

constexpr int DieFaceSize = 32;
constexpr int DieFaceCount = 7;

enum class TDiceSet { dsColor, dsPlain };

// The background of a face in the colour set.
QColor DieFaceColor(int Value);

// The face of Value in the given set, DieFaceSize logical pixels square,
// drawn at DevicePixelRatio device pixels per logical pixel. Out-of-range
// values give the not-thrown face. The plain set is drawn in Ink; the colour
// set's faces are light under any palette and keep their own.
QPixmap DieFace(int Value, TDiceSet Set, qreal DevicePixelRatio = 1.0, const TDieInk &Ink = {});

// An icon that draws the face on demand at whatever size and pixel ratio it
// is shown, and greys it in the style's way when disabled. The plain set
// takes its ink from the application's palette at the time it is drawn.
QIcon DieIcon(int Value, TDiceSet Set);

}  // namespace quintor

// The game's emblem: the window icon, the main window's picture, and the
// picture the about box and the dialogs show.
QPixmap QuintorEmblem();
