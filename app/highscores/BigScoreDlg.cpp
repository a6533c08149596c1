#include "BigScoreDlg.h"

#include <QScreen>
#include <QShowEvent>

#include "Component.h"
#include "JError.h"
#include "Top10Form.h"

TBigScoreDlg::TBigScoreDlg(QWidget *Parent) : QDialog(Parent) {
  setupUi(this);
  LoadComponents(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setFixedSize(296, 140);
}

void TBigScoreDlg::showEvent(QShowEvent *Event) {
  QDialog::showEvent(Event);
  if (Event->spontaneous()) return;
  Image1->setPixmap(ProgramIconPixmap(this, 32));
  if (const QScreen *Screen = screen()) {
    QRect Frame = frameGeometry();
    Frame.moveCenter(Screen->availableGeometry().center());
    move(Frame.topLeft());
  }
  MRUCombo1->setFocus();
}

// Losing activation follows the hide that ends the modal loop; the window
// system's activation messages are not dependable (an offscreen or remote
// display may send none), so the hide itself is the signal. The result is
// already set by then, and the caller reads the name only afterwards.
void TBigScoreDlg::hideEvent(QHideEvent *Event) {
  QDialog::hideEvent(Event);
  if (Event->spontaneous()) return;
  try {
    FormDeactivate();
  } catch (const std::exception &Error) {
    // An error must not unwind through the toolkit's hide; it is raised
    // again from the event loop, where the application's handler shows it.
    const std::string Message = Error.what();
    QMetaObject::invokeMethod(
        this, [Message] { throw EJError(Message); }, Qt::QueuedConnection);
  }
}

void TBigScoreDlg::FormDeactivate() {
  if (result() != Accepted) return;
  MRUCombo1->UpdateList();
}
