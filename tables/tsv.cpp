#include "tables/tsv.h"

#include <algorithm>
#include <charconv>
#include <fstream>

namespace paylark::tables {
namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

TsvFile TsvFile::Read(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path.string() + ": cannot open");
  TsvFile file;
  file.path_ = path;
  std::string line;
  bool header = true;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    std::vector<std::string> fields = SplitTabs(line);
    if (header) {
      file.header_ = std::move(fields);
      header = false;
      continue;
    }
    if (fields.size() != file.header_.size()) {
      throw SourceError(file.Where(file.rows_.size()) + ": " + std::to_string(fields.size()) + " fields, the header has " +
                        std::to_string(file.header_.size()));
    }
    file.rows_.push_back(std::move(fields));
  }
  if (in.bad()) throw SourceError(path.string() + ": read error");
  if (header) throw SourceError(path.string() + ": empty file");
  return file;
}

bool TsvFile::HasColumn(const std::string& name) const {
  return std::find(header_.begin(), header_.end(), name) != header_.end();
}

const std::string& TsvFile::Text(std::size_t row, const std::string& column) const {
  const auto it = std::find(header_.begin(), header_.end(), column);
  if (it == header_.end()) throw SourceError(path_.string() + ": no column " + column);
  if (row >= rows_.size()) throw SourceError(path_.string() + ": no row " + std::to_string(row + 1));
  return rows_[row][static_cast<std::size_t>(it - header_.begin())];
}

std::optional<std::int32_t> TsvFile::OptionalInt(std::size_t row, const std::string& column) const {
  const std::string& text = Text(row, column);
  if (text.empty()) return std::nullopt;
  std::int32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) {
    throw SourceError(Where(row) + ": " + column + " is not an integer: " + text);
  }
  return value;
}

std::int32_t TsvFile::Int(std::size_t row, const std::string& column) const {
  const std::optional<std::int32_t> value = OptionalInt(row, column);
  if (!value) throw SourceError(Where(row) + ": " + column + " is empty");
  return *value;
}

double TsvFile::Rate(std::size_t row, const std::string& column) const {
  const std::string& text = Text(row, column);
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0 || value >= 1) {
    throw SourceError(Where(row) + ": " + column + " is not a rate: " + text);
  }
  return value;
}

std::string TsvFile::Where(std::size_t row) const {
  return path_.string() + ":" + std::to_string(row + 2);
}

}  // namespace paylark::tables
