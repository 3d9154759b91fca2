// TfmRefData (参照するデータの選択): offered while the period selection prepares a period that was
// never saved and could take nothing over from its natural predecessor. The user picks any saved
// month of any yearly file as the source of the company information and the employee table, or
// starts from nothing.
#pragma once

#include <QDialog>
#include <vector>

#include "session/period_selection_rules.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QListWidget;
class QPushButton;

namespace paylark::app {

class TfmRefData : public QDialog {
  Q_OBJECT
 public:
  TfmRefData(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);

  // Shown modally for state.open.periodIndex. The period in memory is zeroed first; on OK
  // (true) its company information and employee table are the chosen month's, otherwise they
  // stay zero. The figure tables are zero either way. With no saved month anywhere the user is
  // told so and the result is false without the list being shown.
  bool Run(bool laterDataExists);

 public slots:
  void accept() override;
  void reject() override;

 private:
  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  std::vector<ReferenceMonth> months_;
  QListWidget* list_;
  QPushButton* ok_;
  QPushButton* cancel_;
};

}  // namespace paylark::app
