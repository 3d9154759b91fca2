// Where the program finds its files. Started from a folder that holds the rate table files (the
// build's program folder, or a copied program folder), everything lives in that folder as it
// always has: Saldesk.ini, Data/, the table files and manual/. Installed (the executable in
// <prefix>/bin), the table files and the manual come from <prefix>/share/paylark, and the user's
// own files (Saldesk.ini, Data/, PDF output) go to the user's folder: the folder chosen once with
// --folder (remembered in $XDG_CONFIG_HOME/Paylark/folder), else $XDG_DATA_HOME/Paylark, else
// ~/.local/share/Paylark.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace paylark {

struct ProgramFolders {
  std::filesystem::path userDir;    // Saldesk.ini, Data/, output files
  std::filesystem::path tablesDir;  // the four table files and Tables/<date>/
  std::filesystem::path manualDir;  // the manual's HTML pages
  bool installed = false;
};

// An environment variable's value, or nothing when it is unset or empty.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;
EnvironmentLookup ProcessEnvironment();

// The folders for an executable in `executableDir`.
ProgramFolders ResolveProgramFolders(const std::filesystem::path& executableDir, const EnvironmentLookup& env);

// The file that remembers the folder the user chose; empty when neither XDG_CONFIG_HOME nor HOME
// is set.
std::filesystem::path ChosenFolderFile(const EnvironmentLookup& env);
// Remembers `folder` (made absolute) for later starts; false when it cannot be written.
bool RememberChosenFolder(const EnvironmentLookup& env, const std::filesystem::path& folder);

}  // namespace paylark
