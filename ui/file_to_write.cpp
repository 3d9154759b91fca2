#include "ui/file_to_write.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <system_error>

namespace paylark::ui {
namespace {

bool HasExtension(const std::filesystem::path& path, std::string_view extension) {
  std::string own = path.extension().string();
  std::transform(own.begin(), own.end(), own.begin(), [](unsigned char c) { return std::tolower(c); });
  return own == extension;
}

}  // namespace

std::optional<std::filesystem::path> AskFileToWrite(DialogService& dialogs, std::string_view title,
                                                    const std::filesystem::path& suggested, std::string_view filter,
                                                    std::string_view extension) {
  std::string offered = suggested.string();
  for (;;) {
    const std::optional<std::string> chosen = dialogs.SaveFile(title, offered, filter);
    if (!chosen) return std::nullopt;
    std::filesystem::path path(*chosen);
    if (!HasExtension(path, extension)) path += std::string(extension);
    std::error_code error;
    if (std::filesystem::exists(path, error) &&
        !dialogs.Confirm("ファイル｢" + path.filename().string() + "｣は既に存在します。\r置き換えますか？")) {
      offered = path.string();
      continue;  // ask again
    }
    return path;
  }
}

}  // namespace paylark::ui
