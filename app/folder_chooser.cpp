#include "app/folder_chooser.h"

#include <cstdlib>
#include <string>
#include <system_error>

#include "store/app_settings.h"

namespace paylark::app {
namespace {

bool IsFolder(const std::filesystem::path& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::filesystem::path WithoutTrailingSeparator(const std::filesystem::path& path) {
  std::string text = path.string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

FolderChooser::FolderChooser(ui::ProgramState& state, ui::DialogService& dialogs) : state_(state), dialogs_(dialogs) {
  if (const char* home = std::getenv("HOME")) homeFolder = home;
}

std::filesystem::path FolderChooser::DefaultFolder() const {
  if (IsFolder(homeFolder)) return homeFolder;
  std::error_code ec;
  std::filesystem::path program = std::filesystem::absolute(state_.paths.programDir, ec);
  if (ec || program.root_path().empty()) return "/";
  return program.root_path();
}

std::optional<std::filesystem::path> FolderChooser::Choose(std::string_view caption) {
  const std::string preset = LoadBackupPath(state_.settings, DefaultFolder().string());
  std::filesystem::path start = preset;
  if (!IsFolder(start)) {
    dialogs_.Error("指定フォルダ[" + preset + "]がありません。");
    start = DefaultFolder();
  }
  for (;;) {
    const std::optional<std::string> chosen = dialogs_.ChooseFolder(caption, start.string());
    if (!chosen) return std::nullopt;
    if (IsFolder(*chosen)) return WithoutTrailingSeparator(*chosen);
    dialogs_.Error("指定フォルダはありません。");
  }
}

}  // namespace paylark::app
