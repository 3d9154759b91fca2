// The dialog services on Qt: QMessageBox with the fixed Japanese buttons, the application beep,
// TfmNotice, QFileDialog.
#pragma once

#include "ui/dialog_service.h"

namespace paylark::ui {

class QtDialogService : public DialogService {
 public:
  MsgAnswer Message(MsgKind kind, std::string_view text, MsgButtons buttons) override;
  void Beep() override;
  void Notice(std::string_view text, int milliseconds) override;
  std::vector<std::string> OpenFiles(std::string_view title, std::string_view folder, std::string_view filter,
                                     bool several) override;
  std::optional<std::string> ChooseFolder(std::string_view title, std::string_view startFolder) override;
  std::optional<std::string> SaveFile(std::string_view title, std::string_view suggested,
                                      std::string_view filter) override;
  std::optional<std::string> AskPassword(std::string_view title, std::string_view prompt) override;
};

}  // namespace paylark::ui
