// Replacing a file whole: the new content goes to a temporary file in the same folder, is flushed
// to disk and renamed over the original. A failure at any step leaves the original as it was and
// removes the temporary file.
#pragma once

#include <filesystem>
#include <string_view>
#include <system_error>

namespace paylark {

// Throws std::system_error with the errno of the failing step; the message names the file.
void ReplaceFileContents(const std::filesystem::path& path, std::string_view contents);

// Reads a whole file; throws std::system_error (ENOENT for a missing file).
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace paylark
