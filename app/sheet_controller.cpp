#include "app/sheet_controller.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputMethod>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTimer>
#include <algorithm>

#include "app/sheet_grid.h"
#include "calc/income_tax.h"
#include "calc/recalculate.h"
#include "store/year_file.h"
#include "ui/dialog_reporter.h"
#include "ui/message_lines.h"
#include "ui/qt_text.h"

namespace paylark::app {
namespace {

using ui::FromUtf8;
using ui::MsgAnswer;
using ui::MsgButtons;
using ui::MsgKind;
using ui::ToUtf8;

bool IsInputMethodKey(int key) {
  return key == Qt::Key_Kanji || key == Qt::Key_Zenkaku_Hankaku || key == Qt::Key_Zenkaku ||
         key == Qt::Key_Hankaku;
}

}  // namespace

SheetController::SheetController(ui::ProgramState& state, ui::DialogService& dialogs, SheetGrid& grid,
                                 QObject* parent)
    : QObject(parent), state_(state), dialogs_(dialogs), grid_(grid) {
  Timer1_ = new QTimer(this);
  Timer1_->setObjectName(QStringLiteral("Timer1"));
  Timer1_->setSingleShot(true);
  Timer1_->setInterval(100);
  connect(Timer1_, &QTimer::timeout, this, [this] { InputMethodOff(); });

  grid_.cellVariable = [this](int column, int row) { return CellVariable(column, row); };
  grid_.keyTyped = [this](QKeyEvent* event, bool) { return KeyTyped(event); };
  grid_.keyReleased = [this](QKeyEvent* event) {
    if (IsInputMethodKey(event->key())) Timer1_->start();
  };
  connect(grid_.selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current, const QModelIndex&) {
            if (!building_ && current.isValid()) OnCurrentCellChanged(current.column() + 1, current.row() + 1);
          });
  // Leaving the grid commits the cell being edited.
  focusConnection_ = connect(qApp, &QApplication::focusChanged, this, [this](QWidget* old, QWidget* now) {
    auto inGrid = [this](QWidget* w) { return w && (w == &grid_ || grid_.isAncestorOf(w)); };
    if (inGrid(old) && !inGrid(now)) CommitCell();
  });
}

SheetController::~SheetController() {
  // The grid may stay a moment longer: nothing of it may call back into the controller.
  disconnect(focusConnection_);
  grid_.cellVariable = nullptr;
  grid_.keyTyped = nullptr;
  grid_.keyReleased = nullptr;
}

// ---------------------------------------------------------------------------------------------
// Filling

void SheetController::Fill() {
  const ItemKind kind = state_.PeriodKind();
  building_ = true;
  grid_.CloseEditor();
  rows_ = BuildSheetRows(state_.Lists(kind), state_.options, kind);
  columnSlots_ = ActiveSlots(state_.Period());
  const int rowCount = static_cast<int>(rows_.size());
  // The result rows follow the input rows; they are not in rows_, so nothing takes them as input.
  grid_.setRowCount(rowCount + static_cast<int>(kResultRowNames.size()));
  for (int r = 1; r <= rowCount; ++r) grid_.SetCell(0, r, FromUtf8(rows_[static_cast<std::size_t>(r - 1)].name));
  for (std::size_t i = 0; i < kResultRowNames.size(); ++i) {
    grid_.SetCell(0, rowCount + 1 + static_cast<int>(i), FromUtf8(std::string(kResultRowNames[i])));
  }
  for (int c = 1; c < SheetGrid::kColumns; ++c) {
    const int slot = ColumnSlot(c);
    grid_.SetCell(c, 0, slot ? FromUtf8(state_.Period().Employee(slot).Name()) : QString());
    const int payForm = ColumnPayForm(c);
    for (int r = 1; r <= rowCount; ++r) {
      const SheetRow& row = rows_[static_cast<std::size_t>(r - 1)];
      QString text;
      if (slot) {
        text = FromUtf8(FormatCell(row.kind, CellValue(state_.Period(), slot, row, state_.options, kind),
                                   state_.options.timeStyle));
      }
      grid_.SetCell(c, r, text);
      grid_.SetEditable(c, r, slot != 0 && row.VariableFor(payForm));
    }
    for (std::size_t i = 0; i < kResultRowNames.size(); ++i) {
      grid_.SetEditable(c, rowCount + 1 + static_cast<int>(i), false);
    }
  }
  ShowResults();
  currentColumn_ = std::clamp(currentColumn_, 1, SheetGrid::kColumns - 1);
  currentRow_ = std::clamp(currentRow_, 1, std::max(rowCount, 1));
  if (rowCount > 0) grid_.SetCurrent(currentColumn_, currentRow_);
  building_ = false;
  grid_.viewport()->update();
}

void SheetController::ShowResults() {
  const int first = static_cast<int>(rows_.size()) + 1;
  for (int c = 1; c < SheetGrid::kColumns; ++c) {
    const int slot = ColumnSlot(c);
    const std::array<std::string, 3> cells = slot ? ResultCells(state_.Period(), slot) : std::array<std::string, 3>{};
    for (int i = 0; i < 3; ++i) grid_.SetCell(c, first + i, FromUtf8(cells[static_cast<std::size_t>(i)]));
  }
}

int SheetController::ColumnSlot(int column) const {
  if (column < 1 || column > static_cast<int>(columnSlots_.size())) return 0;
  return columnSlots_[static_cast<std::size_t>(column - 1)];
}

int SheetController::ColumnPayForm(int column) const {
  const int slot = ColumnSlot(column);
  return slot ? state_.Period().Employee(slot).PayFormCode() : 0;
}

bool SheetController::CellVariable(int column, int row) const {
  if (row < 1 || row > static_cast<int>(rows_.size())) return true;
  return rows_[static_cast<std::size_t>(row - 1)].VariableFor(ColumnPayForm(column));
}

SheetColumns SheetController::Columns() const {
  SheetColumns sheet;
  for (const SheetRow& row : rows_) sheet.rowNames.push_back(row.name);
  sheet.cells.resize(SheetGrid::kColumns - 1);
  for (int c = 1; c < SheetGrid::kColumns; ++c) {
    auto& column = sheet.cells[static_cast<std::size_t>(c - 1)];
    for (int r = 1; r <= static_cast<int>(rows_.size()); ++r) column.push_back(ToUtf8(grid_.Cell(c, r)));
  }
  return sheet;
}

// ---------------------------------------------------------------------------------------------
// Cells

void SheetController::SelectCell(int column, int row) {
  if (row < 1 || row > static_cast<int>(rows_.size()) || column < 1 || column >= SheetGrid::kColumns) return;
  if (grid_.CurrentColumn() == column && grid_.CurrentRow() == row) {
    if (state_.options.autoSelect) grid_.OpenEditor();
    return;
  }
  grid_.SetCurrent(column, row);
}

void SheetController::OnCurrentCellChanged(int column, int row) {
  if (column != currentColumn_ || row != currentRow_) {
    CommitCell();
    if (currentRow_ >= 1 && currentRow_ <= static_cast<int>(rows_.size()) &&
        rows_[static_cast<std::size_t>(currentRow_ - 1)].name == kPaidLeaveTakenRow) {
      CarryPaidLeave(currentColumn_);
    }
    // The result rows follow what was typed.
    if (!building_ && ColumnSlot(currentColumn_) != 0) RecalculateResults();
    currentColumn_ = column;
    currentRow_ = row;
  }
  InputMethodOff();
  if (state_.options.autoSelect) grid_.OpenEditor();
}

void SheetController::CommitCell() {
  if (committing_) return;
  const int column = currentColumn_;
  const int row = currentRow_;
  if (column < 1 || row < 1 || row > static_cast<int>(rows_.size()) || ColumnSlot(column) == 0) return;
  committing_ = true;
  grid_.CloseEditor();
  ui::DialogReporter reporter(dialogs_);
  const std::string text = CommitCellText(ToUtf8(grid_.Cell(column, row)),
                                          rows_[static_cast<std::size_t>(row - 1)].kind, state_.options.timeStyle,
                                          reporter);
  grid_.SetCell(column, row, FromUtf8(text));
  committing_ = false;
}

void SheetController::CarryPaidLeave(int column) {
  const int slot = ColumnSlot(column);
  if (slot == 0) return;
  double previous = kPaidLeaveNotFound;
  try {
    previous = state_.PreviousPaidLeave(slot);
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
    return;
  }
  if (previous == kPaidLeaveNotFound) return;
  const std::string taken = ToUtf8(grid_.Cell(column, currentRow_));
  for (int r = 1; r <= static_cast<int>(rows_.size()); ++r) {
    if (rows_[static_cast<std::size_t>(r - 1)].name != kPaidLeaveBalanceRow) continue;
    if (auto text = CarriedPaidLeave(previous, taken, ToUtf8(grid_.Cell(column, r)))) {
      grid_.SetCell(column, r, FromUtf8(*text));
    }
  }
}

bool SheetController::KeyTyped(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    MoveByEnter();
    return true;
  }
  if (event->key() == Qt::Key_Delete) return false;
  const QList<uint> chars = event->text().toUcs4();
  if (chars.isEmpty()) return false;  // navigation keys
  const RowKind kind = currentRow_ >= 1 && currentRow_ <= static_cast<int>(rows_.size())
                           ? rows_[static_cast<std::size_t>(currentRow_ - 1)].kind
                           : RowKind::Money;
  if (AcceptsCharacter(kind, static_cast<char32_t>(chars.front()))) return false;
  dialogs_.Beep();
  return true;
}

void SheetController::MoveByEnter() {
  const std::optional<int> next = NextEnterRow(rows_, ColumnPayForm(currentColumn_), currentRow_);
  if (!next || *next == currentRow_) {
    CommitCell();
    if (state_.options.autoSelect) grid_.OpenEditor();
    return;
  }
  SelectCell(currentColumn_, *next);
}

void SheetController::InputMethodOff() {
  grid_.setAttribute(Qt::WA_InputMethodEnabled, false);
  if (QGuiApplication::inputMethod()) QGuiApplication::inputMethod()->reset();
}

// ---------------------------------------------------------------------------------------------
// Taking the sheet over

std::optional<RecalcResult> SheetController::Recalculate(bool checkHours) {
  const SheetColumns sheet = Columns();
  ui::DialogReporter reporter(dialogs_);
  try {
    const ui::ProgramState::CalcContext context = state_.MakeCalcContext();
    return RecalculateAll(state_.Period(), sheet, state_.Inputs(context), checkHours, reporter);
  } catch (const CalculationError& e) {
    dialogs_.Error(e.what());
  } catch (const YearFileError& e) {
    dialogs_.Error(e.UserText());
  }
  return std::nullopt;
}

bool SheetController::CommitAndRecalculate(bool checkHours) {
  CommitCell();
  const std::optional<RecalcResult> result = Recalculate(checkHours);
  if (!result) return false;
  // A tax computed without its table is 0, not a tax: the table is named at every such pass.
  if (!result->tableProblems.empty()) dialogs_.Error(ui::JoinLines(result->tableProblems));
  ShowResults();
  for (const std::string& warning : result->hourWarnings) dialogs_.Warning(warning);
  if (!result->taxExceptionSlots.empty() &&
      dialogs_.Message(MsgKind::Warning, kManualTaxQuestionAll, MsgButtons::YesNo) == MsgAnswer::Yes) {
    SwitchTaxToManual(state_.Period(), result->taxExceptionSlots);
    dialogs_.Information(kManualTaxSwitchedAll);
  }
  return true;
}

void SheetController::RecalculateResults() {
  // As commit and recalculate, without its questions: those come with the commands.
  Recalculate(false);
  ShowResults();
}

}  // namespace paylark::app
