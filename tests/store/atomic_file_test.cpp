// Replacing a file keeps how it is stored (links, owner, mode, read-only), and the leftovers of
// interrupted saves are told apart from a save under way.
#include "store/atomic_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

#include "store/year_file.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

struct stat StatOf(const fs::path& path) {
  struct stat st {};
  EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
  return st;
}

// Every name in the folder, so that a leftover temporary file shows.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ReplaceFileContents, SavesThroughSymbolicLinksToTheirTarget) {
  TempDir dir;
  fs::create_directories(dir / "real");
  fs::create_directories(dir / "Data");
  WriteBytes(dir / "real" / "year.dat", "old");
  fs::create_symlink("../real/year.dat", dir / "Data" / "hop");  // relative, from its folder
  fs::create_symlink(dir / "Data" / "hop", dir / "Data" / "year.dat");  // a link to a link

  ReplaceFileContents(dir / "Data" / "year.dat", "new");

  EXPECT_TRUE(fs::is_symlink(dir / "Data" / "year.dat"));
  EXPECT_TRUE(fs::is_symlink(dir / "Data" / "hop"));
  EXPECT_EQ(ReadBytes(dir / "real" / "year.dat"), "new");
  EXPECT_EQ(Names(dir / "Data"), (std::vector<std::string>{"hop", "year.dat"}));
  EXPECT_EQ(Names(dir / "real"), std::vector<std::string>{"year.dat"});

  fs::create_symlink("loop", dir / "loop");
  EXPECT_THROW(ReplaceFileContents(dir / "loop", "x"), std::system_error);
}

TEST(ReplaceFileContents, KeepsModeAndOwner) {
  TempDir dir;
  const fs::path file = dir / "year.dat";
  WriteBytes(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(file.c_str(), 4321, 4322), 0);
  }

  ReplaceFileContents(file, "new");

  const struct stat st = StatOf(file);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(st.st_uid, 4321u);
    EXPECT_EQ(st.st_gid, 4322u);
  }
  EXPECT_EQ(ReadBytes(file), "new");
}

TEST(ReplaceFileContents, RefusesAReadOnlyFile) {
  TempDir dir;
  const fs::path file = dir / "year.dat";
  WriteBytes(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  EXPECT_THROW(ReplaceFileContents(file, "new"), ReadOnlyFileError);
  EXPECT_EQ(ReadBytes(file), "old");
  EXPECT_EQ(StatOf(file).st_mode & 07777, 0444u);
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"year.dat"});

  // The yearly file says so in its own words.
  const fs::path yearFile = dir / "令和8年給与･賞与.dat";
  WriteBytes(yearFile, std::string(static_cast<std::size_t>(kYearFileSize), '\0'));
  ASSERT_EQ(::chmod(yearFile.c_str(), 0444), 0);
  OpenPeriod state;
  state.periodIndex = 3;
  try {
    SavePeriod(yearFile, state);
    ADD_FAILURE() << "a read-only yearly file was replaced";
  } catch (const YearFileError& e) {
    EXPECT_EQ(e.ErrorNumber(), kReadOnlyFileError);
    EXPECT_EQ(e.UserText(), "読み取り専用のファイルのため保存できません");
  }
  EXPECT_FALSE(state.header.Saved(3));
}

// A file with several hard links is replaced under the name saved to; the other names keep the
// previous version (as a backup made by linking expects), and the replacement stays atomic.
TEST(ReplaceFileContents, AHardLinkedFileIsReplacedUnderItsNameAndTheOtherNamesKeepTheOldVersion) {
  TempDir dir;
  fs::create_directories(dir / "backup");
  WriteBytes(dir / "year.dat", "old");
  fs::create_hard_link(dir / "year.dat", dir / "backup" / "year.dat");

  ReplaceFileContents(dir / "year.dat", "new");

  EXPECT_EQ(ReadBytes(dir / "year.dat"), "new");
  EXPECT_EQ(ReadBytes(dir / "backup" / "year.dat"), "old");
  EXPECT_EQ(StatOf(dir / "year.dat").st_nlink, 1u);
  EXPECT_EQ(StatOf(dir / "backup" / "year.dat").st_nlink, 1u);
}

TEST(RemoveStaleTemporaryFiles, RemovesOnlyUnlockedLeftoversOfTheProgramsOwnSaves) {
  TempDir dir;
  const std::vector<std::string> leftovers = {".令和8年給与･賞与.dat.tmp-a1B2c3", ".Saldesk.ini.tmp-XYZ789"};
  const std::vector<std::string> kept = {
      ".令和8年給与･賞与.dat.tmp-inuse1",  // a save under way holds it locked
      "令和8年給与･賞与.dat.tmp-a1B2c3",   // not hidden: not a name the program makes
      ".year.dat.tmp-12345",              // five characters after the mark
      ".year.dat.tmp-12345!",             // not what mkstemp writes
      ".tmp-abcdef",                      // no file name before the mark
      "令和8年給与･賞与.dat",
  };
  for (const auto& name : leftovers) WriteBytes(dir / name, "partial");
  for (const auto& name : kept) WriteBytes(dir / name, "keep");
  fs::create_directory(dir / ".folder.tmp-abcdef");
  fs::create_symlink(dir / "令和8年給与･賞与.dat", dir / ".link.dat.tmp-abcdef");

  const int inUse = ::open((dir / kept[0]).c_str(), O_RDWR);
  ASSERT_GE(inUse, 0);
  ASSERT_EQ(::flock(inUse, LOCK_EX), 0);
  std::vector<std::string> removed = RemoveStaleTemporaryFiles(dir.Path());
  ::close(inUse);

  std::sort(removed.begin(), removed.end());
  std::vector<std::string> expected = leftovers;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(removed, expected);
  for (const auto& name : kept) EXPECT_TRUE(fs::exists(dir / name)) << name;
  EXPECT_TRUE(fs::is_directory(dir / ".folder.tmp-abcdef"));
  EXPECT_TRUE(fs::is_symlink(dir / ".link.dat.tmp-abcdef"));
  EXPECT_TRUE(RemoveStaleTemporaryFiles(dir / "no such folder").empty());
}

}  // namespace
}  // namespace paylark
