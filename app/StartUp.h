#pragma once

// The program's start-up, shared by main(), the start-up benchmark and the
// tests.

#include <QObject>
#include <functional>

#include "GameView.h"
#include "MainForm.h"

class QMessageBox;
class TAboutForm;
class TBigScoreDlg;
class TTop10Form;

namespace quintor {

class TQuintorApplication;

// Sets up the application object: title, help file, window icon, and a
// style that reads the menu bar's overflow picture only when it is drawn.
void InitApplication(TQuintorApplication &App);

// The program's four windows, living until the program ends. The main window
// is made at once; the three dialogs follow in their order (top-ten list,
// name dialog, about box) once the main window has been painted for the
// first time, one at each turn of the event loop, so that the board shows
// as early as possible. A command that needs a dialog before then makes it
// there and then, together with the dialogs before it. The dialogs belong
// to the main window; they are shown modally when needed and hidden again,
// never destroyed in between.
//
// The end of a game comes here: the forms are the game's TGameEnd, asking
// the top-ten file for the threshold, the name dialog for a qualifying
// player's name, then showing the list, or the "Game Over" box.
class TQuintorForms : public QObject, private TGameEnd {
 public:
  TQuintorForms();
  ~TQuintorForms() override;

  // Creating the main window starts the first game and seeds the dice.
  TMainForm MainForm;

  // Each makes its dialog, and the ones before it, if they do not exist yet.
  // Creating the top-ten dialog fixes the top-ten file's name.
  TTop10Form *Top10Form();
  // Loading the name dialog loads the name history.
  TBigScoreDlg *BigScoreDlg();
  // Loading the about box reads the program's file version.
  TAboutForm *AboutForm();

  // How many of the three dialogs exist so far (0 to 3).
  int DialogsCreated() const;

 protected:
  bool eventFilter(QObject *Watched, QEvent *Event) override;

 private:
  // TGameEnd, for the game and the main window's Top10! command; each makes
  // the dialogs it needs.
  int GetTenthScore() override;
  void EnterNewScore(int Total, int Quintors) override;
  void ShowTopTen() override;
  void ShowGameOver() override;

  void CreateNextDialog();

  TTop10Form *FTop10Form = nullptr;
  TBigScoreDlg *FBigScoreDlg = nullptr;
  TAboutForm *FAboutForm = nullptr;
  QMessageBox *FGameOverBox = nullptr;
  bool FPaintWatched = false;
};

// Creates the windows, shows the main window and runs the event loop until
// it closes. BeforeShow, when given, sees the main window just before it is
// shown.
int RunQuintor(TQuintorApplication &App, const std::function<void(TMainForm &)> &BeforeShow = {});

}  // namespace quintor
