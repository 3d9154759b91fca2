// The new-employee template 社員情報.dat in the data folder: one 500-byte employee record that a
// new employee starts from (the employee editor's "次回もこの内容で登録").
#pragma once

#include <filesystem>
#include <optional>

#include "store/period.h"

namespace paylark {

// Reading: nullopt when the file does not exist; a file that cannot be read or is shorter than
// one record throws YearFileError. Writing replaces the file whole; removing a file that is not
// there is no error.
std::optional<EmployeeRecord> ReadEmployeeTemplate(const std::filesystem::path& path);
void WriteEmployeeTemplate(const std::filesystem::path& path, const EmployeeRecord& record);
void RemoveEmployeeTemplate(const std::filesystem::path& path);

}  // namespace paylark
