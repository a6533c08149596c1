#include "MainForm.h"

#include <QDateTime>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QShortcut>
#include <QTimer>
#include <QToolButton>

#include "Accessibility.h"
#include "DialogHabits.h"
#include "Fonts.h"
#include "QuintorApplication.h"
#include "ScoreGrid.h"
#include "ui_MainForm.h"

using namespace quintor;

TMainForm::TMainForm(QWidget *Parent) : QMainWindow(Parent), Ui(std::make_unique<Ui::TMainForm>()) {
  InstallGameAccessibility();
  // The form's font is set before its controls exist, so that they take it
  // as they are made rather than each re-measuring itself on a change.
  setFont(FormFont());
  Ui->setupUi(this);
  QFont Bold = font();
  Bold.setBold(true);
  Ui->Label11->setFont(Bold);
  Ui->GrandTotal->setFont(GrandTotalFont());
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  Ui->CentralWidget->setFixedSize(330, 421);
  layout()->setSizeConstraint(QLayout::SetFixedSize);

  FDiceButtons = {Ui->SpeedButton1, Ui->SpeedButton2, Ui->SpeedButton3, Ui->SpeedButton4,
                  Ui->SpeedButton5};
  FCategoryLabels = {Ui->Label1,   Ui->Label2,   Ui->Label3,  Ui->Label4,  Ui->Label5,
                     Ui->Label6,   Ui->LabelTOK, Ui->LabelFOK, Ui->LabelFH, Ui->LabelSS,
                     Ui->LabelLS,  Ui->LabelQ,   Ui->LabelC};
  Ui->BottomTotal->SetRowHeight(1, 15);
  // The layout cannot name a separator; the one between New and Exit is N1.
  for (QAction *Item : Ui->GameItem->actions())
    if (Item->isSeparator()) Item->setObjectName(QStringLiteral("N1"));

  // Everything on the score panel but the two box grids lets the pointer
  // through to the panel, so a move there empties the preview; the totals
  // grids take no input at all.
  for (QWidget *Child : Ui->ScorePanel->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
    if (Child != Ui->TopGrid && Child != Ui->BottomGrid)
      Child->setAttribute(Qt::WA_TransparentForMouseEvents);

  Ui->Image1->setPixmap(QuintorEmblem());
  Ui->Image1->installEventFilter(this);

  FlashTimer = new QTimer(this);
  FlashTimer->setObjectName(QStringLiteral("FlashTimer"));
  FlashTimer->setInterval(DefaultFlashInterval);

  connect(Ui->RollButton, &QPushButton::clicked, this, &TMainForm::RollButtonClick);
  connect(Ui->TopGrid, &TScoreGrid::MouseDown, this, &TMainForm::TopGridMouseDown);
  connect(Ui->BottomGrid, &TScoreGrid::MouseDown, this, &TMainForm::BottomGridMouseDown);
  connect(Ui->TopGrid, &TScoreGrid::MouseMove, this, &TMainForm::TopGridMouseMove);
  connect(Ui->BottomGrid, &TScoreGrid::MouseMove, this, &TMainForm::BottomGridMouseMove);
  connect(Ui->ScorePanel, &TPanel::MouseMove, this, &TMainForm::ScorePanelMouseMove);
  connect(FlashTimer, &QTimer::timeout, this, &TMainForm::FlashTimerTimer);
  connect(Ui->CheckBox1, &QCheckBox::toggled, this, &TMainForm::CheckBox1Click);
  connect(Ui->New1, &QAction::triggered, this, &TMainForm::New1Click);
  connect(Ui->Exit1, &QAction::triggered, this, &TMainForm::Exit1Click);
  connect(Ui->Undo1, &QAction::triggered, this, &TMainForm::Undo1Click);
  connect(Ui->Top101, &QAction::triggered, this, &TMainForm::Top101Click);
  connect(Ui->RulesandScoring1, &QAction::triggered, this, &TMainForm::RulesandScoring1Click);
  connect(Ui->About1, &QAction::triggered, this, &TMainForm::About1Click);
  SetupKeyboardAndReaders();

  FGame.NewGame();
  FGame.Seed(static_cast<std::uint64_t>(QDateTime::currentSecsSinceEpoch()) & 0xFFFFFFFFu);
  if (TQuintorApplication *App = TQuintorApplication::Instance()) App->SetShowHint(true);
}

TMainForm::~TMainForm() = default;

void TMainForm::SetupKeyboardAndReaders() {
  // The keys 1 to 5 press the dice top to bottom, wherever the focus is.
  for (int I = 0; I < DiceCount; ++I) {
    const int Digit = Qt::Key_1 + I;
    auto *Key = new QShortcut(this);
    Key->setObjectName(QStringLiteral("DieKey%1").arg(I + 1));
    Key->setKeys({QKeySequence(Digit), QKeySequence(Qt::KeypadModifier | Digit)});
    Key->setAutoRepeat(false);
    connect(Key, &QShortcut::activated, this, [this, I] { FDiceButtons[I]->click(); });
  }

  // The score card takes the focus by Tab only, so a click on a box moves
  // no focus; its cursor is the upper grid's focus, in either grid.
  Ui->TopGrid->setFocusPolicy(Qt::TabFocus);
  Ui->TopGrid->installEventFilter(this);
  setTabOrder(Ui->RollButton, Ui->TopGrid);
  setTabOrder(Ui->TopGrid, Ui->CheckBox1);
  setTabOrder(Ui->CheckBox1, Ui->AnimationCheckbox);

  FReader = std::make_unique<TGameReader>(*this, *Ui);
}

int TMainForm::GetFlashInterval() const { return FlashTimer->interval(); }

void TMainForm::SetFlashInterval(int Milliseconds) { FlashTimer->setInterval(Milliseconds); }

void TMainForm::showEvent(QShowEvent *Event) {
  QMainWindow::showEvent(Event);
  if (FCentred) return;
  FCentred = true;
  CentreOnScreen(*this);
}

// --- what the game shows ---

TScoreGrid *TMainForm::BoxGrid(int EntryRow) const { return EntryRow < UpperRows ? Ui->TopGrid : Ui->BottomGrid; }

int TMainForm::BoxGridRow(int EntryRow) { return EntryRow < UpperRows ? EntryRow : EntryRow - UpperRows; }

int TMainForm::BoxAt(const TScoreGrid *Grid, int X, int Y, int &Col) const {
  int Row = 0;
  if (!Grid->CellAt(X, Y, Col, Row) || Col >= ColumnCount) return -1;
  const int EntryRow = Grid == Ui->TopGrid ? Row : Row + UpperRows;
  return Row < (Grid == Ui->TopGrid ? UpperRows : LowerRows) ? EntryRow : -1;
}

void TMainForm::SetBoxCell(int Col, int EntryRow, const QString &Text) {
  BoxGrid(EntryRow)->SetCell(Col, BoxGridRow(EntryRow), Text);
}

void TMainForm::ClearCardDisplay() {
  for (TScoreGrid *Grid : {Ui->TopGrid, Ui->TopTotal, Ui->BottomGrid, Ui->BottomTotal})
    Grid->ClearCells();
  Ui->GrandTotal->setText(QStringLiteral("0"));
  FPreview.CardCleared();
  PlaceCursor();
  if (FReader) FReader->NewGame();
}

void TMainForm::ShowBox(int Col, int EntryRow, int Score) {
  SetBoxCell(Col, EntryRow, QString::number(Score));
  FPreview.Entered(Col, EntryRow);
  PlaceCursor();  // off the filled box
  FReader->Entered(Col, EntryRow);
}

void TMainForm::ClearBox(int Col, int EntryRow) {
  SetBoxCell(Col, EntryRow, QString());
  FReader->Cleared(Col, EntryRow);
}

void TMainForm::ShowUpperTotals(int Col, int Sum, bool Bonus, int UpperTotal) {
  Ui->TopTotal->SetCell(Col, 0, QString::number(Sum));
  Ui->TopTotal->SetCell(Col, 1, Bonus ? QString::number(quintor::UpperBonus) : QString());
  Ui->TopTotal->SetCell(Col, 2, QString::number(UpperTotal));
}

void TMainForm::ShowLowerTotal(int Col, int LowerTotal) {
  Ui->BottomTotal->SetCell(Col, 0, QString::number(LowerTotal));
}

void TMainForm::ShowQuintorBonus(int Col, bool Shown) {
  Ui->BottomTotal->SetCell(Col, 1, Shown ? QString::number(quintor::QuintorBonus) : QString());
}

void TMainForm::ShowCombinedTotals(int Col, int Combined, int Weighted) {
  Ui->BottomTotal->SetCell(Col, 2, QString::number(Combined));
  Ui->BottomTotal->SetCell(Col, 3, QString::number(Weighted));
}

void TMainForm::ShowGrandTotal(int Total) {
  Ui->GrandTotal->setText(QString::number(Total));
  FReader->GrandTotalShown();
}

void TMainForm::ShowCategoryFlags(const TCategoryFlags &Flags) {
  for (int Row = 0; Row < EntryRows; ++Row) FCategoryLabels[Row]->setEnabled(Flags[Row]);
  UpdateReaderTexts();
}

const QIcon &TMainForm::FaceIcon(int Value, bool Colored) {
  QIcon &Icon = FDieIcons[Colored ? 0 : 1][Value];
  if (Icon.isNull()) Icon = quintor::DieIcon(Value, Colored ? TDiceSet::dsColor : TDiceSet::dsPlain);
  return Icon;
}

void TMainForm::ShowDie(int Index, int Value) {
  if (Index < 0 || Index >= DiceCount) return;
  if (Value < 0 || Value >= DieFaceCount) Value = NotThrown;
  FShownDice[Index] = Value;
  FDiceButtons[Index]->setIcon(FaceIcon(Value, Ui->CheckBox1->isChecked()));
  UpdateReaderTexts();
}

void TMainForm::SetDiceEnabled(bool Enabled) {
  for (QToolButton *Button : FDiceButtons) Button->setEnabled(Enabled);
}

void TMainForm::ReleaseDice() {
  for (QToolButton *Button : FDiceButtons) Button->setChecked(false);
}

bool TMainForm::IsDieHeld(int Index) const {
  return Index >= 0 && Index < DiceCount && FDiceButtons[Index]->isChecked();
}

void TMainForm::SetRollEnabled(bool Enabled) {
  QPushButton *Roll = Ui->RollButton;
  if (Enabled) {
    Roll->setEnabled(true);
    Roll->setFocus(Qt::OtherFocusReason);
  } else {
    // A disabled Roll! would hand its focus on to the next control in the
    // chain, a check box, where Space would switch an option; the game goes
    // on at the score card; at the end of a game, where the card has no open
    // box for its cursor, at the grand total, which then says what to do.
    const QWidget *Focus = focusWidget();
    QWidget *Next = FGame.Card().FilledCount == BoxCount ? static_cast<QWidget *>(Ui->GrandTotal) : Ui->TopGrid;
    if (!Focus || Focus == Roll || Focus == Ui->TopGrid) Next->setFocus(Qt::OtherFocusReason);
    Roll->setEnabled(false);
  }
  UpdateReaderTexts();
}

void TMainForm::SetUndoEnabled(bool Enabled) { Ui->Undo1->setEnabled(Enabled); }

void TMainForm::ForgetPreview() { FPreview.Forget(); }

bool TMainForm::IsAnimationOn() const { return Ui->AnimationCheckbox->isChecked(); }

void TMainForm::StartFlashTimer() { FlashTimer->start(); }

void TMainForm::StopFlashTimer() { FlashTimer->stop(); }

// --- the pointer over the card ---

// After a roll: the news is said, and the preview on show belongs to the
// throw before it.
void TMainForm::AfterRoll() {
  FReader->RollDone();
  FPreview.Rolled();
}

void TMainForm::TopGridMouseMove(int X, int Y) {
  int Col = 0;
  if (const int EntryRow = BoxAt(Ui->TopGrid, X, Y, Col); EntryRow >= 0) FPreview.ShowAt(Col, EntryRow);
}

void TMainForm::BottomGridMouseMove(int X, int Y) {
  int Col = 0;
  if (const int EntryRow = BoxAt(Ui->BottomGrid, X, Y, Col); EntryRow >= 0) FPreview.ShowAt(Col, EntryRow);
}

void TMainForm::ScorePanelMouseMove() { FPreview.Empty(); }

// --- the score card's cursor ---

int TMainForm::GetCursorRow() const {
  return FCursorShown && !FGame.Card().IsFilled(FCursor.Col(), FCursor.Row()) ? FCursor.Row() : -1;
}

// Stands the cursor on its box, or on the nearest open box once that box is
// filled; shows none when the card is full.
void TMainForm::PlaceCursor() {
  if (!FCursorShown) return;
  Ui->TopGrid->SetCursorCell(-1, -1);
  Ui->BottomGrid->SetCursorCell(-1, -1);
  if (!FCursor.Settle(FGame.Card())) return;
  TScoreGrid *Grid = BoxGrid(FCursor.Row());
  Grid->SetCursorCell(FCursor.Col(), BoxGridRow(FCursor.Row()));
  NotifyCellFocus(Grid);
}

// The cursor shows the throw's score in its box just as the pointer does.
void TMainForm::PreviewAtCursor() {
  if (GetCursorRow() >= 0) FPreview.ShowAt(FCursor.Col(), FCursor.Row());
}

bool TMainForm::MoveCursor(int Key) {
  static const std::pair<int, TCardCursor::TMove> Moves[] = {
      {Qt::Key_Left, TCardCursor::cmLeft}, {Qt::Key_Right, TCardCursor::cmRight}, {Qt::Key_Up, TCardCursor::cmUp},
      {Qt::Key_Down, TCardCursor::cmDown}, {Qt::Key_Home, TCardCursor::cmHome},   {Qt::Key_End, TCardCursor::cmEnd}};
  for (const auto &[Which, Move] : Moves) {
    if (Which != Key) continue;
    if (FCursor.Move(Move, FGame.Card())) {
      PlaceCursor();
      PreviewAtCursor();
    }
    return true;
  }
  return false;
}

bool TMainForm::CardEvent(QEvent *Event) {
  switch (Event->type()) {
    case QEvent::FocusIn: {
      FCursorShown = true;
      PlaceCursor();
      // Coming back to the window or from a menu moves nothing.
      const Qt::FocusReason Reason = static_cast<QFocusEvent *>(Event)->reason();
      if (Reason != Qt::ActiveWindowFocusReason && Reason != Qt::PopupFocusReason) PreviewAtCursor();
      return false;
    }
    case QEvent::FocusOut:
      FCursorShown = false;
      Ui->TopGrid->SetCursorCell(-1, -1);
      Ui->BottomGrid->SetCursorCell(-1, -1);
      return false;
    case QEvent::KeyPress: {
      const auto *Key = static_cast<QKeyEvent *>(Event);
      if (Key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
      if (Key->key() == Qt::Key_Return || Key->key() == Qt::Key_Enter || Key->key() == Qt::Key_Space) {
        if (GetCursorRow() >= 0) FGame.EnterThrow(FCursor.Col(), FCursor.Row());
        return true;
      }
      return MoveCursor(Key->key());
    }
    default:
      return false;
  }
}

// --- what an assistive tool reads ---

void TMainForm::UpdateReaderTexts() {
  if (FReader) FReader->Update();
}

// --- commands ---

void TMainForm::RollButtonClick() {
  FGame.StartRoll();
  if (!FGame.IsRolling()) AfterRoll();
}

void TMainForm::FlashTimerTimer() {
  if (!FGame.IsRolling()) {
    FlashTimer->stop();
    return;
  }
  FGame.RollStep();
  if (!FGame.IsRolling()) AfterRoll();
}

void TMainForm::TopGridMouseDown(int X, int Y) {
  int Col = 0;
  if (const int EntryRow = BoxAt(Ui->TopGrid, X, Y, Col); EntryRow >= 0) FGame.EnterThrow(Col, EntryRow);
}

void TMainForm::BottomGridMouseDown(int X, int Y) {
  int Col = 0;
  if (const int EntryRow = BoxAt(Ui->BottomGrid, X, Y, Col); EntryRow >= 0) FGame.EnterThrow(Col, EntryRow);
}

void TMainForm::CheckBox1Click() {
  for (int I = 0; I < DiceCount; ++I) ShowDie(I, FShownDice[I]);
}

void TMainForm::New1Click() { FGame.NewGame(); }

void TMainForm::Exit1Click() { close(); }

void TMainForm::Undo1Click() { FGame.UndoLastEntry(); }

void TMainForm::Top101Click() {
  if (quintor::TGameEnd *End = FGame.GetEnd()) End->ShowTopTen();
}

void TMainForm::RulesandScoring1Click() {
  if (TQuintorApplication *App = TQuintorApplication::Instance())
    App->HelpCommand(TQuintorApplication::HelpContents, 0);
}

void TMainForm::About1Click() {
  QDialog *Box = FAboutBox ? FAboutBox.data() : FAboutBoxSource ? FAboutBoxSource() : nullptr;
  if (Box) Box->exec();
}

void TMainForm::Image1Click() { About1Click(); }

bool TMainForm::eventFilter(QObject *Watched, QEvent *Event) {
  if (Watched == Ui->TopGrid && CardEvent(Event)) return true;
  if (Watched == Ui->Image1 && Event->type() == QEvent::MouseButtonRelease) {
    const auto *Mouse = static_cast<QMouseEvent *>(Event);
    if (Mouse->button() == Qt::LeftButton && Ui->Image1->rect().contains(Mouse->position().toPoint()))
      Image1Click();
  }
  return QMainWindow::eventFilter(Watched, Event);
}
