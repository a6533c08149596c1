#include "BigScoreDlg.h"

#include <QShowEvent>

#include "Component.h"
#include "DialogHabits.h"
#include "JError.h"
#include "ui_BigScoreDlg.h"

TBigScoreDlg::TBigScoreDlg(QWidget *Parent) : QDialog(Parent), Ui(std::make_unique<Ui::TBigScoreDlg>()) {
  Ui->setupUi(this);
  LoadComponents(this);
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                 Qt::WindowTitleHint);
  setFixedSize(296, 140);
}

TBigScoreDlg::~TBigScoreDlg() = default;

std::optional<QString> TBigScoreDlg::AskName(int Place) {
  Ui->Message->setText(QStringLiteral("You are number ") + QString::number(Place) +
                       QStringLiteral(" on the Top Ten List. Please type your name:"));
  if (exec() != Accepted) return std::nullopt;
  return Ui->MRUCombo1->currentText();
}

void TBigScoreDlg::showEvent(QShowEvent *Event) {
  QDialog::showEvent(Event);
  if (Event->spontaneous()) return;
  Ui->Image1->setPixmap(quintor::ProgramIconPixmap(this, 32));
  quintor::CentreOnScreen(*this);
  Ui->MRUCombo1->setFocus();
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
  Ui->MRUCombo1->UpdateList();
}
