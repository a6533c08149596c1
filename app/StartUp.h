#pragma once

// The program's start-up, shared by main(), the start-up benchmark and the
// tests.

#include <functional>

#include "MainForm.h"

class TAboutForm;
class TBigScoreDlg;
class TTop10Form;

namespace quintor {

class TQuintorApplication;

// Sets up the application object: title, help file, window icon.
void InitApplication(TQuintorApplication &App);

// The program's four windows, created in this order and living until the
// program ends. The dialogs belong to the main window; they are shown
// modally when needed and hidden again, never destroyed in between.
struct TQuintorForms {
  TQuintorForms();

  // Creating the main window starts the first game and seeds the dice.
  TMainForm MainForm;
  // Creating the top-ten dialog fixes the top-ten file's name.
  TTop10Form *Top10Form = nullptr;
  // Loading the name dialog loads the name history.
  TBigScoreDlg *BigScoreDlg = nullptr;
  // Loading the about box reads the program's file version.
  TAboutForm *AboutForm = nullptr;
};

// Creates the windows, shows the main window and runs the event loop until
// it closes. BeforeShow, when given, sees the main window just before it is
// shown.
int RunQuintor(TQuintorApplication &App, const std::function<void(TMainForm &)> &BeforeShow = {});

}  // namespace quintor
