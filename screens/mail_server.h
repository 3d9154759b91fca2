// TfmMailServer (メール送信サーバーの設定): the SMTP server that sends payslips without the mail
// program. An empty server name switches SMTP sending off. The password is not kept here: the
// mail screen asks for it once a run.
#pragma once

#include <QDialog>

#include "ui/dialog_service.h"
#include "session/program_state.h"

class QComboBox;
class QLineEdit;

namespace paylark::screens {

class TfmMailServer : public QDialog {
  Q_OBJECT
 public:
  TfmMailServer(ui::ProgramState& state, ui::DialogService& dialogs, QWidget* parent = nullptr);

  // Shows the stored settings; true when new ones were stored.
  bool Run();

 public slots:
  void accept() override;

 private:
  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  QLineEdit* edServer_;
  QLineEdit* edPort_;
  QComboBox* cbSecurity_;
  QLineEdit* edUser_;
  QLineEdit* edFrom_;
};

}  // namespace paylark::screens
