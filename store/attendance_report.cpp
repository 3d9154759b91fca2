#include "store/attendance_report.h"

#include <system_error>

#include "store/atomic_file.h"
#include "store/sjis.h"
#include "store/year_file.h"

namespace paylark {

std::string ReportEmployeeName(const std::filesystem::path& file) {
  const std::string name = file.filename().string();
  const std::size_t open = name.find('[');
  const std::size_t close = name.find(']');
  if (open == std::string::npos || close == std::string::npos || close < open) return {};
  return name.substr(open + 1, close - open - 1);
}

std::vector<ReportLine> ReadAttendanceReport(const std::filesystem::path& file) {
  std::string content;
  try {
    content = ReadWholeFile(file);
  } catch (const std::system_error& e) {
    throw YearFileError(file, 0, "attendance report", e.code().value(), IoErrorText(e.code().value()));
  }
  std::vector<ReportLine> lines;
  std::size_t start = 0;
  while (start < content.size()) {
    std::size_t end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) end = content.size();
    const std::string_view line(content.data() + start, end - start);
    // Byte columns of the Shift-JIS line; a double-byte character cut at a column edge is dropped.
    auto columns = [&](std::size_t from, std::size_t count) {
      if (from >= line.size()) return std::string();
      return FromSjis(CutToMaxLength(line.substr(from), count));
    };
    if (!line.empty()) lines.push_back({Trim(columns(0, 12)), columns(14, 6)});
    start = end + 1;
    if (start < content.size() && content[end] == '\r' && content[start] == '\n') ++start;
  }
  return lines;
}

}  // namespace paylark
