#include "store/program_folders.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "support/temp_dir.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;

EnvironmentLookup Env(std::map<std::string, std::string> values) {
  return [values](const char* name) -> std::optional<std::string> {
    const auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return it->second;
  };
}

void Touch(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "x";
}

// An installation: <root>/bin for the program, <root>/share/paylark/tables for the tables.
class ProgramFoldersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(root / "bin");
    Touch(root / "share" / "paylark" / "tables" / "税額表(給与).dat");
  }
  testing::TempDir root;
};

TEST_F(ProgramFoldersTest, AProgramFolderWithItsTablesKeepsEverythingBesideTheProgram) {
  // The build's program folder: tables beside the executable, whatever the environment says.
  testing::TempDir folder;
  Touch(folder / "税額表(給与).dat");
  const ProgramFolders f = ResolveProgramFolders(folder.Path(), Env({{"XDG_DATA_HOME", "/elsewhere"}}));
  EXPECT_FALSE(f.installed);
  EXPECT_EQ(f.userDir, folder.Path());
  EXPECT_EQ(f.tablesDir, folder.Path());
  EXPECT_EQ(f.manualDir, folder.Path() / "manual");
  // No tables beside it and no installation around it: still the program folder, so that the
  // start-up reports the missing tables as before.
  testing::TempDir bare;
  EXPECT_EQ(ResolveProgramFolders(bare.Path(), Env({})).tablesDir, bare.Path());
}

TEST_F(ProgramFoldersTest, InstalledTheUserFolderFollowsTheChoiceThenXdgThenHome) {
  const fs::path share = (root / "share" / "paylark").lexically_normal();
  struct Case {
    std::map<std::string, std::string> env;
    fs::path userDir;
  };
  const std::vector<Case> cases = {
      {{{"HOME", "/home/keiri"}}, "/home/keiri/.local/share/Paylark"},
      {{{"HOME", "/home/keiri"}, {"XDG_DATA_HOME", "/data/keiri"}}, "/data/keiri/Paylark"},
      // A relative XDG value is not a base directory.
      {{{"HOME", "/home/keiri"}, {"XDG_DATA_HOME", "relative"}}, "/home/keiri/.local/share/Paylark"},
  };
  for (const Case& c : cases) {
    const ProgramFolders f = ResolveProgramFolders(root / "bin", Env(c.env));
    EXPECT_TRUE(f.installed);
    EXPECT_EQ(f.userDir, c.userDir);
    EXPECT_EQ(f.tablesDir, share / "tables");
    EXPECT_EQ(f.manualDir, share / "manual");
  }

  // A folder chosen once is used from then on, before the XDG default.
  const auto env = Env({{"HOME", "/home/keiri"}, {"XDG_CONFIG_HOME", (root / "config").string()},
                        {"XDG_DATA_HOME", "/data/keiri"}});
  EXPECT_EQ(ChosenFolderFile(env), root / "config" / "Paylark" / "folder");
  ASSERT_TRUE(RememberChosenFolder(env, "/media/usb/給与データ"));
  EXPECT_EQ(ResolveProgramFolders(root / "bin", env).userDir, fs::path("/media/usb/給与データ"));
  // A damaged record (not an absolute path) falls back to the default.
  std::ofstream(root / "config" / "Paylark" / "folder") << "\n";
  EXPECT_EQ(ResolveProgramFolders(root / "bin", env).userDir, fs::path("/data/keiri/Paylark"));
}

}  // namespace
}  // namespace paylark
