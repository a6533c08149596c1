#include "AboutForm.h"

#include "Component.h"
#include "Desktop.h"
#include "DialogHabits.h"
#include "URLStatic.h"
#include "ui_AboutForm.h"

#include <QPixmap>

TAboutForm::TAboutForm(const QPixmap &Emblem, QWidget *Parent)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      Ui(std::make_unique<Ui::AboutForm>()) {
  Ui->setupUi(this);
  // No button of the box cancels it.
  quintor::KeepOpenOnEscape(*this);

  // The box is laid out in pixels, so its text is sized in pixels too (8
  // point at 96 dots per inch); a screen with more dots per inch must not push
  // the words out of their fixed places.
  for (QWidget *Owner : {static_cast<QWidget *>(this), static_cast<QWidget *>(Ui->URLStatic1)}) {
    QFont Face = Owner->font();
    Face.setPixelSize(11);
    Owner->setFont(Face);
  }
  setFixedSize(272, 130);

  FOwnLinkColor = Ui->URLStatic1->palette().color(QPalette::WindowText);
  ShowLinkColor();
  Ui->Image1->setPixmap(Emblem);
  Ui->Image1->resize(Emblem.deviceIndependentSize().toSize());

  LoadComponents(this);
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::setVisible(bool Visible) {
  // Centred on the screen each time it opens (the main window may have moved
  // to another screen in between), not over the main window.
  if (Visible && !isVisible()) {
    QWidget *Main = parentWidget() ? parentWidget()->window() : nullptr;
    quintor::CentreOnScreen(*this, Main ? Main->screen() : nullptr);
  }
  QDialog::setVisible(Visible);
  // OK has the focus, so that Enter closes the box; Tab goes on to the link.
  if (Visible) Ui->Button1->setFocus(Qt::OtherFocusReason);
}

void TAboutForm::changeEvent(QEvent *Event) {
  if (Event->type() == QEvent::PaletteChange) ShowLinkColor();
  QDialog::changeEvent(Event);
}

void TAboutForm::ShowLinkColor() {
  QPalette Colours = Ui->URLStatic1->palette();
  const QColor Wanted = quintor::LinkColor(palette(), FOwnLinkColor);
  if (Colours.color(QPalette::WindowText) == Wanted) return;
  Colours.setColor(QPalette::WindowText, Wanted);
  Ui->URLStatic1->setPalette(Colours);
}
