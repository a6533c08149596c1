#include "Accessibility.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <map>

#include "MainForm.h"
#include "ScoreGrid.h"
#include "ui_MainForm.h"

namespace quintor {

namespace {

// A control's reader texts live in these dynamic properties, read on demand:
// a name or description set on the widget itself would be reported as a
// change the reader cannot speak.
constexpr char ReaderName[] = "ReaderName";
constexpr char ReaderDescription[] = "ReaderDescription";

QString Plain(QString Caption) { return Caption.remove(QLatin1Char('&')); }

// A die (checkable, so held reads as checked), Roll! or the grand total.
class TReaderAccessible : public QAccessibleWidget {
 public:
  explicit TReaderAccessible(QWidget *Widget) : QAccessibleWidget(Widget, RoleOf(Widget)) {}

  QString text(QAccessible::Text Kind) const override {
    if (Kind == QAccessible::Name || Kind == QAccessible::Description) {
      const QVariant Own = widget()->property(Kind == QAccessible::Name ? ReaderName : ReaderDescription);
      if (Own.isValid()) return Own.toString();
    }
    if (Kind == QAccessible::Name && Button()) return Plain(Button()->text());
    return QAccessibleWidget::text(Kind);
  }
  QAccessible::State state() const override {
    QAccessible::State State = QAccessibleWidget::state();
    if (Button()) {
      State.checkable = Button()->isCheckable();
      State.checked = Button()->isChecked();
    }
    return State;
  }
  QStringList actionNames() const override {
    QStringList Names = QAccessibleWidget::actionNames();
    if (Button() && Button()->isEnabled()) Names.prepend(Button()->isCheckable() ? toggleAction() : pressAction());
    return Names;
  }
  void doAction(const QString &Name) override {
    if (Button() && (Name == pressAction() || Name == toggleAction()))
      Button()->click();
    else
      QAccessibleWidget::doAction(Name);
  }

 private:
  QAbstractButton *Button() const { return qobject_cast<QAbstractButton *>(widget()); }
  static QAccessible::Role RoleOf(QWidget *Widget) {
    if (const auto *Button = qobject_cast<QAbstractButton *>(Widget))
      return Button->isCheckable() ? QAccessible::CheckBox : QAccessible::Button;
    return QAccessible::StaticText;
  }
};

// An object of no widget of its own: a box of a grid, a row or column
// header, the notification that carries the news.
class TVirtualAccessible : public QAccessibleInterface {
 public:
  TVirtualAccessible(QWidget *AOwner, QAccessible::Role ARole) : Owner(AOwner), FRole(ARole) {}

  bool isValid() const override { return Owner; }
  QObject *object() const override { return nullptr; }
  QWindow *window() const override { return Owner ? Owner->window()->windowHandle() : nullptr; }
  QAccessibleInterface *childAt(int, int) const override { return nullptr; }
  QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(Owner); }
  QAccessibleInterface *child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface *) const override { return -1; }
  QString text(QAccessible::Text Kind) const override { return Kind == QAccessible::Name ? Name() : QString(); }
  void setText(QAccessible::Text, const QString &) override {}
  QRect rect() const override { return {}; }
  QAccessible::Role role() const override { return FRole; }
  QAccessible::State state() const override { return {}; }

  virtual QString Name() const = 0;

 protected:
  QPointer<QWidget> Owner;
  QAccessible::Role FRole;
};

class TTextAccessible : public TVirtualAccessible {
 public:
  TTextAccessible(QWidget *AOwner, QAccessible::Role ARole, QString AText)
      : TVirtualAccessible(AOwner, ARole), Text(std::move(AText)) {}
  QString Name() const override { return Text; }
  QString Text;
};

class TScoreCellAccessible : public TVirtualAccessible, public QAccessibleTableCellInterface {
 public:
  TScoreCellAccessible(TScoreGrid *AGrid, int ACol, int ARow)
      : TVirtualAccessible(AGrid, QAccessible::Cell), Col(ACol), Row(ARow) {}

  // "Fives, column 2: 15"; a box with no text is named by its place alone.
  QString Name() const override {
    if (!Owner) return {};
    const QString Place =
        Grid()->AccessibleRowNames().value(Row) + QLatin1String(", ") + Grid()->AccessibleColNames().value(Col);
    const QString Value = Grid()->CellAccessibleValue(Col, Row);
    return Value.isEmpty() ? Place : Place + QLatin1String(": ") + Value;
  }
  QRect rect() const override {
    if (!Owner) return {};
    const QRect Cell = Grid()->CellRect(Col, Row).translated(Grid()->ClientOrigin());
    return {Grid()->mapToGlobal(Cell.topLeft()), Cell.size()};
  }
  QAccessible::State state() const override {
    QAccessible::State State;
    State.readOnly = true;
    State.focusable = true;
    State.focused = Owner && Grid()->GetCursorCol() == Col && Grid()->GetCursorRow() == Row;
    return State;
  }
  void *interface_cast(QAccessible::InterfaceType Type) override {
    return Type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface *>(this) : nullptr;
  }

  // QAccessibleTableCellInterface
  bool isSelected() const override { return false; }
  QList<QAccessibleInterface *> columnHeaderCells() const override;
  QList<QAccessibleInterface *> rowHeaderCells() const override;
  int columnIndex() const override { return Col; }
  int rowIndex() const override { return Row; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface *table() const override { return parent(); }

 private:
  TScoreGrid *Grid() const { return static_cast<TScoreGrid *>(Owner.data()); }
  int Col, Row;
};

// The grid as a table of its named rows and columns. The cells' and the
// headers' interfaces are made on demand and registered, so that an
// assistive tool keeps one for each.
class TScoreGridAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit TScoreGridAccessible(TScoreGrid *Grid) : QAccessibleWidget(Grid, QAccessible::Table) {}
  ~TScoreGridAccessible() override {
    for (const auto &[Key, Id] : Made) QAccessible::deleteAccessibleInterface(Id);
  }

  int childCount() const override { return rowCount() * columnCount(); }
  QAccessibleInterface *child(int Index) const override {
    if (Index < 0 || Index >= childCount()) return nullptr;
    return Registered(
        Index, [&] { return new TScoreCellAccessible(Grid(), Index % columnCount(), Index / columnCount()); });
  }
  int indexOfChild(const QAccessibleInterface *Child) const override {
    const QAccessibleTableCellInterface *Cell =
        Child ? const_cast<QAccessibleInterface *>(Child)->tableCellInterface() : nullptr;
    return Cell && Child->parent() == this ? Cell->rowIndex() * columnCount() + Cell->columnIndex() : -1;
  }
  QAccessibleInterface *childAt(int X, int Y) const override {
    for (int I = 0; I < childCount(); ++I)
      if (QAccessibleInterface *Cell = child(I); Cell->rect().contains(X, Y)) return Cell;
    return nullptr;
  }
  QAccessibleInterface *focusChild() const override {
    const int Col = Grid()->GetCursorCol(), Row = Grid()->GetCursorRow();
    return Col >= 0 && Col < columnCount() && Row >= 0 && Row < rowCount() ? cellAt(Row, Col) : nullptr;
  }
  void *interface_cast(QAccessible::InterfaceType Type) override {
    if (Type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(Type);
  }

  // Row Row's or column Col's header (exactly one of them not -1).
  QAccessibleInterface *Header(int Row, int Col) const {
    const bool IsRow = Row >= 0;
    return Registered(IsRow ? -1 - Row : -1000 - Col, [&] {
      return new TTextAccessible(Grid(), IsRow ? QAccessible::RowHeader : QAccessible::ColumnHeader,
                                 IsRow ? rowDescription(Row) : columnDescription(Col));
    });
  }

  // QAccessibleTableInterface
  QAccessibleInterface *caption() const override { return nullptr; }
  QAccessibleInterface *summary() const override { return nullptr; }
  QAccessibleInterface *cellAt(int Row, int Col) const override {
    return Row >= 0 && Row < rowCount() && Col >= 0 && Col < columnCount() ? child(Row * columnCount() + Col)
                                                                           : nullptr;
  }
  int columnCount() const override { return static_cast<int>(Grid()->AccessibleColNames().size()); }
  int rowCount() const override { return static_cast<int>(Grid()->AccessibleRowNames().size()); }
  QString columnDescription(int Col) const override { return Grid()->AccessibleColNames().value(Col); }
  QString rowDescription(int Row) const override { return Grid()->AccessibleRowNames().value(Row); }
  int selectedCellCount() const override { return 0; }
  QList<QAccessibleInterface *> selectedCells() const override { return {}; }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return 0; }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override { return {}; }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int) const override { return false; }
  bool selectRow(int) override { return false; }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent *) override {}

 private:
  TScoreGrid *Grid() const { return static_cast<TScoreGrid *>(widget()); }
  template <typename TMake>
  QAccessibleInterface *Registered(int Key, TMake Make) const {
    if (const auto Found = Made.find(Key); Found != Made.end())
      return QAccessible::accessibleInterface(Found->second);
    QAccessibleInterface *Interface = Make();
    Made[Key] = QAccessible::registerAccessibleInterface(Interface);
    return Interface;
  }
  mutable std::map<int, QAccessible::Id> Made;
};

QList<QAccessibleInterface *> TScoreCellAccessible::columnHeaderCells() const {
  auto *Table = static_cast<TScoreGridAccessible *>(parent());
  return {Table->Header(-1, Col)};
}

QList<QAccessibleInterface *> TScoreCellAccessible::rowHeaderCells() const {
  auto *Table = static_cast<TScoreGridAccessible *>(parent());
  return {Table->Header(Row, -1)};
}

QAccessibleInterface *GameAccessibleFactory(const QString &, QObject *Object) {
  if (auto *Grid = qobject_cast<TScoreGrid *>(Object)) return new TScoreGridAccessible(Grid);
  if (Object && Object->isWidgetType() &&
      (Object->property(ReaderName).isValid() || Object->property(ReaderDescription).isValid()))
    return new TReaderAccessible(static_cast<QWidget *>(Object));
  return nullptr;
}

int FilledScore(const TScoreCard &Card, int Col, int EntryRow) {
  return EntryRow < UpperRows ? Card.TopScore[Col][EntryRow] : Card.BottomScore[Col][EntryRow - UpperRows];
}

QString FaceName(int Value) {
  static const char *const Names[] = {"one", "two", "three", "four", "five", "six"};
  return Value >= 0 && Value < DieFaceCount ? QLatin1String(Names[Value]) : QString();
}

// Sets a reader text; an interface made before the widget had one is made
// anew when next asked for.
void SetReaderText(QWidget *Widget, const char *Kind, const QString &Text) {
  const bool Known = Widget->property(ReaderName).isValid() || Widget->property(ReaderDescription).isValid();
  Widget->setProperty(Kind, Text);
  if (Known) return;
  if (QAccessibleInterface *Made = QAccessible::queryAccessibleInterface(Widget))
    QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(Made));
}

}  // namespace

void InstallGameAccessibility() {
  // Once, after the application object (the factory installed last is asked
  // first, so this one comes before the toolkit's own) and before any widget
  // of the window is asked for (a widget keeps the interface it was first
  // given).
  static const bool Installed = [] {
    QAccessible::installFactory(GameAccessibleFactory);
    return true;
  }();
  (void)Installed;
}

void NotifyCellFocus(TScoreGrid *Grid) {
  if (!QAccessible::isActive()) return;
  // Once the event in hand is done: a focus given to the grid itself is
  // reported after its focus-in event, and would otherwise stand last.
  QTimer::singleShot(0, Grid, [Grid] {
    QAccessibleInterface *Table = QAccessible::queryAccessibleInterface(Grid);
    QAccessibleTableInterface *Cells = Table ? Table->tableInterface() : nullptr;
    const int Col = Grid->GetCursorCol(), Row = Grid->GetCursorRow();
    if (!Cells || Col < 0 || Col >= Cells->columnCount() || Row < 0 || Row >= Cells->rowCount()) return;
    QAccessibleEvent Event(Grid, QAccessible::Focus);
    Event.setChild(Row * Cells->columnCount() + Col);
    QAccessible::updateAccessibility(&Event);
  });
}

// --- the reader ---

TGameReader::TGameReader(TMainForm &AForm, Ui::TMainForm &AUi) : Form(AForm), Ui(AUi) {
  QStringList Columns;
  for (int Col = 0; Col < ColumnCount; ++Col) Columns << QStringLiteral("column %1").arg(Col + 1);
  const auto Names = [](std::initializer_list<const QLabel *> Labels) {
    QStringList Texts;
    for (const QLabel *Label : Labels) Texts << Plain(Label->text());
    return Texts;
  };
  Ui.TopGrid->SetAccessibleHeaders(Names({Ui.Label1, Ui.Label2, Ui.Label3, Ui.Label4, Ui.Label5, Ui.Label6}),
                                   Columns);
  Ui.BottomGrid->SetAccessibleHeaders(
      Names({Ui.LabelTOK, Ui.LabelFOK, Ui.LabelFH, Ui.LabelSS, Ui.LabelLS, Ui.LabelQ, Ui.LabelC}), Columns);
  Ui.TopTotal->SetAccessibleHeaders(Names({Ui.LabelTotal, Ui.LabelBonus, Ui.LabelUppertotal}), Columns);
  Ui.BottomTotal->SetAccessibleHeaders(Names({Ui.Label7, Ui.Label8, Ui.Label9, Ui.Label10}), Columns);
  Ui.TopGrid->setAccessibleName(QStringLiteral("Upper section"));
  Ui.BottomGrid->setAccessibleName(QStringLiteral("Lower section"));
  Ui.TopTotal->setAccessibleName(QStringLiteral("Upper totals"));
  Ui.BottomTotal->setAccessibleName(QStringLiteral("Lower totals"));

  for (int I = 0; I < DiceCount; ++I) {
    QObject::connect(Die(I), &QAbstractButton::toggled, &FContext, [this] { Update(); });
    QObject::connect(Die(I), &QAbstractButton::clicked, &FContext, [this, I] { DiePressed(I); });
  }
  auto *News = new TTextAccessible(&Form, QAccessible::Notification, {});
  QAccessible::registerAccessibleInterface(News);
  FNews = News;
  Update();
}

TGameReader::~TGameReader() { QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(FNews)); }

QAbstractButton *TGameReader::Die(int Index) const {
  const std::array<QAbstractButton *, DiceCount> Dice = {Ui.SpeedButton1, Ui.SpeedButton2, Ui.SpeedButton3,
                                                         Ui.SpeedButton4, Ui.SpeedButton5};
  return Dice.at(Index);
}

QString TGameReader::BoxName(int Col, int EntryRow) const {
  const TScoreGrid *Grid = EntryRow < UpperRows ? Ui.TopGrid : Ui.BottomGrid;
  return Grid->AccessibleRowNames().value(EntryRow < UpperRows ? EntryRow : EntryRow - UpperRows) +
         QLatin1String(", ") + Grid->AccessibleColNames().value(Col);
}

QString TGameReader::DieText(int Index) const {
  const int Face = Form.ShownDie(Index);
  if (Face == NotThrown) return QStringLiteral("Die %1: not rolled yet").arg(Index + 1);
  return QStringLiteral("Die %1: %2, %3")
      .arg(Index + 1)
      .arg(FaceName(Face), Form.IsDieHeld(Index) ? "held" : "not held");
}

QString TGameReader::RollsLeft() const {
  const int Left = std::max(0, TGame::MaxRolls - Form.Game().RollCount());
  return Left == 0   ? QStringLiteral("no rolls left")
         : Left == 1 ? QStringLiteral("1 roll left")
                     : QStringLiteral("%1 rolls left").arg(Left);
}

void TGameReader::Update() {
  // The faces of a roll in progress are not news; its result is.
  TGame &Game = Form.Game();
  if (Game.IsRolling()) return;
  QStringList Faces;
  for (int I = 0; I < DiceCount; ++I) {
    SetReaderText(Die(I), ReaderName, DieText(I));
    if (Form.ShownDie(I) != NotThrown) Faces << FaceName(Form.ShownDie(I));
  }
  const TScoreCard &Card = Game.Card();
  for (int Col = 0; Col < ColumnCount; ++Col) {
    for (int Row = 0; Row < EntryRows; ++Row) {
      QString Value;
      if (Card.IsFilled(Col, Row)) {
        Value = QString::number(FilledScore(Card, Col, Row));
      } else {
        const int Score = Game.PreviewScore(Col, Row);
        Value = Score >= 0 ? QStringLiteral("open, this throw scores %1").arg(Score) : QStringLiteral("open");
      }
      (Row < UpperRows ? Ui.TopGrid : Ui.BottomGrid)
          ->SetCellAccessibleValue(Col, Row < UpperRows ? Row : Row - UpperRows, Value);
    }
  }
  const bool Over = Card.FilledCount == BoxCount;
  SetReaderText(Ui.RollButton, ReaderDescription,
                (Faces.isEmpty() ? QStringLiteral("Dice not rolled yet") : Faces.join(QLatin1String(", "))) +
                    QLatin1String("; ") + (Over ? QStringLiteral("the game is over") : RollsLeft()));
  // At the end it has the focus, and says what to do next in its name: a
  // reader says a label's name alone.
  SetReaderText(Ui.GrandTotal, ReaderName,
                Plain(Ui.Label11->text()) + QLatin1String(": ") + Ui.GrandTotal->text() +
                    (Over ? QStringLiteral(". The game is over; Ctrl+N starts a new game.") : QString()));
}

void TGameReader::Say(const QString &News) {
  FSaid << News;
  auto *Notification = static_cast<TTextAccessible *>(FNews);
  Notification->Text = News;
  if (!QAccessible::isActive()) return;
  // The notification appears: a screen reader speaks it at once.
  QAccessibleEvent Shown(FNews, QAccessible::ObjectShow);
  QAccessible::updateAccessibility(&Shown);
}

void TGameReader::NewGame() {
  FPending.clear();
  Update();
  Say(QStringLiteral("New game"));
}

void TGameReader::RollDone() {
  Update();
  QStringList Faces;
  for (int I = 0; I < DiceCount; ++I) Faces << FaceName(Form.ShownDie(I));
  Say(Faces.join(QLatin1String(", ")) + QLatin1String("; ") + RollsLeft());
}

void TGameReader::DiePressed(int Index) {
  if (Form.ShownDie(Index) != NotThrown) Say(DieText(Index));
}

void TGameReader::Entered(int Col, int EntryRow) {
  const int Score = FilledScore(Form.Game().Card(), Col, EntryRow);
  FPending = BoxName(Col, EntryRow) + QLatin1String(": ") + QString::number(Score);
}

void TGameReader::Cleared(int Col, int EntryRow) { FPending = QLatin1String("Undone: ") + BoxName(Col, EntryRow); }

void TGameReader::GrandTotalShown() {
  Update();
  if (FPending.isEmpty()) return;
  QString News = FPending + QLatin1String("; grand total ") + Ui.GrandTotal->text();
  // The entry is counted once the totals are shown.
  if (Form.Game().Card().FilledCount + 1 == BoxCount && !FPending.startsWith(QLatin1String("Undone")))
    News += QLatin1String("; the game is over");
  FPending.clear();
  Say(News);
}

}  // namespace quintor
