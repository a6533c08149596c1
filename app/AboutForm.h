#pragma once

#include <QColor>
#include <QDialog>
#include <memory>

class QPixmap;

namespace Ui {
class AboutForm;
}

// The about box: the game's name and emblem, the program's file version, the
// notice line and a link to the maker's home page, with one OK button. It is
// made once at start-up, which is when the version is read, and shown
// modally as often as asked, centred on the main window's screen; Escape
// leaves it open. Under a dark palette the link takes the palette's link
// colour, made readable on the box.
class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(const QPixmap &Emblem, QWidget *Parent = nullptr);
  ~TAboutForm() override;

  void setVisible(bool Visible) override;

 protected:
  void changeEvent(QEvent *Event) override;

 private:
  void ShowLinkColor();

  std::unique_ptr<Ui::AboutForm> Ui;
  QColor FOwnLinkColor;  // the link's own blue, for a light palette
};
