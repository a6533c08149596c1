#include "ScoreGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace quintor {

TScoreGrid::TScoreGrid(QWidget *Parent) : QWidget(Parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

void TScoreGrid::Resize() {
  FColCount = std::max(FColCount, 0);
  FRowCount = std::max(FRowCount, 0);
  FRowHeights.resize(FRowCount, DefaultRowHeight);
  FCells.assign(static_cast<size_t>(FColCount) * FRowCount, QString());
  update();
}

void TScoreGrid::SetColCount(int Count) {
  if (Count == FColCount) return;
  FColCount = Count;
  Resize();
}

void TScoreGrid::SetRowCount(int Count) {
  if (Count == FRowCount) return;
  FRowCount = Count;
  Resize();
}

void TScoreGrid::SetFixedCols(int Count) {
  FFixedCols = std::clamp(Count, 0, FColCount);
  update();
}

void TScoreGrid::SetFixedRows(int Count) {
  FFixedRows = std::clamp(Count, 0, FRowCount);
  update();
}

void TScoreGrid::SetRowHeight(int Row, int Height) {
  if (Row < 0 || Row >= FRowCount) return;
  FRowHeights[Row] = std::max(Height, 0);
  update();
}

int TScoreGrid::GetRowHeight(int Row) const {
  return Row >= 0 && Row < FRowCount ? FRowHeights[Row] : 0;
}

QString TScoreGrid::Cell(int Col, int Row) const {
  if (Col < 0 || Col >= FColCount || Row < 0 || Row >= FRowCount) return {};
  return FCells[static_cast<size_t>(Row) * FColCount + Col];
}

void TScoreGrid::SetCell(int Col, int Row, const QString &Text) {
  if (Col < 0 || Col >= FColCount || Row < 0 || Row >= FRowCount) return;
  QString &Stored = FCells[static_cast<size_t>(Row) * FColCount + Col];
  if (Stored == Text) return;
  Stored = Text;
  update(CellRect(Col, Row).translated(ClientOrigin()));
}

void TScoreGrid::ClearCells() {
  std::fill(FCells.begin(), FCells.end(), QString());
  update();
}

QRect TScoreGrid::CellRect(int Col, int Row) const {
  int Top = 0;
  for (int R = 0; R < Row && R < FRowCount; ++R) Top += FRowHeights[R] + GridLineWidth;
  const int Height = Row >= 0 && Row < FRowCount ? FRowHeights[Row] : DefaultRowHeight;
  return {Col * (DefaultColWidth + GridLineWidth), Top, DefaultColWidth, Height};
}

bool TScoreGrid::InClient(QPoint WidgetPos) const {
  return rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth).contains(WidgetPos);
}

void TScoreGrid::paintEvent(QPaintEvent *) {
  QPainter Painter(this);
  const QPalette &Pal = palette();
  const QRect Client = rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth);

  // Sunken two-pixel border: shadow and dark outside, light and face inside.
  auto Frame = [&](const QRect &Box, QPalette::ColorRole TopLeft, QPalette::ColorRole BottomRight) {
    Painter.setPen(Pal.color(QPalette::Active, TopLeft));
    Painter.drawLine(Box.topLeft(), Box.topRight());
    Painter.drawLine(Box.topLeft(), Box.bottomLeft());
    Painter.setPen(Pal.color(QPalette::Active, BottomRight));
    Painter.drawLine(Box.bottomLeft(), Box.bottomRight());
    Painter.drawLine(Box.topRight(), Box.bottomRight());
  };
  Frame(rect(), QPalette::Mid, QPalette::Light);
  Frame(rect().adjusted(1, 1, -1, -1), QPalette::Shadow, QPalette::Button);

  Painter.setClipRect(Client);
  Painter.translate(Client.topLeft());
  // The grid lines show through wherever no cell is drawn.
  Painter.fillRect(QRect(QPoint(0, 0), Client.size()), Pal.color(QPalette::Active, QPalette::Mid));
  // Fixed cells keep the normal text colour even when the grid is disabled:
  // a disabled grid only refuses input.
  const QColor Text = Pal.color(QPalette::Active, QPalette::WindowText);
  for (int Row = 0; Row < FRowCount; ++Row) {
    for (int Col = 0; Col < FColCount; ++Col) {
      const QRect Cell = CellRect(Col, Row);
      if (Cell.left() >= Client.width() || Cell.top() >= Client.height()) continue;
      const bool Fixed = Col < FFixedCols || Row < FFixedRows;
      Painter.fillRect(Cell, Pal.color(QPalette::Active, Fixed ? QPalette::Button : QPalette::Base));
      const QString &Value = FCells[static_cast<size_t>(Row) * FColCount + Col];
      if (Value.isEmpty()) continue;
      Painter.setPen(Text);
      Painter.drawText(Cell.adjusted(2, 0, -1, 0), Qt::AlignLeft | Qt::AlignVCenter, Value);
    }
  }
}

void TScoreGrid::mousePressEvent(QMouseEvent *Event) {
  const QPoint Pos = Event->position().toPoint();
  if (!InClient(Pos)) return QWidget::mousePressEvent(Event);
  emit MouseDown(Pos.x() - BorderWidth, Pos.y() - BorderWidth);
}

void TScoreGrid::mouseMoveEvent(QMouseEvent *Event) {
  const QPoint Pos = Event->position().toPoint();
  if (!InClient(Pos)) return;
  emit MouseMove(Pos.x() - BorderWidth, Pos.y() - BorderWidth);
}

}  // namespace quintor
