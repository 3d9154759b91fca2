// The tab-separated source files of the rate tables: UTF-8, one header line naming the columns,
// LF line ends. Fields are looked up by column name, so the column order of a file may change.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace paylark::tables {

// A source file that is missing, malformed or does not fit the table layouts. The message names
// the file and, where there is one, the line.
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TsvFile {
 public:
  static TsvFile Read(const std::filesystem::path& path);

  std::size_t RowCount() const { return rows_.size(); }
  bool HasColumn(const std::string& name) const;
  const std::string& Text(std::size_t row, const std::string& column) const;
  // An integer field; an empty field is nullopt. Anything else that is not an integer is an error.
  std::optional<std::int32_t> OptionalInt(std::size_t row, const std::string& column) const;
  std::int32_t Int(std::size_t row, const std::string& column) const;  // must not be empty
  double Rate(std::size_t row, const std::string& column) const;       // must not be empty
  // "file:line: message" for an error about a row (row 0 is the line after the header).
  std::string Where(std::size_t row) const;
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
  std::vector<std::string> header_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace paylark::tables
