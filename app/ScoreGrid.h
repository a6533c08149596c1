#pragma once

// A small text grid for the score card: cells of a default width and height
// separated by one-pixel grid lines, some leading columns and rows fixed
// (drawn grey, never selected), inside a two-pixel sunken border. It reports
// mouse presses and moves in client coordinates, and answers which cell is
// under such a point (CellAt) and where a cell is (CellRect).
//
// The lines and the border are laid out in device pixels: at any scale each
// grid line and each ring of the border is the same whole number of device
// pixels wide. A caller may stand a cursor on one cell (drawn as a ring in
// the highlight colour) and name rows and columns for an assistive tool,
// which reads the grid as a table (see Accessibility.h).

#include <QString>
#include <QStringList>
#include <QWidget>
#include <optional>
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
  // The cell under a point in client coordinates, as MouseDown and MouseMove
  // report it; false outside the cells. A grid line belongs to the cell left
  // of or above it.
  bool CellAt(int X, int Y, int &Col, int &Row) const;
  QPoint ClientOrigin() const { return {BorderWidth, BorderWidth}; }

  // The cell that shows the cursor; a column or row of -1 shows none.
  void SetCursorCell(int Col, int Row);
  int GetCursorCol() const { return FCursorCol; }
  int GetCursorRow() const { return FCursorRow; }

  // Accessible texts. The first RowNames.size() rows and ColNames.size()
  // columns are the table an assistive tool reads, each cell named by its
  // row and column; a cell without an accessible value of its own reads as
  // its text.
  void SetAccessibleHeaders(const QStringList &RowNames, const QStringList &ColNames);
  const QStringList &AccessibleRowNames() const { return FRowNames; }
  const QStringList &AccessibleColNames() const { return FColNames; }
  void SetCellAccessibleValue(int Col, int Row, const QString &Value);
  QString CellAccessibleValue(int Col, int Row) const;

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
  bool Valid(int Col, int Row) const { return Col >= 0 && Col < FColCount && Row >= 0 && Row < FRowCount; }
  size_t Index(int Col, int Row) const { return static_cast<size_t>(Row) * FColCount + Col; }

  int FColCount = 5;
  int FRowCount = 5;
  int FFixedCols = 1;
  int FFixedRows = 1;
  std::vector<int> FRowHeights = std::vector<int>(5, DefaultRowHeight);
  std::vector<QString> FCells = std::vector<QString>(25);
  QStringList FRowNames;
  QStringList FColNames;
  std::vector<std::optional<QString>> FValues = std::vector<std::optional<QString>>(25);
  int FCursorCol = -1;
  int FCursorRow = -1;
};

}  // namespace quintor
