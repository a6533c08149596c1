#include "MainForm.h"

#include <QDateTime>
#include <limits>
#include <QDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

#include "QuintorApplication.h"
#include "ScoreGrid.h"
#include "ui_MainForm.h"

using namespace quintor;

namespace {

constexpr int ColPitch = TScoreGrid::DefaultColWidth + TScoreGrid::GridLineWidth;   // 31
constexpr int RowPitch = TScoreGrid::DefaultRowHeight + TScoreGrid::GridLineWidth;  // 17

// The box under a point of a box grid's client area, or false outside the
// used cells. The pitch includes the grid line, so a line belongs to the
// cell left of or above it.
bool BoxAt(int X, int Y, int Rows, int &Col, int &Row) {
  if (X < 0 || Y < 0) return false;
  Col = X / ColPitch;
  Row = Y / RowPitch;
  return Col < ColumnCount && Row < Rows;
}

// The window's font is "MS Sans Serif" at 11 pixels; where that face is
// missing, a sans-serif face with Arial's metrics keeps every caption inside
// the fixed layout.
void RegisterFontSubstitutes() {
  static const bool Done = [] {
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                QStringLiteral("DejaVu Sans")});
    return true;
  }();
  (void)Done;
}

// Family, or its first installed stand-in. Asked for by a name that is
// installed, a font is found at once; a missing name makes the font system
// rank every installed face to find its nearest match.
QString InstalledFamily(const QString &Family) {
  if (QFontDatabase::hasFamily(Family)) return Family;
  for (const QString &Substitute : QFont::substitutes(Family))
    if (QFontDatabase::hasFamily(Substitute)) return Substitute;
  return Family;
}

}  // namespace

TMainForm::TMainForm(QWidget *Parent) : QMainWindow(Parent), Ui(std::make_unique<Ui::TMainForm>()) {
  // The form's font is set before its controls exist, so that they take it
  // as they are made rather than each re-measuring itself on a change.
  SetupFonts();
  Ui->setupUi(this);
  SetupControlFonts();
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

  FGame.NewGame();
  FGame.Seed(static_cast<std::uint64_t>(QDateTime::currentSecsSinceEpoch()) & 0xFFFFFFFFu);
  if (TQuintorApplication *App = TQuintorApplication::Instance()) App->SetShowHint(true);
}

TMainForm::~TMainForm() = default;

void TMainForm::SetupFonts() {
  RegisterFontSubstitutes();
  QFont FormFont(InstalledFamily(QStringLiteral("MS Sans Serif")));
  FormFont.setPixelSize(11);
  setFont(FormFont);
}

void TMainForm::SetupControlFonts() {
  QFont Bold = font();
  Bold.setBold(true);
  Ui->Label11->setFont(Bold);
  QFont Total(InstalledFamily(QStringLiteral("Arial")));
  Total.setPixelSize(24);
  Total.setBold(true);
  Ui->GrandTotal->setFont(Total);
}

int TMainForm::GetFlashInterval() const { return FlashTimer->interval(); }

void TMainForm::SetFlashInterval(int Milliseconds) { FlashTimer->setInterval(Milliseconds); }

void TMainForm::showEvent(QShowEvent *Event) {
  QMainWindow::showEvent(Event);
  if (FCentred) return;
  FCentred = true;
  if (const QScreen *Screen = screen())
    move(Screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

// --- what the game shows ---

void TMainForm::SetBoxCell(int Col, int EntryRow, const QString &Text) {
  if (EntryRow < UpperRows)
    Ui->TopGrid->SetCell(Col, EntryRow, Text);
  else
    Ui->BottomGrid->SetCell(Col, EntryRow - UpperRows, Text);
}

void TMainForm::ClearCardDisplay() {
  for (TScoreGrid *Grid : {Ui->TopGrid, Ui->TopTotal, Ui->BottomGrid, Ui->BottomTotal})
    Grid->ClearCells();
  Ui->GrandTotal->setText(QStringLiteral("0"));
  FPreviewShown = false;
}

void TMainForm::ShowBox(int Col, int EntryRow, int Score) {
  SetBoxCell(Col, EntryRow, QString::number(Score));
  if (EntryRow == FPreviewRow && Col == FPreviewCol) FPreviewShown = false;
}

void TMainForm::ClearBox(int Col, int EntryRow) { SetBoxCell(Col, EntryRow, QString()); }

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

void TMainForm::ShowGrandTotal(int Total) { Ui->GrandTotal->setText(QString::number(Total)); }

void TMainForm::ShowCategoryFlags(const TCategoryFlags &Flags) {
  for (int Row = 0; Row < EntryRows; ++Row) FCategoryLabels[Row]->setEnabled(Flags[Row]);
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

void TMainForm::SetRollEnabled(bool Enabled) { Ui->RollButton->setEnabled(Enabled); }

void TMainForm::SetUndoEnabled(bool Enabled) { Ui->Undo1->setEnabled(Enabled); }

void TMainForm::ForgetPreview() {
  // A preview left in a box that is still open would read as a score.
  if (FPreviewShown) EmptyPreviewCell();
  FPreviewRow = -1;
  FPreviewCol = 0;
}

bool TMainForm::IsAnimationOn() const { return Ui->AnimationCheckbox->isChecked(); }

void TMainForm::StartFlashTimer() { FlashTimer->start(); }

void TMainForm::StopFlashTimer() { FlashTimer->stop(); }

// --- the end of a game ---

int TMainForm::GetTenthScore() {
  // With no top ten, no total qualifies.
  return FHighScores ? FHighScores->GetTenthScore() : std::numeric_limits<int>::max();
}

void TMainForm::EnterNewScore(int Total, int Quintors) {
  if (FHighScores) FHighScores->EnterNewScore(Total, Quintors);
}

void TMainForm::ShowTopTen() {
  if (FHighScores) FHighScores->ShowList();
}

void TMainForm::ShowGameOver() {
  // Made at the first game end rather than at start-up, where building a
  // message box costs more than the rest of the window.
  if (!FGameOverBox) {
    FGameOverBox = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Quintor"),
                                   QStringLiteral("Game Over"), QMessageBox::Ok, this);
    FGameOverBox->setObjectName(QStringLiteral("GameOverBox"));
  }
  FGameOverBox->exec();
}

// --- the score preview ---

void TMainForm::EmptyPreviewCell() {
  FPreviewShown = false;
  if (FPreviewRow < 0 || FGame.Card().IsFilled(FPreviewCol, FPreviewRow)) return;
  SetBoxCell(FPreviewCol, FPreviewRow, QString());
}

void TMainForm::ShowPreview(int Col, int EntryRow, int Score) {
  if (FPreviewRow >= 0) EmptyPreviewCell();
  FPreviewRow = EntryRow;
  FPreviewCol = Col;
  SetBoxCell(Col, EntryRow, QString::number(Score));
  FPreviewShown = true;
}

// After a roll the preview on show belongs to the throw before it.
void TMainForm::RefreshPreview() {
  if (!FPreviewShown || FPreviewRow < 0) return;
  const int Score = FGame.PreviewScore(FPreviewCol, FPreviewRow);
  if (Score >= 0) SetBoxCell(FPreviewCol, FPreviewRow, QString::number(Score));
}

void TMainForm::TopGridMouseMove(int X, int Y) {
  int Col = 0, Row = 0;
  if (!BoxAt(X, Y, UpperRows, Col, Row)) return;
  const int Score = FGame.PreviewScore(Col, Row);
  if (Score >= 0) ShowPreview(Col, Row, Score);
}

void TMainForm::BottomGridMouseMove(int X, int Y) {
  int Col = 0, Row = 0;
  if (!BoxAt(X, Y, LowerRows, Col, Row)) return;
  const int Score = FGame.PreviewScore(Col, Row + UpperRows);
  if (Score >= 0) ShowPreview(Col, Row + UpperRows, Score);
}

void TMainForm::ScorePanelMouseMove() { EmptyPreviewCell(); }

// --- commands ---

void TMainForm::RollButtonClick() {
  FGame.StartRoll();
  if (!FGame.IsRolling()) RefreshPreview();
}

void TMainForm::FlashTimerTimer() {
  if (!FGame.IsRolling()) {
    FlashTimer->stop();
    return;
  }
  FGame.RollStep();
  if (!FGame.IsRolling()) RefreshPreview();
}

void TMainForm::TopGridMouseDown(int X, int Y) {
  int Col = 0, Row = 0;
  if (BoxAt(X, Y, UpperRows, Col, Row)) FGame.EnterThrow(Col, Row);
}

void TMainForm::BottomGridMouseDown(int X, int Y) {
  int Col = 0, Row = 0;
  if (BoxAt(X, Y, LowerRows, Col, Row)) FGame.EnterThrow(Col, Row + UpperRows);
}

void TMainForm::CheckBox1Click() {
  for (int I = 0; I < DiceCount; ++I) ShowDie(I, FShownDice[I]);
}

void TMainForm::New1Click() { FGame.NewGame(); }

void TMainForm::Exit1Click() { close(); }

void TMainForm::Undo1Click() { FGame.UndoLastEntry(); }

void TMainForm::Top101Click() {
  if (FHighScores) FHighScores->ShowList();
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
  if (Watched == Ui->Image1 && Event->type() == QEvent::MouseButtonRelease) {
    const auto *Mouse = static_cast<QMouseEvent *>(Event);
    if (Mouse->button() == Qt::LeftButton && Ui->Image1->rect().contains(Mouse->position().toPoint()))
      Image1Click();
  }
  return QMainWindow::eventFilter(Watched, Event);
}
