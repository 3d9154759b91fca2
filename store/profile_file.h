// The settings file format: sections in square brackets followed by key=value lines, in code
// page 932. Sections and keys are found regardless of case (ASCII), enclosing double quotes are
// removed when a value is read, and every write goes to disk at once (the file is rewritten to a
// temporary file in the same folder and renamed over the original). There is no cache: every
// read opens the file, so a change by a writer is seen by the next reader.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace paylark {

class ProfileFile {
 public:
  explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}
  const std::filesystem::path& Path() const { return path_; }

  // Values are UTF-8 here and code page 932 in the file.
  std::string ReadText(std::string_view section, std::string_view key, std::string_view def) const;
  // A missing or unparsable value yields the default.
  int ReadInt(std::string_view section, std::string_view key, int def) const;
  bool ReadFlag(std::string_view section, std::string_view key, bool def) const;

  // Throws std::system_error (or EncodingError) on failure; the previous file is then whole.
  void WriteText(std::string_view section, std::string_view key, std::string_view value);
  // Written enclosed in double quotes, so that leading and trailing blanks survive.
  void WriteQuoted(std::string_view section, std::string_view key, std::string_view value);
  void WriteInt(std::string_view section, std::string_view key, int value);
  void WriteFlag(std::string_view section, std::string_view key, bool value);

 private:
  std::filesystem::path path_;
};

}  // namespace paylark
