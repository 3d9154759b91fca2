// TfmKenhoHyo (健康保険等級表): the grades of the standard monthly remuneration table, one line each,
// for picking an employee's grade. The list is built once per run; the selected grade is
// remembered in the program state.
#pragma once

#include <QDialog>

#include "session/program_state.h"

class QLabel;
class QListWidget;

namespace paylark::screens {

class TfmKenhoHyo : public QDialog {
  Q_OBJECT
 public:
  TfmKenhoHyo(ui::ProgramState& state, QWidget* parent = nullptr);

  // Shows the list modally, centred over `over`, with state.selectedGrade preselected. On OK the
  // chosen grade (1-based) is in state.selectedGrade and the result is true.
  bool Choose(QWidget* over);

 private:
  void BuildListOnce();
  void ShowSelectedGrade();
  void Confirm();
  bool eventFilter(QObject* watched, QEvent* event) override;

  ui::ProgramState& state_;
  QListWidget* list_;
  QLabel* selected_;
  bool built_ = false;
};

}  // namespace paylark::screens
