#pragma once

#include <QDialog>

#include "ui_BigScoreDlg.h"

// Asks a new top-ten player's name, offering the names typed before. There
// is no way out but OK: no close box, and Escape does nothing.
class TBigScoreDlg : public QDialog, public Ui::TBigScoreDlg {
  Q_OBJECT
 public:
  explicit TBigScoreDlg(QWidget *Parent = nullptr);

  // The dialog has lost activation: after OK, the typed name joins the
  // history and the history is saved.
  void FormDeactivate();

  // Escape and the window manager's close both end up here; doing nothing
  // keeps the modal loop running.
  void reject() override {}

 protected:
  void showEvent(QShowEvent *Event) override;
  void hideEvent(QHideEvent *Event) override;
};
