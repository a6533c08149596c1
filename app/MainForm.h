#pragma once

// The main window and the whole game board: the dice panel, the score card
// with its totals, the two options and the menu. It owns the game for the
// life of the process, turns presses and commands into game operations and
// shows whatever the game reports through TGameView. The end of a game, and
// the Top10! command, go to the TGameEnd plugged in (the start-up's forms);
// until one is, a finished game just stays finished.
//
// The whole game can be played from the keyboard: focus goes to Roll! at
// the start of a turn and to the score card when Roll! is disabled; the keys
// 1 to 5 hold and release the dice; on the score card a cursor moves among
// the open boxes and Enter or Space enters the throw. A screen reader reads
// and says the game through TGameReader (Accessibility.h).

#include <QDialog>
#include <QIcon>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>
#include <array>
#include <functional>
#include <memory>

#include "CardCursor.h"
#include "DiceImages.h"
#include "Game.h"
#include "ScorePreview.h"

class QLabel;
class QTimer;
class QToolButton;

namespace Ui {
class TMainForm;
}

namespace quintor {
class TGameReader;
class TScoreGrid;
}

class TMainForm : public QMainWindow, public quintor::TGameView {
  Q_OBJECT
  // The roll animation's tick in milliseconds; tests shorten or stop it.
  Q_PROPERTY(int FlashInterval READ GetFlashInterval WRITE SetFlashInterval)

 public:
  static constexpr int DefaultFlashInterval = 50;

  explicit TMainForm(QWidget *Parent = nullptr);
  ~TMainForm() override;

  // The game end and the about box are not owned; until they are set the
  // Top10! and about commands do nothing. The about box may also come from a
  // source asked each time it is needed, which may make it then.
  void SetGameEnd(quintor::TGameEnd *End) { FGame.SetEnd(End); }
  void SetAboutBox(QDialog *AboutBox) { FAboutBox = AboutBox; }
  void SetAboutBox(std::function<QDialog *()> Source) { FAboutBoxSource = std::move(Source); }

  int GetFlashInterval() const;
  void SetFlashInterval(int Milliseconds);

  quintor::TGame &Game() { return FGame; }
  // The face a die button shows (6 for the question mark), which differs
  // from the game's value between an entry and the next roll.
  int ShownDie(int Index) const { return FShownDice.at(Index); }
  int GetPreviewRow() const { return FPreview.Row(); }  // -1: no preview box
  int GetPreviewCol() const { return FPreview.Col(); }
  // The box under the score card's cursor; -1 while the card has no focus
  // or no open box.
  int GetCursorRow() const;
  int GetCursorCol() const { return FCursor.Col(); }
  // Where an entry row's boxes are: the upper rows in the top grid, the
  // lower ones in the bottom grid, at this row of it.
  quintor::TScoreGrid *BoxGrid(int EntryRow) const;
  static int BoxGridRow(int EntryRow);
  // What a screen reader reads and hears of the window.
  const quintor::TGameReader &Reader() const { return *FReader; }

  // TGameView
  void ClearCardDisplay() override;
  void ShowBox(int Col, int EntryRow, int Score) override;
  void ClearBox(int Col, int EntryRow) override;
  void ShowUpperTotals(int Col, int Sum, bool Bonus, int UpperTotal) override;
  void ShowLowerTotal(int Col, int LowerTotal) override;
  void ShowQuintorBonus(int Col, bool Shown) override;
  void ShowCombinedTotals(int Col, int Combined, int Weighted) override;
  void ShowGrandTotal(int Total) override;
  void ShowCategoryFlags(const quintor::TCategoryFlags &Flags) override;
  void ShowDie(int Index, int Value) override;
  void SetDiceEnabled(bool Enabled) override;
  void ReleaseDice() override;
  bool IsDieHeld(int Index) const override;
  void SetRollEnabled(bool Enabled) override;
  void SetUndoEnabled(bool Enabled) override;
  void ForgetPreview() override;
  bool IsAnimationOn() const override;
  void StartFlashTimer() override;
  void StopFlashTimer() override;

 private slots:
  void RollButtonClick();
  void TopGridMouseDown(int X, int Y);
  void BottomGridMouseDown(int X, int Y);
  void TopGridMouseMove(int X, int Y);
  void BottomGridMouseMove(int X, int Y);
  void ScorePanelMouseMove();
  void FlashTimerTimer();
  void CheckBox1Click();
  void New1Click();
  void Exit1Click();
  void Undo1Click();
  void Top101Click();
  void RulesandScoring1Click();
  void About1Click();
  void Image1Click();

 protected:
  bool eventFilter(QObject *Watched, QEvent *Event) override;
  void showEvent(QShowEvent *Event) override;

 private:
  void SetupKeyboardAndReaders();
  bool CardEvent(QEvent *Event);
  bool MoveCursor(int Key);
  void PlaceCursor();
  void PreviewAtCursor();
  void UpdateReaderTexts();
  void AfterRoll();
  // The entry row of the box under a point of one of the two box grids
  // (setting Col), or -1 where there is no box.
  int BoxAt(const quintor::TScoreGrid *Grid, int X, int Y, int &Col) const;
  void SetBoxCell(int Col, int EntryRow, const QString &Text);
  const QIcon &FaceIcon(int Value, bool Colored);

  std::unique_ptr<Ui::TMainForm> Ui;
  std::unique_ptr<quintor::TGameReader> FReader;  // made once the controls exist
  std::array<QToolButton *, quintor::DiceCount> FDiceButtons = {};
  std::array<QLabel *, quintor::EntryRows> FCategoryLabels = {};
  QTimer *FlashTimer = nullptr;
  std::array<int, quintor::DiceCount> FShownDice = {6, 6, 6, 6, 6};
  std::array<std::array<QIcon, quintor::DieFaceCount>, 2> FDieIcons;  // colour set, plain set
  quintor::TCardCursor FCursor;  // kept while the card has no focus
  bool FCursorShown = false;
  bool FCentred = false;
  QPointer<QDialog> FAboutBox;
  std::function<QDialog *()> FAboutBoxSource;
  quintor::TGame FGame{*this};
  quintor::TScorePreview FPreview{FGame, [this](int Col, int EntryRow, const QString &Text) {
                                    SetBoxCell(Col, EntryRow, Text);
                                  }};
};
