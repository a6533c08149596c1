#pragma once

#include <QDialog>
#include <memory>

#include "TopTenFile.h"

namespace Ui {
class TTop10Form;
}

// The list of the ten best games, read from the top-ten file each time the
// dialog is shown, with a button that wipes the list after a question. The
// dialog owns the one top-ten file object, and the game end reaches the
// list through it.
class TTop10Form : public QDialog {
  Q_OBJECT
 public:
  // The list beside the running program.
  explicit TTop10Form(QWidget *Parent = nullptr);
  // The list beside ProgramPath.
  explicit TTop10Form(const QString &ProgramPath, QWidget *Parent = nullptr);
  ~TTop10Form() override;

  TTopTenFile TopTenFile;

  void FormShow();
  void FormHide();
  void ResetScoresClick();

 protected:
  void showEvent(QShowEvent *Event) override;
  void hideEvent(QHideEvent *Event) override;

 private:
  void SetUp();

  std::unique_ptr<Ui::TTop10Form> Ui;
};
