// TfmCalc (簡易電卓): the four-function calculator with a per-cent key whose result the employee
// editor and the detail entry screen carry into the field being edited. The state machine is
// calc/pocket_calculator.h; this is its window.
#pragma once

#include <QDialog>
#include <QPoint>
#include <QTimer>
#include <array>

#include "entry/pocket_calculator.h"
#include "ui/dialog_service.h"

class QAbstractButton;
class QLabel;

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
  // A key by its code (0..9 digits, then the CalcKey codes): the state machine acts, a refused
  // key beeps, the display follows.
  void Press(int code);
  // The keyboard presses the button: it shows pressed for 100 ms.
  void PressFromKeyboard(int code);
  QAbstractButton* ButtonFor(int code) const;
  void keyPressEvent(QKeyEvent* event) override;

  ui::DialogService& dialogs_;
  CalcState calc_;
  QLabel* display_;
  std::array<QAbstractButton*, 10> digits_{};
  std::array<QAbstractButton*, 8> functions_{};  // ． ＋ － × ÷ ＝ ％ Ｃ
  QAbstractButton* shownPressed_ = nullptr;
  QTimer release_;  // releases the pressed look
  bool placed_ = false;
  QPoint lastPosition_;  // kept for the program run
};

}  // namespace paylark::screens
