// TfmInpPass (パスワード入力): the start-up password prompt. The stored password is read once,
// when the prompt is created; a change made later in the run applies from the next start.
#pragma once

#include <QDialog>
#include <string>

#include "ui/dialog_service.h"
#include "session/program_state.h"

class QLineEdit;

namespace paylark::app {

class TfmInpPass : public QDialog {
  Q_OBJECT
 public:
  TfmInpPass(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);

  // True when no password is set or the right one was typed.
  bool Passed() const { return passed_; }
  // At start-up: asks for the password (modally) unless already passed; the program goes on to
  // the period selection only when this is true.
  bool RunAtStartUp();

 public slots:
  void accept() override;

 private:
  ui::DialogService& dialogs_;
  std::string stored_;  // the stored form (hashed or older), empty = no password
  bool passed_ = false;
  QLineEdit* password_;
};

}  // namespace paylark::app
