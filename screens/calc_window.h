// TfmCalc (簡易電卓): the four-function calculator with a per-cent key whose result the employee
// editor and the detail entry screen carry into the field being edited. The state machine is
// calc/pocket_calculator.h; this is its window.
#pragma once

#include <QDialog>

#include "ui/dialog_service.h"

namespace paylark::screens {

class TfmCalc : public QDialog {
  Q_OBJECT
 public:
  TfmCalc(ui::DialogService& dialogs, QWidget* parent = nullptr);

  // Shows the calculator modally (cleared, as on every activation); true when closed with OK.
  bool Run();
  // The current value after OK; the caller rounds it for its field.
  long double Value() const;

 private:
  struct Private;
  Private* d_;
};

}  // namespace paylark::screens
