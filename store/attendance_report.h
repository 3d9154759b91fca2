// Attendance report files (勤務報告データ, "*.knm"): one employee per file, named by the text between
// the first "[" and the first "]" of the file name; Shift-JIS text lines with the item name in
// bytes 1-12 (blank-padded) and the value in bytes 15-20 (a decimal number or h:mm).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace paylark {

struct ReportLine {
  std::string item;   // trimmed, UTF-8
  std::string value;  // bytes 15-20 as text, UTF-8
};

// The employee name of a report file: the text between the first "[" and the first "]" of the
// file name (without folder); empty when there is none.
std::string ReportEmployeeName(const std::filesystem::path& file);

// Every line of a report file. Throws YearFileError (with its Japanese text) when the file cannot
// be read.
std::vector<ReportLine> ReadAttendanceReport(const std::filesystem::path& file);

}  // namespace paylark
