#include "store/profile_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "store/atomic_file.h"
#include "store/sjis.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

using testing::TempDir;

class ProfileFileTest : public ::testing::Test {
 protected:
  std::filesystem::path Put(const std::string& sjisBytes) {
    ReplaceFileContents(path_, sjisBytes);
    return path_;
  }
  std::string OnDisk() const { return ReadWholeFile(path_); }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "Saldesk.ini";
  ProfileFile file_{path_};
};

TEST_F(ProfileFileTest, LookupIgnoresCaseTrimsAndRemovesOnePairOfQuotes) {
  Put(ToSjis("Stray=before any section\r\n"
             "; Comment=not a key\r\n"
             "[option]\r\n"
             "  fixteate1 =  \" 皆勤手当 \"  \r\n"
             "ProgVer= 2.10 \r\n"
             "Nested=\"\"twice\"\"\r\n"
             "OnlyOpen=\"open\r\n"
             "broken line without equals\r\n"
             "=no key\r\n"
             "[ゾーン]\r\n"
             "Key=ゾ\r\n"
             "[Option]\r\n"
             "ProgVer=9.99\r\n"));
  EXPECT_EQ(file_.ReadText("OPTION", "FixTeate1", "x"), " 皆勤手当 ");
  EXPECT_EQ(file_.ReadText("Option", "progver", "x"), "2.10");  // the first section counts
  EXPECT_EQ(file_.ReadText("Option", "Nested", "x"), "\"twice\"");
  EXPECT_EQ(file_.ReadText("Option", "OnlyOpen", "x"), "\"open");
  EXPECT_EQ(file_.ReadText("Option", "Comment", "x"), "x");
  EXPECT_EQ(file_.ReadText("Option", "Stray", "x"), "x");
  EXPECT_EQ(file_.ReadText("ゾーン", "key", "x"), "ゾ");
  EXPECT_EQ(file_.ReadText("Missing", "ProgVer", "def"), "def");
}

TEST_F(ProfileFileTest, IntegersNeedTheWholeValueToBeANumber) {
  struct Case {
    const char* value;
    int expected;
  };
  const Case cases[] = {
      {"12", 12},    {" -7 ", -7},     {"+3", 3},           {"\"5\"", 5},      {"007", 7},
      {"12abc", 99}, {"1.5", 99},      {"", 99},            {"abc", 99},       {"-", 99},
      {"+-4", 99},   {"1 2", 99},      {"2147483648", 99},  {"-2147483648", -2147483647 - 1},
  };
  for (const Case& c : cases) {
    Put("[A]\r\nK=" + std::string(c.value) + "\r\n");
    EXPECT_EQ(file_.ReadInt("A", "K", 99), c.expected) << "value \"" << c.value << "\"";
  }
  Put("[A]\r\nOn=2\r\nOff=0\r\nJunk=yes\r\n");
  EXPECT_TRUE(file_.ReadFlag("A", "On", false));
  EXPECT_FALSE(file_.ReadFlag("A", "Off", true));
  EXPECT_TRUE(file_.ReadFlag("A", "Junk", true));
  EXPECT_FALSE(file_.ReadFlag("A", "Missing", false));
}

TEST_F(ProfileFileTest, QuotedTextKeepsItsBlanksAndIsShiftJisOnDisk) {
  file_.WriteQuoted("Option", "FixTeate1", " 皆勤手当");
  file_.WriteInt("Option", "HasuuSik", 2);
  file_.WriteFlag("Option", "AutoSelect", false);
  EXPECT_EQ(OnDisk(), ToSjis("[Option]\r\nFixTeate1=\" 皆勤手当\"\r\nHasuuSik=2\r\nAutoSelect=0\r\n"));
  EXPECT_NE(OnDisk().find("\x8a\x46\x8b\xce"), std::string::npos);  // 皆勤 in code page 932
  EXPECT_EQ(ProfileFile(path_).ReadText("Option", "FixTeate1", ""), " 皆勤手当");
  EXPECT_EQ(file_.ReadInt("Option", "HasuuSik", 0), 2);
}

TEST_F(ProfileFileTest, AWriteChangesOneLineAndKeepsEveryOtherByteForByte) {
  // LF line ends, a comment, an unknown key, broken lines, a last line without line end.
  Put(ToSjis("orphan line\n"
             "[Window]\n"
             "; placement\n"
             "state=wsNormal\n"
             "Unknown = kept  \n"
             "junk\n"
             "\n"
             "[Option]\n"
             "ProgVer=1.00"));
  file_.WriteText("WINDOW", "State", "wsMaximized");   // replaced in place, caller's spelling
  file_.WriteInt("Window", "Width", 800);              // after the section's last non-blank line
  file_.WriteText("Option", "BackupPath", "/home/ユーザー");  // section ends the file
  file_.WriteQuoted("PrintMemo", "Line1", "");          // a new section at the end
  EXPECT_EQ(OnDisk(), ToSjis("orphan line\n"
                             "[Window]\n"
                             "; placement\n"
                             "State=wsMaximized\n"
                             "Unknown = kept  \n"
                             "junk\n"
                             "Width=800\n"
                             "\n"
                             "[Option]\n"
                             "ProgVer=1.00\n"
                             "BackupPath=/home/ユーザー\n"
                             "[PrintMemo]\n"
                             "Line1=\"\"\n"));
}

TEST_F(ProfileFileTest, UndecodableBytesOfOtherLinesSurviveAWrite) {
  const std::string original = "[A]\r\nName=\x82\xA0\xFF\xFE\r\n";
  Put(original);
  file_.WriteInt("A", "N", 1);
  EXPECT_EQ(OnDisk(), original + "N=1\r\n");
}

TEST_F(ProfileFileTest, ABatchGivesTheSameFileAsSingleWrites) {
  const std::string start = ToSjis("; settings\r\n[Option]\r\nHasuuSik=1\r\n\r\n[Window]\r\nState=wsNormal\r\n");
  ProfileBatch batch;
  batch.Int("Option", "HasuuSik", 2);
  batch.Quoted("Option", "FixTeate1", "手当");
  batch.Text("Window", "State", "wsMaximized");
  batch.Text("MailText", "Line1", "本文");
  batch.Int("option", "hasuusik", 1);  // the same key again, other spelling

  Put(start);
  for (const ProfileBatch::Entry& e : batch.Entries()) file_.WriteText(e.section, e.key, e.value);
  const std::string singly = OnDisk();
  Put(start);
  file_.Write(batch);
  EXPECT_EQ(OnDisk(), singly);
  EXPECT_EQ(file_.ReadText("Option", "FixTeate1", ""), "手当");
}

TEST_F(ProfileFileTest, TextWithoutAShiftJisFormOrWithALineBreakWritesNothing) {
  const std::string original = ToSjis("[Option]\r\nFixTeate1=\"固定手当１\"\r\n");
  Put(original);
  ProfileBatch batch;
  batch.Quoted("Option", "FixTeate2", "ok");
  batch.Quoted("Option", "FixTeate1", "手当\xF0\x9F\x98\x80");  // an emoji
  EXPECT_THROW(file_.Write(batch), EncodingError);
  EXPECT_THROW(file_.WriteText("Option", "ListFile", "a\r\nInjected=1"), EncodingError);
  EXPECT_THROW(file_.WriteText("Option", "Bad=Key", "1"), std::invalid_argument);
  EXPECT_THROW(file_.WriteText("Bad]", "Key", "1"), std::invalid_argument);
  EXPECT_EQ(OnDisk(), original);
}

TEST_F(ProfileFileTest, AMissingFileReadsAsEmptyAndTheFirstWriteCreatesIt) {
  EXPECT_EQ(file_.ReadInt("Window", "Width", 640), 640);
  EXPECT_FALSE(std::filesystem::exists(path_));
  file_.WriteInt("Window", "Width", 1024);
  EXPECT_EQ(OnDisk(), "[Window]\r\nWidth=1024\r\n");
}

TEST_F(ProfileFileTest, AFailedWriteLeavesTheOldFileWhole) {
  const std::string original = "[Option]\r\nProgVer=1.00\r\n";
  Put(original);
  // Limit the size of written files so that the new content cannot be written; this fails the
  // write for root as well, where permissions would not.
  struct sigaction ignore {}, previous {};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit old{};
  getrlimit(RLIMIT_FSIZE, &old);
  rlimit small = old;
  small.rlim_cur = 16;
  setrlimit(RLIMIT_FSIZE, &small);
  bool threw = false;
  try {
    file_.WriteText("Option", "BackupPath", "/a/folder/long/enough/to/pass/the/limit");
  } catch (const std::system_error&) {
    threw = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_TRUE(threw);
  EXPECT_EQ(OnDisk(), original);
  int entries = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir_.Path())) ++entries;
  EXPECT_EQ(entries, 1);  // no temporary file left behind
}

}  // namespace
}  // namespace paylark
