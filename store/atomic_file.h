// Replacing a file whole: the new content goes to a temporary file in the same folder, is flushed
// to disk and renamed over the original. A failure at any step leaves the original as it was and
// removes the temporary file.
//
// How the file is stored is kept: a symbolic link is followed and its final target replaced (the
// link stays a link), the target's owner, group and permission bits carry over to the new file,
// and a file without any write permission bit is read-only and is not replaced (ReadOnlyFileError).
// A file with several hard links is replaced under the name given; its other names keep the
// previous content, as a copy made by linking expects, and the replacement stays atomic.
//
// The temporary file is named ".<name>.tmp-XXXXXX" and is locked (flock) while the save runs, so
// that RemoveStaleTemporaryFiles can tell the leftovers of an interrupted save from a save under
// way.
#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace paylark {

// The file has no write permission bit (or this user may not write it): refused, not replaced.
class ReadOnlyFileError : public std::system_error {
 public:
  explicit ReadOnlyFileError(const std::filesystem::path& path);
};

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
// The file a path finally names: symbolic links followed (relative ones from their folder), at
// most 40 of them (ELOOP beyond). A path that is not a link is returned as it is.
std::filesystem::path FollowLinks(const std::filesystem::path& path);

// Whether a file name is that of a temporary file of ReplaceFileContents.
bool IsTemporaryFileName(const std::string& fileName);
// Deletes the temporary files of interrupted saves in `folder` (regular files named as
// IsTemporaryFileName says that no running save holds locked). Returns the names removed; a
// folder that cannot be read gives none.
std::vector<std::string> RemoveStaleTemporaryFiles(const std::filesystem::path& folder);

// Reads a whole file; throws std::system_error (ENOENT for a missing file).
std::string ReadWholeFile(const std::filesystem::path& path);

}  // namespace paylark
