// The payroll sheet's grid widget (StrGrid). Cells are addressed as the sheet addresses them:
// column 0 is the fixed column of item names and row 0 the fixed row of employee names (the grid's
// two headers), columns 1..30 and rows 1..n are cells. The grid knows nothing of payroll: the main
// window tells it through callbacks which cells are drawn as variable and which typed keys it
// takes, and hears of every change of the current cell.
#pragma once

#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <functional>

#include <QLineEdit>

namespace paylark::app {

class SheetGrid;

// Draws the cells and supplies the cell editor; keys typed into the editor go through the grid's
// key callback first.
class SheetDelegate : public QStyledItemDelegate {
 public:
  explicit SheetDelegate(SheetGrid* grid);
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  // The open cell editor, if any.
  QLineEdit* Editor() const { return editor_; }

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  SheetGrid* grid_;
  mutable QPointer<QLineEdit> editor_;
};

class SheetGrid : public QTableWidget {
 public:
  static constexpr int kColumns = 31;  // with the fixed column
  static constexpr int kColumnWidth = 100;
  static constexpr int kRowHeight = 24;

  explicit SheetGrid(QWidget* parent = nullptr);

  // Sheet coordinates (column 0 and row 0 are the fixed names).
  int RowCount() const { return rowCount() + 1; }
  QString Cell(int column, int row) const;
  void SetCell(int column, int row, const QString& text);
  void SetEditable(int column, int row, bool editable);
  int CurrentColumn() const { return currentColumn() + 1; }
  int CurrentRow() const { return currentRow() + 1; }
  void SetCurrent(int column, int row);
  // Opens the editor on the current cell (when it is editable).
  void OpenEditor();
  // Hands the open editor's text to its cell and closes it.
  void CloseEditor();

  // Whether a cell is drawn with its text in the window colours (else in the disabled colour).
  std::function<bool(int column, int row)> cellVariable;
  // A key typed on the grid or into the cell editor; true when it was consumed.
  std::function<bool(QKeyEvent* event, bool inEditor)> keyTyped;
  // A key released (the input method keys).
  std::function<void(QKeyEvent* event)> keyReleased;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  SheetDelegate* delegate_;
};

}  // namespace paylark::app
