#pragma once

#include <QColor>
#include <QDialog>

class QLabel;
class QPixmap;
class QPushButton;
class TURLStatic;
class TVersionLabel;

// The about box: the game's name and emblem, the program's file version, the
// notice line and a link to the maker's home page, with one OK button. It is
// made once at start-up, which is when the version is read, and shown
// modally as often as asked. Under a dark palette the link takes the
// palette's link colour, made readable on the box.
class TAboutForm : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(const QPixmap &Emblem, QWidget *Parent = nullptr);

  // The controls in the order they are made (later ones lie above earlier ones).
  QLabel *TitleLabel = nullptr;
  QLabel *Image1 = nullptr;
  QLabel *Label1 = nullptr;
  TURLStatic *URLStatic1 = nullptr;
  TVersionLabel *VersionLabel1 = nullptr;
  QPushButton *Button1 = nullptr;

  void setVisible(bool Visible) override;

 protected:
  void keyPressEvent(QKeyEvent *Event) override;
  void changeEvent(QEvent *Event) override;

 private:
  void ShowLinkColor();
  QColor FOwnLinkColor;  // the link's own blue, for a light palette
};
