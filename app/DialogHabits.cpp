#include "DialogHabits.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QScreen>
#include <QStyle>

namespace quintor {
namespace {

// Takes the Escape the dialog would cancel itself on, whichever of its
// controls had the focus and passed the key on.
class TEscapeFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject *Watched, QEvent *Event) override {
    if (Event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(Event)->matches(QKeySequence::Cancel)) {
      Event->accept();
      return true;
    }
    return QObject::eventFilter(Watched, Event);
  }
};

}  // namespace

void CentreOnScreen(QWidget &Window, QScreen *Screen) {
  if (!Screen) Screen = Window.screen();
  if (!Screen) return;
  QRect Frame = Window.frameGeometry();
  Frame.moveCenter(Screen->availableGeometry().center());
  Window.move(Frame.topLeft());
}

void KeepOpenOnEscape(QDialog &Dialog) { Dialog.installEventFilter(new TEscapeFilter(&Dialog)); }

QPixmap ProgramIconPixmap(const QWidget *Form, int Size) {
  QIcon Icon = QApplication::windowIcon();
  if (Icon.isNull()) Icon = Form->style()->standardIcon(QStyle::SP_ComputerIcon);
  return Icon.pixmap(Size, Size);
}

}  // namespace quintor
