// The payroll sheet's handling in the main window: filling the grid (StrGrid) from the sheet model
// and the records, the cell being left (normalised and formatted, 有休残日数 carried on), the keys
// typed and Enter's way through the variable rows, and taking the typed figures over into the
// records with the recalculation of every slot. The window's commands reach the sheet only
// through this controller.
#pragma once

#include <QObject>
#include <optional>
#include <vector>

#include "calc/recalculate.h"
#include "calc/sheet_takeover.h"
#include "session/program_state.h"
#include "session/sheet_model.h"
#include "ui/dialog_service.h"

class QKeyEvent;
class QTimer;

namespace paylark::app {

class SheetGrid;

class SheetController : public QObject {
  Q_OBJECT
 public:
  // The grid must outlive the controller.
  SheetController(ui::ProgramState& state, ui::DialogService& dialogs, SheetGrid& grid, QObject* parent = nullptr);
  ~SheetController() override;

  // Fills the grid anew from the period's item lists and records (names, cells, result rows).
  void Fill();
  void ShowResults();         // the result rows of every column from the records
  void RecalculateResults();  // the typed cells into the records and the result rows, no questions
  // Commit and recalculate; false when the calculation stopped with an error (already shown).
  bool CommitAndRecalculate(bool checkHours);
  // Makes a cell current as a click would (leaving the current cell commits it).
  void SelectCell(int column, int row);
  // Normalises and formats the current cell of an employee column.
  void CommitCell();
  void InputMethodOff();

  SheetColumns Columns() const;  // the sheet as the take-over reads it
  const std::vector<SheetRow>& Rows() const { return rows_; }
  int ColumnSlot(int column) const;  // the slot shown in a column, 0 for none
  int CurrentColumn() const { return currentColumn_; }
  int CurrentRow() const { return currentRow_; }

 private:
  void OnCurrentCellChanged(int column, int row);
  void CarryPaidLeave(int column);
  bool CellVariable(int column, int row) const;
  int ColumnPayForm(int column) const;
  bool KeyTyped(QKeyEvent* event);
  void MoveByEnter();
  // The typed cells into the records and every slot calculated; nullopt when the calculation
  // stopped with an error (already shown).
  std::optional<RecalcResult> Recalculate(bool checkHours);

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  SheetGrid& grid_;
  QTimer* Timer1_ = nullptr;  // input method off after the half-width/full-width keys

  std::vector<SheetRow> rows_;
  std::vector<int> columnSlots_;  // column k shows columnSlots_[k − 1]
  int currentColumn_ = 1;
  int currentRow_ = 1;
  bool building_ = false;
  bool committing_ = false;
  QMetaObject::Connection focusConnection_;
};

}  // namespace paylark::app
