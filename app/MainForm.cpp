#include "MainForm.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QDateTime>
#include <limits>
#include <vector>
#include <QDialog>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QShortcut>
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

// The accessible value of a control that carries one, kept in this dynamic
// property and announced on every change.
constexpr char AccessibleValueProperty[] = "AccessibleValue";

void SetAccessibleValue(QWidget *Widget, const QString &Value) {
  if (Widget->property(AccessibleValueProperty).toString() == Value) return;
  Widget->setProperty(AccessibleValueProperty, Value);
  QAccessibleValueChangeEvent Event(Widget, Value);
  QAccessible::updateAccessibility(&Event);
}

// A button or label with an accessible value: the dice (checkable, so held
// reads as checked), Roll! with the rolls left, the grand total.
class TValuedAccessible : public QAccessibleWidget {
 public:
  explicit TValuedAccessible(QWidget *Widget) : QAccessibleWidget(Widget, RoleOf(Widget)) {}

  QString text(QAccessible::Text Kind) const override {
    if (Kind == QAccessible::Value) return widget()->property(AccessibleValueProperty).toString();
    if (Kind == QAccessible::Name && widget()->accessibleName().isEmpty())
      if (const auto *Button = qobject_cast<const QAbstractButton *>(widget()))
        return QString(Button->text()).remove(QLatin1Char('&'));
    return QAccessibleWidget::text(Kind);
  }
  QAccessible::State state() const override {
    QAccessible::State State = QAccessibleWidget::state();
    if (const auto *Button = qobject_cast<const QAbstractButton *>(widget())) {
      State.checkable = Button->isCheckable();
      State.checked = Button->isChecked();
    }
    return State;
  }
  QStringList actionNames() const override {
    QStringList Names = QAccessibleWidget::actionNames();
    if (const auto *Button = qobject_cast<const QAbstractButton *>(widget()); Button && Button->isEnabled())
      Names.prepend(Button->isCheckable() ? toggleAction() : pressAction());
    return Names;
  }
  void doAction(const QString &Name) override {
    auto *Button = qobject_cast<QAbstractButton *>(widget());
    if (Button && (Name == pressAction() || Name == toggleAction()))
      Button->click();
    else
      QAccessibleWidget::doAction(Name);
  }

 private:
  static QAccessible::Role RoleOf(QWidget *Widget) {
    if (const auto *Button = qobject_cast<QAbstractButton *>(Widget))
      return Button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    return QAccessible::StaticText;
  }
};

QAccessibleInterface *ValuedAccessibleFactory(const QString &, QObject *Object) {
  if (!Object || !Object->isWidgetType() || !Object->property(AccessibleValueProperty).isValid())
    return nullptr;
  return new TValuedAccessible(static_cast<QWidget *>(Object));
}

// Once, after the application object (the factory installed last is asked
// first, so these come before the toolkit's own for the same widgets) and
// before any widget of the window is made (a widget keeps the interface it
// was first given).
void InstallAccessibleFactories() {
  static const bool Installed = [] {
    QAccessible::installFactory(ScoreGridAccessibleFactory);
    QAccessible::installFactory(ValuedAccessibleFactory);
    return true;
  }();
  (void)Installed;
}

QString FaceName(int Value) {
  static const char *const Names[] = {"one", "two", "three", "four", "five", "six"};
  return Value >= 0 && Value < 6 ? QLatin1String(Names[Value]) : QString();
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
  InstallAccessibleFactories();
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
  SetupKeyboardAndReaders();

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

void TMainForm::SetupKeyboardAndReaders() {
  // The keys 1 to 5 press the dice top to bottom, wherever the focus is.
  for (int I = 0; I < DiceCount; ++I) {
    const int Digit = Qt::Key_1 + I;
    auto *Key = new QShortcut(this);
    Key->setObjectName(QStringLiteral("DieKey%1").arg(I + 1));
    Key->setKeys({QKeySequence(Digit), QKeySequence(Qt::KeypadModifier | Digit)});
    Key->setAutoRepeat(false);
    connect(Key, &QShortcut::activated, this, [this, I] { FDiceButtons[I]->click(); });
    connect(FDiceButtons[I], &QToolButton::toggled, this, &TMainForm::UpdateReaderTexts);
  }

  // The score card takes the focus by Tab only, so a click on a box moves
  // no focus; its cursor is the upper grid's focus, in either grid.
  Ui->TopGrid->setFocusPolicy(Qt::TabFocus);
  Ui->TopGrid->installEventFilter(this);
  setTabOrder(Ui->RollButton, Ui->TopGrid);
  setTabOrder(Ui->TopGrid, Ui->CheckBox1);
  setTabOrder(Ui->CheckBox1, Ui->AnimationCheckbox);

  const auto Column = [](int Col) { return QStringLiteral(", column %1").arg(Col + 1); };
  for (int Col = 0; Col < ColumnCount; ++Col) {
    for (int Row = 0; Row < EntryRows; ++Row) {
      TScoreGrid *Grid = Row < UpperRows ? Ui->TopGrid : Ui->BottomGrid;
      Grid->SetCellAccessibleName(Col, Row < UpperRows ? Row : Row - UpperRows,
                                  FCategoryLabels[Row]->text() + Column(Col));
    }
    const QLabel *Upper[] = {Ui->LabelTotal, Ui->LabelBonus, Ui->LabelUppertotal};
    for (int Row = 0; Row < 3; ++Row)
      Ui->TopTotal->SetCellAccessibleName(Col, Row, Upper[Row]->text() + Column(Col));
    const QLabel *Lower[] = {Ui->Label7, Ui->Label8, Ui->Label9, Ui->Label10};
    for (int Row = 0; Row < 4; ++Row)
      Ui->BottomTotal->SetCellAccessibleName(Col, Row, Lower[Row]->text() + Column(Col));
  }
  Ui->TopGrid->setAccessibleName(QStringLiteral("Upper section"));
  Ui->BottomGrid->setAccessibleName(QStringLiteral("Lower section"));
  Ui->TopTotal->setAccessibleName(QStringLiteral("Upper totals"));
  Ui->BottomTotal->setAccessibleName(QStringLiteral("Lower totals"));
  Ui->GrandTotal->setAccessibleName(Ui->Label11->text());
  std::vector<QWidget *> Valued = {Ui->RollButton, Ui->GrandTotal};
  Valued.insert(Valued.end(), FDiceButtons.begin(), FDiceButtons.end());
  for (QWidget *Widget : Valued) {
    Widget->setProperty(AccessibleValueProperty, QString());
    // An interface made while the form was built knows of no value; the
    // next one asked for is made anew.
    if (QAccessibleInterface *Made = QAccessible::queryAccessibleInterface(Widget))
      QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(Made));
  }
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
  ShowCursor();
  UpdateReaderTexts();
}

void TMainForm::ShowBox(int Col, int EntryRow, int Score) {
  SetBoxCell(Col, EntryRow, QString::number(Score));
  if (EntryRow == FPreviewRow && Col == FPreviewCol) FPreviewShown = false;
  ShowCursor();  // off the filled box
  UpdateReaderTexts();
}

void TMainForm::ClearBox(int Col, int EntryRow) {
  SetBoxCell(Col, EntryRow, QString());
  UpdateReaderTexts();
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
  UpdateReaderTexts();
}

void TMainForm::ShowCategoryFlags(const TCategoryFlags &Flags) {
  for (int Row = 0; Row < EntryRows; ++Row) FCategoryLabels[Row]->setEnabled(Flags[Row]);
  UpdateReaderTexts();  // a roll has completed
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
    // on at the score card.
    const QWidget *Focus = focusWidget();
    if (!Focus || Focus == Roll) Ui->TopGrid->setFocus(Qt::OtherFocusReason);
    Roll->setEnabled(false);
  }
  UpdateReaderTexts();
}

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
  // Made at the first game end, not at start-up, where it costs more than the rest of the window.
  if (!FGameOverBox) {
    FGameOverBox = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("Quintor"),
                                   QStringLiteral("Game Over"), QMessageBox::Ok, this);
    FGameOverBox->setObjectName(QStringLiteral("GameOverBox"));
    FitTitle(*FGameOverBox);
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

// --- the score card's cursor ---

int TMainForm::GetCursorRow() const {
  return FCursorShown && !FGame.Card().IsFilled(FCursorCol, FCursorRow) ? FCursorRow : -1;
}

// Stands the cursor on its box, or on the nearest open box after it (else
// before it) once that box is filled; shows none when the card is full.
void TMainForm::ShowCursor() {
  if (!FCursorShown) return;
  const TScoreCard &Card = FGame.Card();
  const auto Open = [&Card](int Box) { return !Card.IsFilled(Box % ColumnCount, Box / ColumnCount); };
  const int Here = FCursorRow * ColumnCount + FCursorCol;
  int Box = Here;
  for (int I = Here + 1; I < BoxCount && !Open(Box); ++I) Box = I;
  for (int I = Here - 1; I >= 0 && !Open(Box); --I) Box = I;
  if (!Open(Box)) {
    Ui->TopGrid->SetCursorCell(-1, -1);
    Ui->BottomGrid->SetCursorCell(-1, -1);
    return;
  }
  FCursorRow = Box / ColumnCount;
  FCursorCol = Box % ColumnCount;
  const bool Upper = FCursorRow < UpperRows;
  Ui->TopGrid->SetCursorCell(Upper ? FCursorCol : -1, Upper ? FCursorRow : -1);
  Ui->BottomGrid->SetCursorCell(Upper ? -1 : FCursorCol, Upper ? -1 : FCursorRow - UpperRows);
  (Upper ? Ui->TopGrid : Ui->BottomGrid)->NotifyCursorFocus();
}

// The cursor shows the throw's score in its box just as the pointer does.
void TMainForm::PreviewAtCursor() {
  if (GetCursorRow() < 0) return;
  const int Score = FGame.PreviewScore(FCursorCol, FCursorRow);
  if (Score >= 0) ShowPreview(FCursorCol, FCursorRow, Score);
}

// Left and Right step through the open boxes in reading order, across the
// columns and on to the next row; Up and Down go to the nearest row above
// or below with an open box, to the one nearest the cursor's column.
bool TMainForm::MoveCursor(int Key) {
  const TScoreCard &Card = FGame.Card();
  const auto Open = [&Card](int Box) { return !Card.IsFilled(Box % ColumnCount, Box / ColumnCount); };
  // The first open box from From on, stepping by Step; -1 when there is none.
  const auto FirstOpen = [&Open](int From, int Step) {
    for (int I = From; I >= 0 && I < BoxCount; I += Step)
      if (Open(I)) return I;
    return -1;
  };
  const int Here = FCursorRow * ColumnCount + FCursorCol;
  int Target = -1;
  switch (Key) {
    case Qt::Key_Right: Target = FirstOpen(Here + 1, 1); break;
    case Qt::Key_Left: Target = FirstOpen(Here - 1, -1); break;
    case Qt::Key_Home: Target = FirstOpen(0, 1); break;
    case Qt::Key_End: Target = FirstOpen(BoxCount - 1, -1); break;
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int Step = Key == Qt::Key_Down ? 1 : -1;
      for (int Row = FCursorRow + Step; Row >= 0 && Row < EntryRows && Target < 0; Row += Step)
        for (int Distance = 0; Distance < ColumnCount && Target < 0; ++Distance)
          for (const int Col : {FCursorCol - Distance, FCursorCol + Distance})
            if (Col >= 0 && Col < ColumnCount && Target < 0 && Open(Row * ColumnCount + Col))
              Target = Row * ColumnCount + Col;
      break;
    }
    default:
      return false;
  }
  if (Target >= 0) {
    FCursorRow = Target / ColumnCount;
    FCursorCol = Target % ColumnCount;
    ShowCursor();
    PreviewAtCursor();
  }
  return true;
}

bool TMainForm::CardEvent(QEvent *Event) {
  switch (Event->type()) {
    case QEvent::FocusIn: {
      FCursorShown = true;
      ShowCursor();
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
        if (GetCursorRow() >= 0) FGame.EnterThrow(FCursorCol, FCursorRow);
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
  // The faces of a roll in progress are not news; its result is.
  if (FGame.IsRolling()) return;
  for (int I = 0; I < DiceCount; ++I) {
    const int Face = FShownDice[I];
    QString Value = Face == NotThrown ? QStringLiteral("not rolled yet") : FaceName(Face);
    if (Face != NotThrown && FDiceButtons[I]->isChecked()) Value += QStringLiteral(", held");
    const QString Name = QStringLiteral("Die %1: %2").arg(I + 1).arg(Value);
    if (FDiceButtons[I]->accessibleName() != Name) FDiceButtons[I]->setAccessibleName(Name);
    SetAccessibleValue(FDiceButtons[I], Value);
  }
  const TScoreCard &Card = FGame.Card();
  for (int Col = 0; Col < ColumnCount; ++Col) {
    for (int Row = 0; Row < EntryRows; ++Row) {
      QString Value;
      if (Card.IsFilled(Col, Row)) {
        Value = QString::number(Row < UpperRows ? Card.TopScore[Col][Row]
                                                : Card.BottomScore[Col][Row - UpperRows]);
      } else {
        const int Score = FGame.PreviewScore(Col, Row);
        Value = Score >= 0 ? QStringLiteral("open, this throw scores %1").arg(Score) : QStringLiteral("open");
      }
      if (Row < UpperRows)
        Ui->TopGrid->SetCellAccessibleValue(Col, Row, Value);
      else
        Ui->BottomGrid->SetCellAccessibleValue(Col, Row - UpperRows, Value);
    }
  }
  SetAccessibleValue(Ui->GrandTotal, Ui->GrandTotal->text());
  const int Left = std::max(0, TGame::MaxRolls - FGame.RollCount());
  SetAccessibleValue(Ui->RollButton, Left == 0   ? QStringLiteral("no rolls left")
                                     : Left == 1 ? QStringLiteral("1 roll left")
                                                 : QStringLiteral("%1 rolls left").arg(Left));
}

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
  if (Watched == Ui->TopGrid && CardEvent(Event)) return true;
  if (Watched == Ui->Image1 && Event->type() == QEvent::MouseButtonRelease) {
    const auto *Mouse = static_cast<QMouseEvent *>(Event);
    if (Mouse->button() == Qt::LeftButton && Ui->Image1->rect().contains(Mouse->position().toPoint()))
      Image1Click();
  }
  return QMainWindow::eventFilter(Watched, Event);
}
