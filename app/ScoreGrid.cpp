#include "ScoreGrid.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <map>

#include "Desktop.h"
#include "DevicePixels.h"

namespace quintor {

TScoreGrid::TScoreGrid(QWidget *Parent) : QWidget(Parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

void TScoreGrid::Resize() {
  FColCount = std::max(FColCount, 0);
  FRowCount = std::max(FRowCount, 0);
  FRowHeights.resize(FRowCount, DefaultRowHeight);
  const size_t Size = static_cast<size_t>(FColCount) * FRowCount;
  FCells.assign(Size, QString());
  FValues.assign(Size, std::nullopt);
  FCursorCol = FCursorRow = -1;
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
  if (!Valid(Col, Row)) return {};
  return FCells[Index(Col, Row)];
}

void TScoreGrid::SetCell(int Col, int Row, const QString &Text) {
  if (!Valid(Col, Row)) return;
  QString &Stored = FCells[Index(Col, Row)];
  if (Stored == Text) return;
  Stored = Text;
  // At a fractional scale a cell's device pixels reach a little past its
  // logical rectangle.
  update(CellRect(Col, Row).translated(ClientOrigin()).adjusted(-1, -1, 1, 1));
}

void TScoreGrid::ClearCells() {
  for (int Row = 0; Row < FRowCount; ++Row)
    for (int Col = 0; Col < FColCount; ++Col) SetCell(Col, Row, QString());
}

void TScoreGrid::SetCursorCell(int Col, int Row) {
  if (!Valid(Col, Row)) Col = Row = -1;
  if (Col == FCursorCol && Row == FCursorRow) return;
  FCursorCol = Col;
  FCursorRow = Row;
  update();
}

void TScoreGrid::SetAccessibleHeaders(const QStringList &RowNames, const QStringList &ColNames) {
  FRowNames = RowNames;
  FColNames = ColNames;
}

void TScoreGrid::SetCellAccessibleValue(int Col, int Row, const QString &Value) {
  if (Valid(Col, Row)) FValues[Index(Col, Row)] = Value;
}

QString TScoreGrid::CellAccessibleValue(int Col, int Row) const {
  if (!Valid(Col, Row)) return {};
  const std::optional<QString> &Value = FValues[Index(Col, Row)];
  return Value ? *Value : FCells[Index(Col, Row)];
}

QRect TScoreGrid::CellRect(int Col, int Row) const {
  int Top = 0;
  for (int R = 0; R < Row && R < FRowCount; ++R) Top += FRowHeights[R] + GridLineWidth;
  const int Height = Row >= 0 && Row < FRowCount ? FRowHeights[Row] : DefaultRowHeight;
  return {Col * (DefaultColWidth + GridLineWidth), Top, DefaultColWidth, Height};
}

bool TScoreGrid::CellAt(int X, int Y, int &Col, int &Row) const {
  if (X < 0 || Y < 0) return false;
  Col = X / (DefaultColWidth + GridLineWidth);
  int Bottom = 0;
  for (Row = 0; Row < FRowCount; ++Row)
    if (Y < (Bottom += FRowHeights[Row] + GridLineWidth)) return Col < FColCount;
  return false;
}

bool TScoreGrid::InClient(QPoint WidgetPos) const {
  return rect().adjusted(BorderWidth, BorderWidth, -BorderWidth, -BorderWidth).contains(WidgetPos);
}

void TScoreGrid::paintEvent(QPaintEvent *) {
  QPainter Painter(this);
  const TDevicePixels Device(Painter, *this);
  const QPalette &Pal = palette();
  const int W = Device.LineWidth();
  const QTransform DeviceWorld = Painter.worldTransform();

  // Sunken two-ring border: shadow and dark outside, light and face inside.
  const QRect Outer(0, 0, Device.Width(), Device.Height());
  Device.Ring(Outer, Pal.color(QPalette::Active, QPalette::Mid),
              Pal.color(QPalette::Active, QPalette::Light));
  Device.Ring(Outer.adjusted(W, W, -W, -W), Pal.color(QPalette::Active, QPalette::Shadow),
              Pal.color(QPalette::Active, QPalette::Button));

  // The client area spans whatever the rings leave; its logical pixels are
  // spread over it so that the last grid line ends at its edge.
  const QRect Client = Outer.adjusted(2 * W, 2 * W, -2 * W, -2 * W);
  const int LogicalWidth = std::max(1, width() - 2 * BorderWidth);
  const int LogicalHeight = std::max(1, height() - 2 * BorderWidth);
  auto DeviceX = [&](int X) { return Client.left() + qRound(qreal(X) * Client.width() / LogicalWidth); };
  auto DeviceY = [&](int Y) { return Client.top() + qRound(qreal(Y) * Client.height() / LogicalHeight); };

  Painter.setClipRect(Client);
  // The grid lines show through wherever no cell is drawn.
  Painter.fillRect(Client, GridLineColor(Pal));
  // Fixed cells keep the normal text colour even when the grid is disabled:
  // a disabled grid only refuses input.
  const QColor Text = GridTextColor(Pal);
  for (int Row = 0; Row < FRowCount; ++Row) {
    for (int Col = 0; Col < FColCount; ++Col) {
      const QRect Cell = CellRect(Col, Row);
      if (Cell.left() >= LogicalWidth || Cell.top() >= LogicalHeight) continue;
      // Each cell ends where the next one's grid line begins, so every line
      // is W device pixels wide.
      const QRect Box(QPoint(DeviceX(Cell.left()), DeviceY(Cell.top())),
                      QPoint(DeviceX(Cell.left() + Cell.width() + GridLineWidth) - W - 1,
                             DeviceY(Cell.top() + Cell.height() + GridLineWidth) - W - 1));
      const bool Fixed = Col < FFixedCols || Row < FFixedRows;
      Painter.fillRect(Box, Pal.color(QPalette::Active, Fixed ? QPalette::Button : QPalette::Base));
      QRectF TextBox = Device.ToLogical(Box).adjusted(2, 0, -1, 0);
      if (Col == FCursorCol && Row == FCursorRow) {
        const QColor Cursor = Pal.color(QPalette::Active, QPalette::Highlight);
        Device.Ring(Box, Cursor, Cursor);
        Device.Ring(Box.adjusted(W, W, -W, -W), Cursor, Cursor);
        // The digit keeps a pixel's gap inside the cursor's two rings.
        const int Inside = 2 * W + static_cast<int>(std::ceil(Device.Ratio()));
        TextBox.setLeft(std::max(TextBox.left(), Device.ToLogical(Box.adjusted(Inside, 0, 0, 0)).left()));
      }
      const QString &Value = FCells[Index(Col, Row)];
      if (Value.isEmpty()) continue;
      Painter.setPen(Text);
      Painter.setWorldTransform(QTransform());  // text goes by logical pixels
      Painter.drawText(TextBox, Qt::AlignLeft | Qt::AlignVCenter, Value);
      Painter.setWorldTransform(DeviceWorld);
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
