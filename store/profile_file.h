// The settings file format: sections in square brackets followed by key=value lines, in code
// page 932. Sections and keys are found regardless of case (ASCII), and a value read has the
// blanks around it trimmed and one pair of enclosing double quotes removed. Every write goes to
// disk at once: the file is read again, the one key is changed or added, and the whole file is
// replaced through a temporary file in the same folder. Every other line stays byte for byte
// (comments, unknown keys, broken lines, the file's line ends); a new file gets CRLF line ends.
// There is no cache: every read opens the file, so a change by a writer is seen by the next reader.
//
// Reading rules:
// - A missing file reads as empty; a file that exists but cannot be read is an error.
// - Lines before the first section, lines without '=' and lines starting with ';' hold no key.
// - When a section or a key occurs twice, the first one counts (reading and writing alike).
// - An integer is an optional sign and decimal digits that fit in int, after trimming and quote
//   removal; anything else ("12abc", "1.5", empty) yields the default.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace paylark {

// An integer value in the settings file's form; nullopt when the text is not one.
std::optional<int> ParseProfileInt(std::string_view text);

// The keys of one section as read at one moment (values UTF-8, trimmed, quotes removed).
class ProfileSection {
 public:
  ProfileSection() = default;
  explicit ProfileSection(std::vector<std::pair<std::string, std::string>> entries)
      : entries_(std::move(entries)) {}

  std::optional<std::string> Find(std::string_view key) const;
  std::string Text(std::string_view key, std::string_view def) const;
  int Int(std::string_view key, int def) const;
  bool Flag(std::string_view key, bool def) const;

 private:
  std::vector<std::pair<std::string, std::string>> entries_;  // in file order
};

// Several key writes applied in order and stored with one file replacement. The resulting file
// is the same as that of the single writes one after the other.
class ProfileBatch {
 public:
  void Text(std::string_view section, std::string_view key, std::string_view value);
  // Enclosed in double quotes, so that leading and trailing blanks survive.
  void Quoted(std::string_view section, std::string_view key, std::string_view value);
  void Int(std::string_view section, std::string_view key, int value);
  void Flag(std::string_view section, std::string_view key, bool value);

  struct Entry {
    std::string section, key, value;  // value as it goes into the file (UTF-8)
  };
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  std::vector<Entry> entries_;
};

class ProfileFile {
 public:
  explicit ProfileFile(std::filesystem::path path) : path_(std::move(path)) {}
  const std::filesystem::path& Path() const { return path_; }

  // Values are UTF-8 here and code page 932 in the file. Reading a file that exists but cannot
  // be read throws std::system_error.
  std::string ReadText(std::string_view section, std::string_view key, std::string_view def) const;
  // A missing or unparsable value yields the default.
  int ReadInt(std::string_view section, std::string_view key, int def) const;
  bool ReadFlag(std::string_view section, std::string_view key, bool def) const;
  // Every key of a section in one read (empty when the section is missing).
  ProfileSection ReadSection(std::string_view section) const;

  // Throws std::system_error on a failed file operation and EncodingError for text that has no
  // code page 932 form or a value with a line break; the previous file is then whole and nothing
  // is written. A section or key name that cannot be a name in this format (empty, a line break,
  // ']' in a section, '=' in a key) throws std::invalid_argument.
  void WriteText(std::string_view section, std::string_view key, std::string_view value);
  // Written enclosed in double quotes, so that leading and trailing blanks survive.
  void WriteQuoted(std::string_view section, std::string_view key, std::string_view value);
  void WriteInt(std::string_view section, std::string_view key, int value);
  // "1" or "0".
  void WriteFlag(std::string_view section, std::string_view key, bool value);
  // All entries, checked first, then one file replacement.
  void Write(const ProfileBatch& batch);

 private:
  std::filesystem::path path_;
};

}  // namespace paylark
