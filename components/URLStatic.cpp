#include "URLStatic.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QUrl>

#include "ComponentAccessible.h"

TURLStatic::TURLStatic(QWidget *Owner) : QLabel(Owner) {
  setCursor(Qt::PointingHandCursor);
  QPalette Colours = palette();
  Colours.setColor(QPalette::WindowText, QColor(0, 0, 255));
  setPalette(Colours);
  // Only the face and the style are set, so the size still follows the
  // owner's font until a form gives the link a font of its own.
  QFont Face;
  Face.setFamilies({QStringLiteral("Arial")});
  Face.setBold(false);
  Face.setItalic(false);
  Face.setStrikeOut(false);
  Face.setUnderline(true);
  setFont(Face);
  setAutoFillBackground(false);
  // Reached by Tab and opened by Enter or Space as well as by a press.
  setFocusPolicy(Qt::TabFocus);
  InstallComponentAccessibility();
}

void TURLStatic::keyPressEvent(QKeyEvent *Event) {
  const int Key = Event->key();
  if (Event->modifiers() != Qt::NoModifier && Event->modifiers() != Qt::KeypadModifier)
    return QLabel::keyPressEvent(Event);
  if (Key != Qt::Key_Return && Key != Qt::Key_Enter && Key != Qt::Key_Space) return QLabel::keyPressEvent(Event);
  QDesktopServices::openUrl(QUrl(FURL));
  Event->accept();
}

void TURLStatic::paintEvent(QPaintEvent *Event) {
  QLabel::paintEvent(Event);
  if (!hasFocus()) return;
  // Only Tab gives the link the focus: the keyboard's user sees where it is.
  QStylePainter Painter(this);
  QStyleOptionFocusRect Option;
  Option.initFrom(this);
  Painter.drawPrimitive(QStyle::PE_FrameFocusRect, Option);
}

void TURLStatic::mousePressEvent(QMouseEvent *Event) {
  if (Event->button() != Qt::LeftButton) {
    QLabel::mousePressEvent(Event);
    return;
  }
  // Opened on the press, not the release; whether the desktop managed it is
  // not reported. The press is taken here, so the label and its owner see no
  // press that could start a click or a drag.
  QDesktopServices::openUrl(QUrl(FURL));
  Event->accept();
}

void TURLStatic::mouseDoubleClickEvent(QMouseEvent *Event) {
  // The second press of a double click has already come as a press of its
  // own and opened the address; the double click itself gets the label's
  // ordinary handling instead of a third request.
  QLabel::mousePressEvent(Event);
}
