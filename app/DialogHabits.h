#pragma once

// The habits the game's windows share: where a window opens, and a dialog
// that no key closes.

class QDialog;
class QPixmap;
class QScreen;
class QWidget;

namespace quintor {

// Moves Window so that its frame stands in the middle of the available area
// of Screen, or of the window's own screen when Screen is null.
void CentreOnScreen(QWidget &Window, QScreen *Screen = nullptr);

// Escape leaves Dialog open, for a dialog with no button that cancels it;
// its close box, where it has one, still closes it. (A dialog that must not
// close at all overrides reject() instead, which stops the close box too.)
void KeepOpenOnEscape(QDialog &Dialog);

// The program's icon for a form's picture: the application's, or a standard
// one while the application has none.
QPixmap ProgramIconPixmap(const QWidget *Form, int Size);

}  // namespace quintor
