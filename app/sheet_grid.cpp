#include "app/sheet_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

#include "ui/fonts.h"

namespace paylark::app {
namespace {

const QColor kFixedBackground(0, 136, 238);
const QColor kDisabledBackground(204, 221, 221);  // the disabled-item colour of the payslip item settings
const QColor kDisabledText(128, 128, 128);

QFont SheetFont() {
  QFont font = ui::GothicFont();
  font.setPixelSize(15);
  font.setFixedPitch(true);
  font.setStyleHint(QFont::TypeWriter);
  return font;
}

}  // namespace

SheetDelegate::SheetDelegate(SheetGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* SheetDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QStringLiteral("StrGridEditor"));
  edit->setFrame(false);
  edit->setFont(grid_->font());
  edit->setTextMargins(0, 0, 0, 0);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  editor_ = edit;
  return edit;
}

void SheetDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  const bool variable = !grid_->cellVariable || grid_->cellVariable(index.column() + 1, index.row() + 1);
  const bool selected = option.state & QStyle::State_Selected;
  const QPalette& palette = option.palette;
  QColor background = palette.color(QPalette::Base);
  QColor text = palette.color(QPalette::Text);
  if (selected) {
    background = palette.color(QPalette::Highlight);
    text = palette.color(QPalette::HighlightedText);
  } else if (!variable) {
    background = kDisabledBackground;
    text = kDisabledText;
  }
  painter->save();
  painter->fillRect(option.rect, background);
  if (variable) {
    painter->setPen(text);
    painter->setFont(grid_->font());
    painter->drawText(option.rect.adjusted(2, 4, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                      index.data(Qt::DisplayRole).toString());
  }
  painter->restore();
}

bool SheetDelegate::eventFilter(QObject* object, QEvent* event) {
  auto* editor = qobject_cast<QLineEdit*>(object);
  if (editor && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
      // Tab leaves the grid instead of moving between cells.
      emit commitData(editor);
      emit closeEditor(editor, QAbstractItemDelegate::NoHint);
      QApplication::postEvent(grid_, new QKeyEvent(QEvent::KeyPress, key->key(), key->modifiers()));
      return true;
    }
    if (grid_->keyTyped && grid_->keyTyped(key, true)) return true;
  }
  return QStyledItemDelegate::eventFilter(object, event);
}

SheetGrid::SheetGrid(QWidget* parent) : QTableWidget(0, kColumns - 1, parent), delegate_(new SheetDelegate(this)) {
  setObjectName(QStringLiteral("StrGrid"));
  setItemDelegate(delegate_);
  setFont(SheetFont());
  setAttribute(Qt::WA_InputMethodEnabled, false);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                  QAbstractItemView::AnyKeyPressed);
  setTabKeyNavigation(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);

  QHeaderView* names = horizontalHeader();  // row 0
  names->setSectionResizeMode(QHeaderView::Fixed);
  names->setMinimumSectionSize(kColumnWidth);
  names->setDefaultSectionSize(kColumnWidth);
  names->setFixedHeight(kRowHeight);
  names->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
  names->setSectionsClickable(false);  // a click opens the detail entry; it selects nothing
  names->setHighlightSections(false);
  names->setFont(font());
  QHeaderView* items = verticalHeader();  // column 0
  items->setSectionResizeMode(QHeaderView::Fixed);
  items->setMinimumSectionSize(kRowHeight);
  items->setDefaultSectionSize(kRowHeight);
  items->setFixedWidth(kColumnWidth);
  items->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
  items->setSectionsClickable(false);
  items->setHighlightSections(false);
  items->setFont(font());
  setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; color: white; border: none;"
                               " border-right: 1px solid #8fb8e0; border-bottom: 1px solid #8fb8e0;"
                               " padding-left: 2px; padding-top: 3px; }"
                               "QTableCornerButton::section { background-color: %1; border: none; }")
                    .arg(kFixedBackground.name()));
  QStringList empty;
  for (int c = 1; c < kColumns; ++c) empty << QString();
  setHorizontalHeaderLabels(empty);
}

QString SheetGrid::Cell(int column, int row) const {
  if (row == 0) {
    const QTableWidgetItem* h = horizontalHeaderItem(column - 1);
    return column >= 1 && h ? h->text() : QString();
  }
  if (column == 0) {
    const QTableWidgetItem* v = verticalHeaderItem(row - 1);
    return v ? v->text() : QString();
  }
  const QTableWidgetItem* cell = item(row - 1, column - 1);
  return cell ? cell->text() : QString();
}

void SheetGrid::SetCell(int column, int row, const QString& text) {
  if (row == 0) {
    if (column >= 1) setHorizontalHeaderItem(column - 1, new QTableWidgetItem(text));
    return;
  }
  if (column == 0) {
    setVerticalHeaderItem(row - 1, new QTableWidgetItem(text));
    return;
  }
  QTableWidgetItem* cell = item(row - 1, column - 1);
  if (!cell) {
    cell = new QTableWidgetItem;
    cell->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    setItem(row - 1, column - 1, cell);
  }
  cell->setText(text);
}

void SheetGrid::SetEditable(int column, int row, bool editable) {
  if (!item(row - 1, column - 1)) SetCell(column, row, QString());
  QTableWidgetItem* cell = item(row - 1, column - 1);
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (editable) flags |= Qt::ItemIsEditable;
  cell->setFlags(flags);
}

void SheetGrid::SetCurrent(int column, int row) { setCurrentCell(row - 1, column - 1); }

void SheetGrid::OpenEditor() {
  if (state() == QAbstractItemView::EditingState) {
    if (QLineEdit* editor = delegate_->Editor()) editor->setFocus();  // already open on the current cell
    return;
  }
  const QModelIndex index = currentIndex();
  if (index.isValid() && (index.flags() & Qt::ItemIsEditable)) edit(index);
}

void SheetGrid::CloseEditor() {
  QLineEdit* editor = delegate_->Editor();
  if (!editor || state() != QAbstractItemView::EditingState) return;
  emit delegate_->commitData(editor);
  emit delegate_->closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void SheetGrid::keyPressEvent(QKeyEvent* event) {
  if (keyTyped && keyTyped(event, false)) return;
  QTableWidget::keyPressEvent(event);
}

void SheetGrid::keyReleaseEvent(QKeyEvent* event) {
  if (keyReleased) keyReleased(event);
  QTableWidget::keyReleaseEvent(event);
}

}  // namespace paylark::app
