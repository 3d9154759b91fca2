// The program's life: the write test, the windows created once, the rate tables, the data folder
// and today's yearly file, the first activation of the main window (placement, the tax table
// notice, the start-up password, the period selection) and the settings written at the end.
#pragma once

#include <QString>
#include <filesystem>
#include <memory>

#include "store/program_folders.h"
#include "ui/dialog_service.h"

namespace paylark::app {

// The version text "3.01" of the program (from the project version).
QString VersionText();

// The start-up write test of the program folder and its settings file; on failure its messages
// are shown and the program must end.
bool PassesWriteTest(const std::filesystem::path& programFolder, ui::DialogService& dialogs);

class Program {
 public:
  // Everything in one program folder (its manual in manual/).
  Program(const std::filesystem::path& programFolder, ui::DialogService& dialogs);
  Program(const ProgramFolders& folders, ui::DialogService& dialogs);
  ~Program();

  // Runs the start-up; false when the program must end at once (the messages were shown).
  bool Start();
  // The main window, for the single-instance request to come to the front.
  class TfmMain& MainWindow();

 private:
  struct Parts;
  std::unique_ptr<Parts> parts_;
  void FirstActivation();
};

}  // namespace paylark::app
