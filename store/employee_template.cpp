#include "store/employee_template.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <system_error>

#include "store/atomic_file.h"
#include "store/year_file.h"

namespace paylark {
namespace {

constexpr const char* kTemplateRecordName = "社員情報";

[[noreturn]] void TemplateFailure(const std::filesystem::path& path, int errnum) {
  throw YearFileError(path, 0, kTemplateRecordName, errnum, IoErrorText(errnum));
}

}  // namespace

std::optional<EmployeeRecord> ReadEmployeeTemplate(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    if (ec) TemplateFailure(path, ec.value());
    return std::nullopt;
  }
  std::string contents;
  try {
    contents = ReadWholeFile(path);
  } catch (const std::system_error& e) {
    TemplateFailure(path, e.code().value());
  }
  if (contents.size() < EmployeeRecord::kSize) TemplateFailure(path, kReadPastEndError);
  EmployeeRecord r;
  std::copy_n(contents.begin(), EmployeeRecord::kSize, r.bytes.begin());
  return r;
}

void WriteEmployeeTemplate(const std::filesystem::path& path, const EmployeeRecord& record) {
  try {
    ReplaceFileContents(path, std::string_view(reinterpret_cast<const char*>(record.bytes.data()), record.kSize));
  } catch (const std::system_error& e) {
    TemplateFailure(path, e.code().value());
  }
}

void RemoveEmployeeTemplate(const std::filesystem::path& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
  if (ec) TemplateFailure(path, ec.value());
}

}  // namespace paylark
