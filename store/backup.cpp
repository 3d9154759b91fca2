#include "store/backup.h"

#include <algorithm>
#include <system_error>
#include <vector>

#include "store/atomic_file.h"
#include "store/declarations.h"

namespace paylark {
namespace {

std::vector<std::filesystem::path> DataFiles(const std::filesystem::path& folder, std::error_code& ec) {
  std::vector<std::filesystem::path> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
    std::error_code typeError;
    if (entry.is_regular_file(typeError) && entry.path().extension() == ".dat") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool CopyOne(const std::filesystem::path& from, const std::filesystem::path& to, CopyResult& result) {
  try {
    ReplaceFileContents(to, ReadWholeFile(from));
    return true;
  } catch (const std::exception& e) {
    result.ok = false;
    result.error = e.what();
    return false;
  }
}

// The declarations database goes through SQLite's backup, never as a raw copy of an open file;
// a folder without one (an older backup) leaves the target's as it is.
bool CopyDeclarations(const std::filesystem::path& from, const std::filesystem::path& to, bool restore,
                      CopyResult& result) {
  const std::filesystem::path source = from / DeclarationStore::kFileName;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(source, ec)) return true;
  try {
    if (restore)
      RestoreDatabase(source, to / DeclarationStore::kFileName);
    else
      BackupDatabase(source, to / DeclarationStore::kFileName);
    return true;
  } catch (const std::exception& e) {
    result.ok = false;
    result.error = e.what();
    return false;
  }
}

CopyResult CopyAll(const std::filesystem::path& from, const std::filesystem::path& to,
                   const std::filesystem::path& settingsFrom, const std::filesystem::path& settingsTo,
                   bool restore) {
  CopyResult result;
  std::error_code ec;
  if (!std::filesystem::is_directory(to, ec)) return {false, "no folder " + to.string()};
  const auto files = DataFiles(from, ec);
  if (ec) return {false, ec.message() + ": " + from.string()};
  for (const auto& file : files) {
    if (!CopyOne(file, to / file.filename(), result)) return result;
  }
  if (!CopyDeclarations(from, to, restore, result)) return result;
  CopyOne(settingsFrom, settingsTo, result);
  return result;
}

}  // namespace

CopyResult BackupDataFiles(const std::filesystem::path& dataFolder, const std::filesystem::path& settingsFile,
                           const std::filesystem::path& targetFolder) {
  return CopyAll(dataFolder, targetFolder, settingsFile, targetFolder / settingsFile.filename(), false);
}

CopyResult RestoreDataFiles(const std::filesystem::path& sourceFolder, const std::filesystem::path& dataFolder,
                            const std::filesystem::path& settingsFile) {
  return CopyAll(sourceFolder, dataFolder, sourceFolder / settingsFile.filename(), settingsFile, true);
}

}  // namespace paylark
