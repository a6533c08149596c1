#include "StartUp.h"

#include "AboutForm.h"
#include "BigScoreDlg.h"
#include "DiceImages.h"
#include "QuintorApplication.h"
#include "Top10Form.h"

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
  InitApplication(App);
  TQuintorForms Forms;
  if (BeforeShow) BeforeShow(Forms.MainForm);
  Forms.MainForm.show();
  return App.exec();
}

}  // namespace quintor
