#pragma once

#include <QDialog>

#include "HighScores.h"
#include "TopTenFile.h"
#include "ui_Top10Form.h"

// The list of the ten best games, read from the top-ten file each time the
// dialog is shown, with a button that wipes the list after a question. The
// dialog owns the one top-ten file object, and the main window reaches the
// high scores through it.
class TTop10Form : public QDialog, public Ui::TTop10Form, public THighScores {
  Q_OBJECT
 public:
  // The list beside the running program.
  explicit TTop10Form(QWidget *Parent = nullptr);
  // The list beside ProgramPath.
  explicit TTop10Form(const QString &ProgramPath, QWidget *Parent = nullptr);

  TTopTenFile TopTenFile;

  int GetTenthScore() override { return TopTenFile.GetTenthScore(); }
  void EnterNewScore(int Total, int Quintors) override { TopTenFile.EnterNewScore(Total, Quintors); }
  void ShowList() override { exec(); }

  void FormShow();
  void FormHide();
  void ResetScoresClick();

 protected:
  void showEvent(QShowEvent *Event) override;
  void hideEvent(QHideEvent *Event) override;
  void keyPressEvent(QKeyEvent *Event) override;

 private:
  void SetUp();
};

// The program's icon for a form's picture: the application's, or a standard
// one while the application has none.
QPixmap ProgramIconPixmap(const QWidget *Form, int Size);
