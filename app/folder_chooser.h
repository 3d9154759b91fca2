// The folder chooser of backup and restore (TfmFolder): the platform's folder picker, started at
// the folder of the last backup (BackupPath; without one, the user's home folder), and yielding
// only a folder that exists. The data folder itself is never chosen here.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "ui/dialog_service.h"
#include "session/program_state.h"

namespace paylark::app {

class FolderChooser {
 public:
  FolderChooser(ui::ProgramState& state, ui::DialogService& dialogs);

  // The chosen folder without a trailing separator; nullopt when the picker was cancelled. A
  // preset folder that is gone is reported and the picker starts at its root instead; a chosen
  // folder that does not exist is reported and the picker is shown again. The caller writes
  // BackupPath after a successful backup.
  std::optional<std::filesystem::path> Choose(std::string_view caption);

  // Where the picker starts when no backup was ever made: the home folder, else the root of the
  // program folder's path.
  std::filesystem::path DefaultFolder() const;

  // The user's home folder ($HOME); tests set it.
  std::filesystem::path homeFolder;

 private:
  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
};

}  // namespace paylark::app
