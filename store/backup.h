// Backup and restore: every "*.dat" file of one folder, the declarations database (年末調整.db,
// through SQLite's backup) and the settings file copied into another.
// Each file is copied to a temporary name in the target folder, flushed and renamed, so every
// target file is either the old one or the new one, whole. The copy stops at the first failure;
// files already copied stay copied.
#pragma once

#include <filesystem>
#include <string>

namespace paylark {

struct CopyResult {
  bool ok = true;
  std::string error;  // which file and why, for the log; the screens show their own message
};

// Copies the data files of `dataFolder` and then `settingsFile` into `targetFolder`.
CopyResult BackupDataFiles(const std::filesystem::path& dataFolder, const std::filesystem::path& settingsFile,
                           const std::filesystem::path& targetFolder);
// Copies the "*.dat" files of `sourceFolder` into `dataFolder`, then the source folder's settings
// file (same name as `settingsFile`) over `settingsFile`.
CopyResult RestoreDataFiles(const std::filesystem::path& sourceFolder, const std::filesystem::path& dataFolder,
                            const std::filesystem::path& settingsFile);

}  // namespace paylark
