// Crash trials: a save of the yearly file killed (SIGKILL) at random points. After every kill the
// file is exactly the old or exactly the new version, never a mixture or a short file; the
// temporary files the killed saves leave behind are gone after the next start's clean-up, and the
// file saved beside them is untouched by it.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <thread>

#include "store/atomic_file.h"
#include "store/year_file.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr int kTrials = 300;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The state of version `v`: period 7 with figures that differ in every version.
std::unique_ptr<OpenPeriod> Version(int v) {
  auto state = std::make_unique<OpenPeriod>();
  state->periodIndex = 7;
  state->period.company.SetName("株式会社ひばり商事");
  for (int slot = 1; slot <= kSlotCount; ++slot) {
    state->period.Employee(slot).SetKey("2607" + std::to_string(slot));
    state->period.Payment(slot).Set(Sikyu::BasePay, 200000 + v * 31 + slot);
    state->period.Deduction(slot).Set(Koujo::IncomeTax, v * 7 + slot);
  }
  return state;
}

std::vector<std::string> TemporaryFiles(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (IsTemporaryFileName(entry.path().filename().string())) names.push_back(entry.path().filename().string());
  }
  return names;
}

TEST(CrashTrial, ASaveKilledAnywhereLeavesTheOldOrTheNewFileAndTheNextStartClearsTheLeftovers) {
  TempDir dir;
  const fs::path file = dir / "令和8年給与･賞与.dat";
  OpenPeriod created;
  CreateYearFile(file, created);

  // How long one save takes here: the kills are spread over that time (and a little beyond).
  auto first = Version(0);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 5; ++i) SavePeriod(file, *first);
  const auto saveTime = (std::chrono::steady_clock::now() - start) / 5;
  long maxDelayUs =
      std::max<long>(200, static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(saveTime).count()) * 3 / 2);

  std::mt19937 random(20261210);
  int oldKept = 0, newWritten = 0, leftovers = 0, kills = 0;
  std::string current = ReadBytes(file);
  // On a busy machine a save may take far longer (or shorter) than measured: while the kills have
  // not yet landed on both sides of the rename, the spread is widened (or narrowed) and the trials
  // go on, up to four times their number.
  const int lastTrial = kTrials * 4;
  for (int trial = 1; trial <= lastTrial; ++trial) {
    if (trial > kTrials && oldKept > 0 && newWritten > 0) break;
    if (trial % 50 == 0 && newWritten == 0) maxDelayUs *= 2;
    if (trial % 50 == 0 && oldKept == 0) maxDelayUs = std::max<long>(20, maxDelayUs / 2);
    std::uniform_int_distribution<long> delay(0, maxDelayUs);
    auto next = Version(trial);
    std::string expected = current;
    {
      auto image = std::make_unique<std::uint8_t[]>(PeriodBlock::kSize);
      next->period.ToBytes(image.get());
      next->header.SetSaved(7, true);
      std::memcpy(expected.data(), next->header.bytes.data(), FileHeader::kSize);
      std::memcpy(expected.data() + BlockOffset(7), image.get(), PeriodBlock::kSize);
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        SavePeriod(file, *next);
      } catch (...) {
        ::_exit(3);
      }
      ::_exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(child, SIGKILL);
    ++kills;
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << "the save failed by itself in trial " << trial;

    const std::string now = ReadBytes(file);
    if (now == current) {
      ++oldKept;
    } else {
      ASSERT_TRUE(now == expected) << "trial " << trial << ": neither the old nor the new version (" << now.size()
                                   << " bytes)";
      ++newWritten;
      current = now;
    }
    // Now and then the program starts again between saves: its clean-up takes every leftover.
    if (trial % 50 == 0 || trial >= kTrials) {
      leftovers += static_cast<int>(TemporaryFiles(dir.Path()).size());
      RemoveStaleTemporaryFiles(dir.Path());
      EXPECT_TRUE(TemporaryFiles(dir.Path()).empty()) << "trial " << trial;
      EXPECT_TRUE(ReadBytes(file) == current) << "the clean-up touched the yearly file";
    }
  }
  // The kills must have landed on both sides of the rename, or the trial proves little.
  EXPECT_GT(oldKept, 0);
  EXPECT_GT(newWritten, 0);
  std::cout << "crash trials: " << kills << " kills, old file kept " << oldKept << ", new file complete "
            << newWritten << ", temporary files left by the kills " << leftovers << " (all removed)\n";
}

}  // namespace
}  // namespace paylark
