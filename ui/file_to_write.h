// Asking where to write a file (a PDF, a CSV): the save dialog, the extension added when the user
// left it off, and the question before an existing file is replaced; No asks for another name.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

#include "ui/dialog_service.h"

namespace paylark::ui {

// `extension` is ".pdf" or ".csv"; nullopt when the user cancelled.
std::optional<std::filesystem::path> AskFileToWrite(DialogService& dialogs, std::string_view title,
                                                    const std::filesystem::path& suggested, std::string_view filter,
                                                    std::string_view extension);

}  // namespace paylark::ui
