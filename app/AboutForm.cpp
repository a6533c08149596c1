#include "AboutForm.h"

#include "Component.h"
#include "Desktop.h"
#include "URLStatic.h"
#include "ui_AboutForm.h"

#include <QKeyEvent>
#include <QPixmap>
#include <QScreen>

TAboutForm::TAboutForm(const QPixmap &Emblem, QWidget *Parent)
    : QDialog(Parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  Ui::AboutForm Layout;
  Layout.setupUi(this);
  TitleLabel = Layout.TitleLabel;
  Image1 = Layout.Image1;
  Label1 = Layout.Label1;
  URLStatic1 = Layout.URLStatic1;
  VersionLabel1 = Layout.VersionLabel1;
  Button1 = Layout.Button1;

  // The box is laid out in pixels, so its text is sized in pixels too (8
  // point at 96 dots per inch); a screen with more dots per inch must not push
  // the words out of their fixed places.
  for (QWidget *Owner : {static_cast<QWidget *>(this), static_cast<QWidget *>(URLStatic1)}) {
    QFont Face = Owner->font();
    Face.setPixelSize(11);
    Owner->setFont(Face);
  }
  setFixedSize(272, 130);

  FOwnLinkColor = URLStatic1->palette().color(QPalette::WindowText);
  ShowLinkColor();
  Image1->setPixmap(Emblem);
  Image1->resize(Emblem.deviceIndependentSize().toSize());

  LoadComponents(this);
}

void TAboutForm::setVisible(bool Visible) {
  // Centred on the screen each time it opens (the main window may have moved
  // to another screen in between), not over the main window.
  if (Visible && !isVisible()) {
    QWidget *Main = parentWidget() ? parentWidget()->window() : nullptr;
    if (QScreen *Screen = Main ? Main->screen() : screen()) {
      const QRect Area = Screen->availableGeometry();
      move(Area.center() - QPoint(width() / 2, height() / 2));
    }
  }
  QDialog::setVisible(Visible);
}

void TAboutForm::keyPressEvent(QKeyEvent *Event) {
  // No button of the box cancels it, so Escape leaves it open.
  if (Event->matches(QKeySequence::Cancel)) {
    Event->accept();
    return;
  }
  QDialog::keyPressEvent(Event);
}

void TAboutForm::changeEvent(QEvent *Event) {
  if (Event->type() == QEvent::PaletteChange) ShowLinkColor();
  QDialog::changeEvent(Event);
}

void TAboutForm::ShowLinkColor() {
  QPalette Colours = URLStatic1->palette();
  const QColor Wanted = quintor::LinkColor(palette(), FOwnLinkColor);
  if (Colours.color(QPalette::WindowText) == Wanted) return;
  Colours.setColor(QPalette::WindowText, Wanted);
  URLStatic1->setPalette(Colours);
}
