// TfmOption (入力項目の設定): the program-wide options — the user's names of the fifteen placeholder
// items and of the third bonus, their 課税 and 社保 flags, the yen rounding, the payslip paper, the
// hour style, the print position shifts and the four switches. The screen shows and stores
// state.options; the shell reads them from the settings file (ProgramState::LoadOptions) once at
// start-up, before the screen is first shown.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>

#include "ui/dialog_service.h"
#include "session/program_state.h"

namespace paylark::screens {

class TfmOption : public QDialog {
  Q_OBJECT
 public:
  TfmOption(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);
  ~TfmOption() override;

  // Shows the screen modally; true when closed with OK, the options then stored in state.options
  // and written to the settings file. In first-run mode (state.firstRun) false means the user
  // chose to end the program.
  bool Run();

  // What "パスワードの設定/解除" opens (the start-up password screen); the button is disabled while
  // no hook is set.
  void SetPasswordHook(std::function<void()> openPasswordScreen);

 signals:
  // After OK stored and wrote the options: the payroll sheet is rebuilt and repainted.
  void OptionsChanged();

 public slots:
  // Cancel, Escape and the window's close button: in first-run mode only after the user agreed
  // to end the program.
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormShow();
  void btSysSaveClick();

  struct Private;
  std::unique_ptr<Private> d_;
};

}  // namespace paylark::screens
