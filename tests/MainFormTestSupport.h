#pragma once

// The main window as the tests drive it: shown and active with "Animation"
// off, its controls found by name, the boxes of the score card reached by
// column and entry row, the modal boxes answered, and the test program's
// main(), which needs the program's own application object.

#include <QtTest>
#include <QtWidgets>
#include <memory>

#include "MainForm.h"
#include "QuintorApplication.h"
#include "ScoreGrid.h"
#include "StartUp.h"
#include "TestSupport.h"

struct TMainFormDriver {
  std::unique_ptr<TMainForm> Form;

  // A new window in place of the last; false if it never became active.
  bool OpenForm() {
    Form = std::make_unique<TMainForm>();
    Child<QCheckBox>("AnimationCheckbox")->setChecked(false);
    Form->show();
    return QTest::qWaitForWindowActive(Form.get());
  }

  template <typename T> T *Child(const char *Name) const { return ::Child<T>(Form.get(), Name); }
  QToolButton *Die(int I) const { return Child<QToolButton>(qPrintable(QStringLiteral("SpeedButton%1").arg(I + 1))); }

  // Boxes by column and entry row, where the window puts them.
  static int GridRow(int EntryRow) { return TMainForm::BoxGridRow(EntryRow); }
  quintor::TScoreGrid *GridOf(int EntryRow) const { return Form->BoxGrid(EntryRow); }
  QPoint BoxPoint(int Col, int EntryRow) const {
    return GridOf(EntryRow)->CellRect(Col, GridRow(EntryRow)).center() + GridOf(EntryRow)->ClientOrigin();
  }
  QString BoxText(int Col, int EntryRow) const { return GridOf(EntryRow)->Cell(Col, GridRow(EntryRow)); }
  void MoveTo(int Col, int EntryRow) const { QTest::mouseMove(GridOf(EntryRow), BoxPoint(Col, EntryRow)); }
  void Press(int Col, int EntryRow) const {
    MoveTo(Col, EntryRow);
    QTest::mouseClick(GridOf(EntryRow), Qt::LeftButton, {}, BoxPoint(Col, EntryRow));
  }
  // Complete when the click returns, unless the test ticks "Animation".
  void RollDice() const { QTest::mouseClick(Child<QPushButton>("RollButton"), Qt::LeftButton); }
};

#define QUINTOR_MAINFORM_TEST_MAIN(TestClass)           \
  int main(int argc, char *argv[]) {                    \
    quintor::TQuintorApplication App(argc, argv);       \
    quintor::InitApplication(App);                      \
    TestClass Test;                                     \
    return QTest::qExec(&Test, argc, argv);             \
  }
