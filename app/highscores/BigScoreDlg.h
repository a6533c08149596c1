#pragma once

#include <QDialog>
#include <memory>
#include <optional>

namespace Ui {
class TBigScoreDlg;
}

// Asks a new top-ten player's name, offering the names typed before. There
// is no way out but OK: no close box, and Escape does nothing.
class TBigScoreDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TBigScoreDlg(QWidget *Parent = nullptr);
  ~TBigScoreDlg() override;

  // Announces Place ("You are number 3 on the Top Ten List. ..."), waits
  // for OK and gives the name in the box exactly as typed (maybe empty);
  // nothing when the dialog was ended some other way (done() by a program).
  std::optional<QString> AskName(int Place);

  // The dialog has lost activation: after OK, the typed name joins the
  // history and the history is saved.
  void FormDeactivate();

  // Escape and the window manager's close both end up here; doing nothing
  // keeps the modal loop running.
  void reject() override {}

 protected:
  void showEvent(QShowEvent *Event) override;
  void hideEvent(QHideEvent *Event) override;

 private:
  std::unique_ptr<Ui::TBigScoreDlg> Ui;
};
