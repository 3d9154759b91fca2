#include "store/app_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "store/atomic_file.h"
#include "store/sjis.h"
#include "support/temp_dir.h"

namespace paylark {
namespace {

using testing::TempDir;

class AppSettingsTest : public ::testing::Test {
 protected:
  void Put(const std::string& utf8) { ReplaceFileContents(path_, ToSjis(utf8)); }
  // The keys of the file in file order.
  std::vector<std::string> KeysOnDisk() const {
    std::vector<std::string> keys;
    std::string text = FromSjis(ReadWholeFile(path_));
    for (std::size_t start = 0; start < text.size();) {
      std::size_t end = text.find("\r\n", start);
      std::string line = text.substr(start, end - start);
      if (std::size_t eq = line.find('='); eq != std::string::npos) keys.push_back(line.substr(0, eq));
      start = end + 2;
    }
    return keys;
  }

  TempDir dir_;
  std::filesystem::path path_ = dir_ / "Saldesk.ini";
  ProfileFile file_{path_};
};

void ExpectSameOptions(const Options& a, const Options& b) {
  EXPECT_EQ(a.itemNames, b.itemNames);
  EXPECT_EQ(a.thirdBonusName, b.thirdBonusName);
  EXPECT_EQ(a.taxable, b.taxable);
  EXPECT_EQ(a.socialInsurance, b.socialInsurance);
  EXPECT_EQ(a.paymentRounding, b.paymentRounding);
  EXPECT_EQ(a.reductionRounding, b.reductionRounding);
  EXPECT_EQ(a.deductionRounding, b.deductionRounding);
  EXPECT_EQ(a.formType, b.formType);
  EXPECT_EQ(a.timeStyle, b.timeStyle);
  EXPECT_DOUBLE_EQ(a.printShiftH, b.printShiftH);
  EXPECT_DOUBLE_EQ(a.printShiftV, b.printShiftV);
  EXPECT_EQ(a.autoSelect, b.autoSelect);
  EXPECT_EQ(a.inputOverwrite, b.inputOverwrite);
  EXPECT_EQ(a.printYearToDate, b.printYearToDate);
  EXPECT_EQ(a.printClassTotals, b.printClassTotals);
}

TEST_F(AppSettingsTest, WithoutASettingsFileEveryKeyHasItsDefault) {
  Options o = LoadOptions(file_);
  ExpectSameOptions(o, Options{});
  EXPECT_EQ(o.paymentRounding, RoundingMode::Up);
  EXPECT_EQ(o.reductionRounding, RoundingMode::Truncate);
  EXPECT_EQ(o.Name(UserItem::Other3), "その他３");
  const std::array<bool, 12> allowancesOnly{true, true, true, true, true, true,
                                            false, false, false, false, false, false};
  EXPECT_EQ(o.taxable, allowancesOnly);
  EXPECT_EQ(o.socialInsurance, allowancesOnly);

  WindowSettings w = LoadWindowSettings(file_, 530, 410);
  EXPECT_TRUE(w.Maximized());
  EXPECT_EQ(w.left, 0);
  EXPECT_EQ(w.top, 0);
  EXPECT_EQ(w.width, 640);
  EXPECT_EQ(w.height, 440);
  EXPECT_EQ(w.memberListWidth, 530);
  EXPECT_EQ(w.memberListHeight, 410);

  EXPECT_TRUE(LoadPreviewButtonBar(file_));
  EXPECT_EQ(LoadProgramVersion(file_), "1.00");
  EXPECT_EQ(LoadStandardDailyHours(file_), 0.0);
  EXPECT_EQ(LoadBackupPath(file_, "/home/user"), "/home/user");
  EXPECT_EQ(LoadStoredPassword(file_), "");
  PrinterSettings p = LoadPrinterSettings(file_);
  EXPECT_EQ(p.deviceName, "");
  EXPECT_EQ(p.paperSize, 0);
  EXPECT_EQ(p.printQuality, 0);
  EXPECT_TRUE(LoadPrintMemo(file_).empty());
  EXPECT_TRUE(LoadMailText(file_).empty());
  EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(AppSettingsTest, OnlyTheCharacterOneSetsATaxOrInsuranceFlag) {
  Put("[Option]\r\nKazei=1\r\nSyaho=1x1 10000000001\r\n");
  Options o = LoadOptions(file_);
  std::array<bool, 12> first{};
  first[0] = true;
  EXPECT_EQ(o.taxable, first);
  std::array<bool, 12> social{};
  social[0] = social[2] = social[4] = true;  // "1x1 10000000": the blank is off as well
  EXPECT_EQ(o.socialInsurance, social);

  Put("[Option]\r\nKazei=\r\n");
  EXPECT_EQ(LoadOptions(file_).taxable, (std::array<bool, 12>{}));
}

TEST_F(AppSettingsTest, ValuesTheSettingsDoNotAllowTakeTheDefault) {
  struct Case {
    const char* line;
    RoundingMode payment, reduction, deduction;
    int formType, timeStyle;
  };
  using enum RoundingMode;
  const Case cases[] = {
      {"FormType=0", Up, Truncate, Truncate, 0, 1},
      {"FormType=2", Up, Truncate, Truncate, 2, 1},
      {"FormType=3", Up, Truncate, Truncate, 1, 1},
      {"FormType=-1", Up, Truncate, Truncate, 1, 1},
      {"TimeStyle=0", Up, Truncate, Truncate, 1, 0},
      {"TimeStyle=2", Up, Truncate, Truncate, 1, 1},
      {"TimeStyle=0x", Up, Truncate, Truncate, 1, 1},
  };
  for (const Case& c : cases) {
    Put(std::string("[Option]\r\n") + c.line + "\r\n");
    Options o = LoadOptions(file_);
    EXPECT_EQ(o.paymentRounding, c.payment) << c.line;
    EXPECT_EQ(o.reductionRounding, c.reduction) << c.line;
    EXPECT_EQ(o.deductionRounding, c.deduction) << c.line;
    EXPECT_EQ(o.formType, c.formType) << c.line;
    EXPECT_EQ(o.timeStyle, c.timeStyle) << c.line;
  }
}

TEST_F(AppSettingsTest, RoundingSettingsAreReadAsTheRoundingRuleDefinesThem) {
  // 1 rounds up, 2 rounds half, any other value truncates, whatever the screen offers per class.
  struct Case {
    const char* line;
    RoundingMode payment, reduction, deduction;
  };
  using enum RoundingMode;
  const Case cases[] = {
      {"HasuuSik=2", Half, Truncate, Truncate}, {"HasuuSik=0", Truncate, Truncate, Truncate},
      {"HasuuSik=3", Truncate, Truncate, Truncate}, {"HasuuGen=2", Up, Half, Truncate},
      {"HasuuGen=1", Up, Up, Truncate},           {"HasuuKou=2", Up, Truncate, Half},
      {"HasuuKou=1", Up, Truncate, Up},           {"HasuuKou=3", Up, Truncate, Truncate},
      {"HasuuKou=-1", Up, Truncate, Truncate},
  };
  for (const Case& c : cases) {
    Put(std::string("[Option]\r\n") + c.line + "\r\n");
    const Options o = LoadOptions(file_);
    EXPECT_EQ(o.paymentRounding, c.payment) << c.line;
    EXPECT_EQ(o.reductionRounding, c.reduction) << c.line;
    EXPECT_EQ(o.deductionRounding, c.deduction) << c.line;
  }
}

TEST_F(AppSettingsTest, SaveWritesEveryOptionInOrderAndLoadReadsItBack) {
  Options o;
  o.itemNames[0] = " 皆勤手当";  // a leading blank survives
  o.itemNames[14] = "調整額 ";
  o.thirdBonusName = "決算賞与";
  o.taxable = {true, false, true, false, false, false, false, false, false, false, false, true};
  o.socialInsurance = {false, false, false, false, false, false, true, false, false, false, false, false};
  o.paymentRounding = RoundingMode::Half;
  o.reductionRounding = RoundingMode::Half;
  o.deductionRounding = RoundingMode::Half;
  o.formType = 2;
  o.timeStyle = 0;
  o.printShiftH = -10.0;
  o.printShiftV = 2.5;
  o.autoSelect = false;
  o.printClassTotals = false;
  SaveOptions(file_, o);

  const std::vector<std::string> order{
      "FormType",  "TimeStyle", "HasuuSik",  "HasuuGen",  "HasuuKou",   "PrAdjustH",  "PrAdjustV",
      "AutoSelect", "InputOverN", "PrnRuikei", "PrnKbnKei", "FixTeate1", "FixTeate2", "FixTeate3",
      "VarTeate1", "VarTeate2", "VarTeate3", "FixKoujo1", "FixKoujo2", "FixKoujo3", "VarKoujo1",
      "VarKoujo2", "VarKoujo3", "TokuSyoyo", "Sonota1",   "Sonota2",   "Sonota3",   "Kazei",
      "Syaho"};
  EXPECT_EQ(KeysOnDisk(), order);
  EXPECT_EQ(file_.ReadText("Option", "PrAdjustH", ""), "-100");
  EXPECT_EQ(file_.ReadText("Option", "PrAdjustV", ""), "25");
  EXPECT_EQ(file_.ReadText("Option", "Kazei", ""), "101000000001");
  EXPECT_EQ(file_.ReadText("Option", "Syaho", ""), "000000100000");
  const std::string onDisk = ReadWholeFile(path_);
  EXPECT_NE(onDisk.find(ToSjis("FixTeate1=\" 皆勤手当\"\r\n")), std::string::npos);
  EXPECT_NE(onDisk.find(ToSjis("TokuSyoyo=\"決算賞与\"\r\n")), std::string::npos);

  Options back = LoadOptions(ProfileFile(path_));
  ExpectSameOptions(back, o);
  EXPECT_DOUBLE_EQ(back.printShiftH, -10.0);
}

TEST_F(AppSettingsTest, MemoLinesMayBeMissingAndTheMailTextStopsAtTheFirstGap) {
  Put("[PrintMemo]\r\nLineCount=3\r\nLine1=今月もご苦労様でした\r\nLine3=以上\r\nLine4=beyond the count\r\n"
      "[MailText]\r\nLineCount=4\r\nLine1=各位\r\nLine2=NoData\r\nLine4=never reached\r\n");
  EXPECT_EQ(LoadPrintMemo(file_), (std::vector<std::string>{"今月もご苦労様でした", "", "以上"}));
  // "NoData" typed as a line is text; the missing Line3 ends the mail.
  EXPECT_EQ(LoadMailText(file_), (std::vector<std::string>{"各位", "NoData"}));

  Put("[PrintMemo]\r\nLineCount=2000000000\r\n[MailText]\r\nLineCount=-3\r\nLine1=x\r\n");
  EXPECT_EQ(LoadPrintMemo(file_).size(), static_cast<std::size_t>(kMaxTextLines));
  EXPECT_TRUE(LoadMailText(file_).empty());

  const std::vector<std::string> memo{"  字下げした行", "", "\"引用\""};
  SavePrintMemo(file_, memo);
  SaveMailText(file_, memo);
  EXPECT_EQ(LoadPrintMemo(file_), memo);
  EXPECT_EQ(LoadMailText(file_), memo);
}

TEST_F(AppSettingsTest, WindowPrinterAndGeneralKeysRoundTrip) {
  WindowSettings w;
  w.state = "wsNormal";
  w.left = -8;
  w.top = 20;
  w.width = 1024;
  w.height = 700;
  w.memberListWidth = 600;
  w.memberListHeight = 480;
  SaveWindowSettings(file_, w);
  WindowSettings back = LoadWindowSettings(file_, 1, 1);
  EXPECT_FALSE(back.Maximized());
  EXPECT_EQ(back.left, -8);
  EXPECT_EQ(back.height, 700);
  EXPECT_EQ(back.memberListWidth, 600);
  EXPECT_EQ(back.memberListHeight, 480);

  PrinterSettings p{"Office ｺﾋﾟｰ機", 9, 2100, 2970, 1, 7, 600};
  SavePrinterSettings(file_, p);
  PrinterSettings pb = LoadPrinterSettings(file_);
  EXPECT_EQ(pb.deviceName, p.deviceName);
  EXPECT_EQ(pb.paperSize, 9);
  EXPECT_EQ(pb.paperLength, 2970);
  EXPECT_EQ(pb.orientation, 1);
  EXPECT_EQ(pb.printQuality, 600);

  SaveStandardDailyHours(file_, 7.5);
  EXPECT_EQ(file_.ReadText("Option", "DefJikanD", ""), "7.50");
  EXPECT_DOUBLE_EQ(LoadStandardDailyHours(file_), 7.5);
  file_.WriteText("Option", "DefJikanD", "8時間");
  EXPECT_EQ(LoadStandardDailyHours(file_), 0.0);

  SavePreviewButtonBar(file_, false);
  SaveProgramVersion(file_, "2.31");
  SaveBackupPath(file_, "/media/usb");
  SaveStoredPassword(file_, " secret ");
  EXPECT_FALSE(LoadPreviewButtonBar(file_));
  EXPECT_EQ(LoadProgramVersion(file_), "2.31");
  EXPECT_EQ(LoadBackupPath(file_, "x"), "/media/usb");
  EXPECT_EQ(LoadStoredPassword(file_), " secret ");
}

TEST(StartupWriteTest, AWritableFolderPassesAndKeepsNoTestFile) {
  TempDir dir;
  std::ofstream(dir / "Saldesk.ini") << "[Option]\r\n";
  StartupWriteTestResult r = StartupWriteTest(dir.Path(), dir / "Saldesk.ini");
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.Messages().empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "Write.chk"));
  // No settings file yet is fine as well.
  EXPECT_TRUE(StartupWriteTest(dir.Path(), dir / "Other.ini").ok);
}

TEST(StartupWriteTest, AReadOnlySettingsFileFailsWithCodeZero) {
  TempDir dir;
  std::ofstream(dir / "Saldesk.ini") << "[Option]\r\n";
  std::filesystem::permissions(dir / "Saldesk.ini", std::filesystem::perms::owner_read |
                                                        std::filesystem::perms::group_read |
                                                        std::filesystem::perms::others_read);
  StartupWriteTestResult r = StartupWriteTest(dir.Path(), dir / "Saldesk.ini");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.Messages(), (std::vector<std::string>{"設定ファイルに書き込み出来ません。", "プログラム起動不可[0]"}));
}

TEST(StartupWriteTest, AFolderNamedAsTheSettingsFileFailsAsAReadOnlyOne) {
  TempDir dir;
  std::filesystem::create_directory(dir / "Saldesk.ini");
  StartupWriteTestResult r = StartupWriteTest(dir.Path(), dir / "Saldesk.ini");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.Messages(), (std::vector<std::string>{"設定ファイルに書き込み出来ません。", "プログラム起動不可[0]"}));
}

TEST(StartupWriteTest, AFolderThatCannotTakeTheTestFileFailsWithTheSystemCode) {
  TempDir dir;
  StartupWriteTestResult missing = StartupWriteTest(dir / "gone", dir / "gone" / "Saldesk.ini");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.code, 2);
  EXPECT_EQ(missing.Messages(),
            (std::vector<std::string>{"設定ファイルに書き込み出来ません。", "プログラム起動不可[2]"}));

  std::ofstream(dir / "plain-file") << "x";  // not a folder: only the start-up message
  StartupWriteTestResult notFolder = StartupWriteTest(dir / "plain-file", dir / "Saldesk.ini");
  EXPECT_FALSE(notFolder.ok);
  EXPECT_EQ(notFolder.code, ENOTDIR);
  EXPECT_EQ(notFolder.Messages(), (std::vector<std::string>{StartupFailureMessage(ENOTDIR)}));
}

}  // namespace
}  // namespace paylark
