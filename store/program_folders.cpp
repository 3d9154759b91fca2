#include "store/program_folders.h"

#include <cstdlib>
#include <fstream>

namespace paylark {
namespace fs = std::filesystem;
namespace {

// The table file every program folder has; its presence marks a self-contained program folder.
constexpr const char* kMarkerTable = "税額表(給与).dat";

fs::path U8(const std::string& s) { return fs::path(std::u8string(s.begin(), s.end())); }

// An absolute path from the environment, or nothing (relative values are ignored, as the XDG
// base directory rules ask).
std::optional<fs::path> AbsoluteFromEnv(const EnvironmentLookup& env, const char* name) {
  const auto value = env(name);
  if (!value) return std::nullopt;
  const fs::path p = U8(*value);
  if (!p.is_absolute()) return std::nullopt;
  return p;
}

std::optional<fs::path> ReadChosenFolder(const EnvironmentLookup& env) {
  const fs::path file = ChosenFolderFile(env);
  if (file.empty()) return std::nullopt;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) return std::nullopt;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
  const fs::path p = U8(line);
  if (line.empty() || !p.is_absolute()) return std::nullopt;
  return p;
}

}  // namespace

EnvironmentLookup ProcessEnvironment() {
  return [](const char* name) -> std::optional<std::string> {
    const char* v = std::getenv(name);
    if (!v || !*v) return std::nullopt;
    return std::string(v);
  };
}

fs::path ChosenFolderFile(const EnvironmentLookup& env) {
  if (const auto config = AbsoluteFromEnv(env, "XDG_CONFIG_HOME")) return *config / "Paylark" / "folder";
  if (const auto home = AbsoluteFromEnv(env, "HOME")) return *home / ".config" / "Paylark" / "folder";
  return {};
}

bool RememberChosenFolder(const EnvironmentLookup& env, const fs::path& folder) {
  const fs::path file = ChosenFolderFile(env);
  if (file.empty()) return false;
  std::error_code ec;
  fs::create_directories(file.parent_path(), ec);
  const fs::path absolute = fs::absolute(folder, ec);
  if (ec) return false;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  const std::u8string text = absolute.lexically_normal().u8string();
  out << std::string(text.begin(), text.end()) << "\n";
  return static_cast<bool>(out.flush());
}

ProgramFolders ResolveProgramFolders(const fs::path& executableDir, const EnvironmentLookup& env) {
  std::error_code ec;
  const fs::path shared = (executableDir / ".." / "share" / "paylark").lexically_normal();
  const bool selfContained = fs::exists(executableDir / kMarkerTable, ec);
  if (selfContained || !fs::is_directory(shared / "tables", ec)) {
    // A program folder: everything beside the executable.
    return {executableDir, executableDir, executableDir / "manual", false};
  }
  ProgramFolders f;
  f.installed = true;
  f.tablesDir = shared / "tables";
  f.manualDir = shared / "manual";
  if (const auto chosen = ReadChosenFolder(env)) {
    f.userDir = *chosen;
  } else if (const auto data = AbsoluteFromEnv(env, "XDG_DATA_HOME")) {
    f.userDir = *data / "Paylark";
  } else if (const auto home = AbsoluteFromEnv(env, "HOME")) {
    f.userDir = *home / ".local" / "share" / "Paylark";
  } else {
    f.userDir = fs::current_path(ec) / "Paylark";
  }
  return f;
}

}  // namespace paylark
