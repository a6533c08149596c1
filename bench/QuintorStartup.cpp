// The game's own start-up, with the first-paint probe on its main window.

#include "FirstPaintProbe.h"
#include "MainForm.h"
#include "QuintorApplication.h"
#include "StartUp.h"

int main(int argc, char *argv[]) {
  quintor::TQuintorApplication App(argc, argv);
  return quintor::RunQuintor(App, [](TMainForm &MainForm) { InstallFirstPaintProbe(&MainForm); });
}
