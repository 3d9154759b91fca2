// Reading and writing the yearly payroll data file.
//
// Reads open the file, transfer exact byte counts at the computed offsets and close it; a file
// that ends too early is an error naming the record that was cut off, never a partial record.
// Writes build the whole new file content (the current file with the header and one block
// patched in) and replace the file through a flushed temporary file, so the previous content
// survives any failure. Memory is changed only after the operation succeeded.
#include "store/year_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <span>
#include <system_error>

#include "store/atomic_file.h"

namespace paylark {
namespace {

struct Part {
  const char* record;  // the record's name in error messages
  std::size_t size;
};

constexpr Part kHeaderPart{"header", FileHeader::kSize};
constexpr Part kBlockParts[] = {
    {"company information", PeriodBlock::kEmployeesOffset},
    {"employee table", PeriodBlock::kAttendanceOffset - PeriodBlock::kEmployeesOffset},
    {"attendance records", PeriodBlock::kPaymentsOffset - PeriodBlock::kAttendanceOffset},
    {"payment records", PeriodBlock::kDeductionsOffset - PeriodBlock::kPaymentsOffset},
    {"deduction records", PeriodBlock::kSize - PeriodBlock::kDeductionsOffset},
};
constexpr std::span<const Part> kMasterParts(kBlockParts, 2);

[[noreturn]] void Fail(const std::filesystem::path& path, int period, const char* record, int errnum) {
  throw YearFileError(path, period, record, errnum, IoErrorText(errnum));
}

void CheckPeriod(int period) {
  if (period < 1 || period > kPeriodCount) {
    throw std::out_of_range("period number out of range: " + std::to_string(period));
  }
}

class ReadOnlyFile {
 public:
  ReadOnlyFile(const std::filesystem::path& path, int period, const char* firstRecord)
      : path_(path), fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
    if (fd_ < 0) Fail(path_, period, firstRecord, errno);
  }
  ~ReadOnlyFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

  // Reads the parts of `period` one after the other from `offset` into `out`, each exactly.
  void Read(int period, off_t offset, std::span<const Part> parts, std::uint8_t* out) {
    for (const Part& part : parts) {
      std::size_t done = 0;
      while (done < part.size) {
        ssize_t n = ::pread(fd_, out + done, part.size - done, offset + static_cast<off_t>(done));
        if (n < 0) {
          if (errno == EINTR) continue;
          Fail(path_, period, part.record, errno);
        }
        if (n == 0) Fail(path_, period, part.record, kReadPastEndError);
        done += static_cast<std::size_t>(n);
      }
      offset += static_cast<off_t>(part.size);
      out += part.size;
    }
  }

 private:
  const std::filesystem::path& path_;
  int fd_;
};

// Writes the header and block `period` over the current content of the file. A file too short
// to hold the block is first filled up with zeros to its full size.
void WriteHeaderAndBlock(const std::filesystem::path& path, int period, const FileHeader& header,
                         const PeriodBlock& block) {
  const char* record = "header and period block";
  // Only the header and the block pass through memory; the rest is copied from the file as it is.
  std::string blockBytes(PeriodBlock::kSize, '\0');
  block.ToBytes(reinterpret_cast<std::uint8_t*>(blockBytes.data()));
  const auto offset = static_cast<std::uint64_t>(BlockOffset(period));
  const std::string_view headerBytes(reinterpret_cast<const char*>(header.bytes.data()), FileHeader::kSize);
  try {
    ReplaceFilePatched(path, offset + PeriodBlock::kSize, static_cast<std::uint64_t>(kYearFileSize),
                       {{0, headerBytes}, {offset, blockBytes}});
  } catch (const std::system_error& e) {
    Fail(path, period, record, e.code().value());
  }
}

}  // namespace

bool CreateYearFile(const std::filesystem::path& path, OpenPeriod& state) {
  std::error_code ec;
  std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
  if (std::filesystem::exists(status)) return false;
  if (ec && ec != std::errc::no_such_file_or_directory) Fail(path, 0, "file", ec.value());
  try {
    ReplaceFileContents(path, std::string(static_cast<std::size_t>(kYearFileSize), '\0'));
  } catch (const std::system_error& e) {
    Fail(path, 0, "file", e.code().value());
  }
  state.header.Clear();
  state.period.Clear();
  return true;
}

void ReadHeader(const std::filesystem::path& path, FileHeader& header) {
  FileHeader read;
  ReadOnlyFile file(path, 0, kHeaderPart.record);
  file.Read(0, 0, std::span(&kHeaderPart, 1), read.bytes.data());
  header = read;
}

void ReadMonthCache(const std::filesystem::path& path, std::array<CompanyRecord, 12>& cache) {
  std::array<CompanyRecord, 12> read;
  ReadOnlyFile file(path, 1, kBlockParts[0].record);
  for (int month = 1; month <= 12; ++month) {
    file.Read(month, BlockOffset(month), std::span(kBlockParts, 1), read[month - 1].bytes.data());
  }
  cache = read;
}

void ReadBlock(const std::filesystem::path& path, int period, PeriodBlock& block) {
  CheckPeriod(period);
  auto buffer = std::make_unique<std::uint8_t[]>(PeriodBlock::kSize);
  ReadOnlyFile file(path, period, kBlockParts[0].record);
  file.Read(period, BlockOffset(period), kBlockParts, buffer.get());
  block.FromBytes(buffer.get());
}

void LoadPeriod(const std::filesystem::path& path, int period, PeriodBlock& block) {
  ReadBlock(path, period, block);
}

void ReadMasterData(const std::filesystem::path& path, int period, PeriodBlock& block) {
  CheckPeriod(period);
  auto buffer = std::make_unique<std::uint8_t[]>(PeriodBlock::kAttendanceOffset);
  ReadOnlyFile file(path, period, kBlockParts[0].record);
  file.Read(period, BlockOffset(period), kMasterParts, buffer.get());
  std::memcpy(block.company.bytes.data(), buffer.get(), CompanyRecord::kSize);
  std::memcpy(block.employees.data(), buffer.get() + PeriodBlock::kEmployeesOffset, sizeof block.employees);
}

void SavePeriod(const std::filesystem::path& path, OpenPeriod& state) {
  CheckPeriod(state.periodIndex);
  FileHeader header = state.header;
  header.SetSaved(state.periodIndex, true);
  WriteHeaderAndBlock(path, state.periodIndex, header, state.period);
  state.header = header;
}

void ClearPeriod(const std::filesystem::path& path, int period, OpenPeriod& state) {
  CheckPeriod(period);
  FileHeader header = state.header;
  header.SetSaved(period, false);
  if (IsBonusPeriod(period)) {
    header.SetBonusMonth(period, 0);
    header.SetBonusDay(period, 0);
  }
  auto empty = std::make_unique<PeriodBlock>();
  WriteHeaderAndBlock(path, period, header, *empty);
  state.header = header;
  if (IsSalaryPeriod(period)) state.monthCache[period - 1].Clear();
  state.period.Clear();
}

}  // namespace paylark
