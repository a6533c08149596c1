#include "StartUp.h"

#include "AboutForm.h"
#include "BigScoreDlg.h"
#include "DiceImages.h"
#include "QuintorApplication.h"
#include "Top10Form.h"

#include <QFontDatabase>
#include <thread>

namespace quintor {

void InitApplication(TQuintorApplication &App) {
  App.SetTitle(QStringLiteral("Quintor"));
  App.SetHelpFile(QStringLiteral("quintor.hlp"));
  App.setWindowIcon(QuintorEmblem());
}

TQuintorForms::TQuintorForms()
    : Top10Form(new TTop10Form(&MainForm)),
      BigScoreDlg(new TBigScoreDlg(&MainForm)),
      AboutForm(new TAboutForm(QuintorEmblem(), &MainForm)) {
  Top10Form->TopTenFile.SetBigScoreDlg(BigScoreDlg);
  MainForm.SetHighScores(Top10Form);
  MainForm.SetAboutBox(AboutForm);
}

int RunQuintor(TQuintorApplication &App, const std::function<void(TMainForm &)> &BeforeShow) {
  // Loading the font database takes a few milliseconds; it loads on another
  // thread while the windows are built, most of which needs no font yet.
  std::thread FontDatabase([] { QFontDatabase::families(); });
  InitApplication(App);
  TQuintorForms Forms;
  FontDatabase.join();
  if (BeforeShow) BeforeShow(Forms.MainForm);
  Forms.MainForm.show();
  return App.exec();
}

}  // namespace quintor
