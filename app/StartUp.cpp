#include "StartUp.h"

#include "DiceImages.h"
#include "MainForm.h"
#include "QuintorApplication.h"

namespace quintor {

void InitApplication(TQuintorApplication &App) {
  App.SetTitle(QStringLiteral("Quintor"));
  App.SetHelpFile(QStringLiteral("quintor.hlp"));
  App.setWindowIcon(QuintorEmblem());
}

int RunQuintor(TQuintorApplication &App, const std::function<void(TMainForm &)> &BeforeShow) {
  InitApplication(App);

  // The main window first: creating it starts the first game, seeds the dice
  // and switches tooltips on.
  TMainForm MainForm;

  // ---- The other windows, in this order, each living until the program ends:
  // ---- the top-ten dialog, the new-high-score dialog, the about box; then
  // ---- MainForm.SetHighScores(...) and MainForm.SetAboutBox(...).

  if (BeforeShow) BeforeShow(MainForm);
  MainForm.show();
  return App.exec();
}

}  // namespace quintor
