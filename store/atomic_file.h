// Replacing a file whole: the new content goes to a temporary file in the same folder, is flushed
// to disk and renamed over the original. A failure at any step leaves the original as it was and
// removes the temporary file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string_view>
#include <system_error>

namespace paylark {

// Throws std::system_error with the errno of the failing step; the message names the file.
void ReplaceFileContents(const std::filesystem::path& path, std::string_view contents);

// Bytes to write at an offset of a file.
struct FilePatch {
  std::uint64_t offset = 0;
  std::string_view bytes;
};

// Replaces a file whole, as ReplaceFileContents does, with its own content and the patches written
// over it; a file shorter than `needed` bytes is first extended with zeros to `extendTo` bytes. The
// unchanged bytes are copied from file to file by the system and never pass through memory.
// Throws std::system_error as ReplaceFileContents does (ENOENT when the file is not there).
void ReplaceFilePatched(const std::filesystem::path& path, std::uint64_t needed, std::uint64_t extendTo,
                        std::initializer_list<FilePatch> patches);

// Reads a whole file; throws std::system_error (ENOENT for a missing file).
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace paylark
