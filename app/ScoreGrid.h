#pragma once

// A small text grid for the score card: cells of a default width and height
// separated by one-pixel grid lines, some leading columns and rows fixed
// (drawn grey, never selected), inside a two-pixel sunken border. It reports
// mouse presses and moves in client coordinates, so that a caller's hit test
// is X div (column width + 1) and Y div (row height + 1).

#include <QString>
#include <QWidget>
#include <vector>

namespace quintor {

class TScoreGrid : public QWidget {
  Q_OBJECT
  Q_PROPERTY(int ColCount READ GetColCount WRITE SetColCount)
  Q_PROPERTY(int RowCount READ GetRowCount WRITE SetRowCount)
  Q_PROPERTY(int FixedCols READ GetFixedCols WRITE SetFixedCols)
  Q_PROPERTY(int FixedRows READ GetFixedRows WRITE SetFixedRows)

 public:
  static constexpr int BorderWidth = 2;
  static constexpr int GridLineWidth = 1;
  static constexpr int DefaultColWidth = 30;
  static constexpr int DefaultRowHeight = 16;

  explicit TScoreGrid(QWidget *Parent = nullptr);

  int GetColCount() const { return FColCount; }
  void SetColCount(int Count);
  int GetRowCount() const { return FRowCount; }
  void SetRowCount(int Count);
  int GetFixedCols() const { return FFixedCols; }
  void SetFixedCols(int Count);
  int GetFixedRows() const { return FFixedRows; }
  void SetFixedRows(int Count);
  void SetRowHeight(int Row, int Height);
  int GetRowHeight(int Row) const;

  QString Cell(int Col, int Row) const;
  void SetCell(int Col, int Row, const QString &Text);
  void ClearCells();

  // The cell's rectangle in client coordinates (origin inside the border).
  QRect CellRect(int Col, int Row) const;
  QPoint ClientOrigin() const { return {BorderWidth, BorderWidth}; }

 signals:
  void MouseDown(int X, int Y);
  void MouseMove(int X, int Y);

 protected:
  void paintEvent(QPaintEvent *Event) override;
  void mousePressEvent(QMouseEvent *Event) override;
  void mouseMoveEvent(QMouseEvent *Event) override;

 private:
  void Resize();
  bool InClient(QPoint WidgetPos) const;

  int FColCount = 5;
  int FRowCount = 5;
  int FFixedCols = 1;
  int FFixedRows = 1;
  std::vector<int> FRowHeights = std::vector<int>(5, DefaultRowHeight);
  std::vector<QString> FCells = std::vector<QString>(25);
};

}  // namespace quintor
