// TfmSetPass (パスワード設定): sets, changes or removes the start-up password (from the input item
// settings). A new password is stored as a salted hash; an empty one removes the lock. The change
// takes effect at the next start.
#pragma once

#include <QDialog>

#include "ui/dialog_service.h"
#include "session/program_state.h"

class QLineEdit;

namespace paylark::app {

class TfmSetPass : public QDialog {
  Q_OBJECT
 public:
  TfmSetPass(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);

  // Shows the window modally with both fields empty; true when a password was set or removed.
  bool Run();

 public slots:
  void accept() override;  // 設定する

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  QLineEdit* pass1_;
  QLineEdit* pass2_;
};

}  // namespace paylark::app
