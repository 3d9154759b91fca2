#include "store/app_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

namespace paylark {
namespace {

constexpr std::string_view kOption = "Option";
constexpr std::string_view kWindow = "Window";
constexpr std::string_view kPrintInfo = "PrintInfo";
constexpr std::string_view kPrintMemo = "PrintMemo";
constexpr std::string_view kMailText = "MailText";

// Keys of the user item names in UserItem order.
constexpr std::array<std::string_view, kUserItemCount> kNameKeys{
    "FixTeate1", "FixTeate2", "FixTeate3", "VarTeate1", "VarTeate2", "VarTeate3",
    "FixKoujo1", "FixKoujo2", "FixKoujo3", "VarKoujo1", "VarKoujo2", "VarKoujo3",
    "Sonota1",   "Sonota2",   "Sonota3"};
constexpr int kFirstSonota = static_cast<int>(UserItem::Other1);
constexpr std::string_view kDefaultItemFlags = "111111000000";

// Character i sets flag i only when it is '1'; missing characters are off.
std::array<bool, kFlaggedUserItemCount> FlagsFromText(std::string_view text) {
  std::array<bool, kFlaggedUserItemCount> flags{};
  for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = i < text.size() && text[i] == '1';
  return flags;
}

std::string FlagsToText(const std::array<bool, kFlaggedUserItemCount>& flags) {
  std::string text;
  for (bool f : flags) text += f ? '1' : '0';
  return text;
}

// A rounding setting as the rounding rule reads it: 1 rounds up, 2 rounds half away from zero, any
// other value truncates. The settings screen offers two of them per class, but an older or
// hand-edited file may hold any.
RoundingMode ModeOfSetting(int value) {
  if (value == static_cast<int>(RoundingMode::Up)) return RoundingMode::Up;
  if (value == static_cast<int>(RoundingMode::Half)) return RoundingMode::Half;
  return RoundingMode::Truncate;
}

int InRangeOr(int value, int low, int high, int def) { return value >= low && value <= high ? value : def; }

std::string LineKey(int n) { return "Line" + std::to_string(n); }

void SaveLines(ProfileFile& settings, std::string_view section, const std::vector<std::string>& lines) {
  ProfileBatch batch;
  batch.Int(section, "LineCount", static_cast<int>(lines.size()));
  // Quoted like the item names, so that a line's leading blanks survive.
  for (std::size_t i = 0; i < lines.size(); ++i) batch.Quoted(section, LineKey(static_cast<int>(i) + 1), lines[i]);
  settings.Write(batch);
}

int LineCount(const ProfileSection& section) {
  int count = section.Int("LineCount", 0);
  if (count < 0) return 0;
  return count > kMaxTextLines ? kMaxTextLines : count;
}

}  // namespace

Options LoadOptions(const ProfileFile& settings) {
  const ProfileSection option = settings.ReadSection(kOption);
  Options o;
  o.formType = InRangeOr(option.Int("FormType", 1), 0, 2, 1);
  o.timeStyle = InRangeOr(option.Int("TimeStyle", 1), 0, 1, 1);
  o.paymentRounding = ModeOfSetting(option.Int("HasuuSik", 1));
  o.reductionRounding = ModeOfSetting(option.Int("HasuuGen", 0));
  o.deductionRounding = ModeOfSetting(option.Int("HasuuKou", 0));
  o.printShiftH = option.Int("PrAdjustH", 0) / 10.0;
  o.printShiftV = option.Int("PrAdjustV", 0) / 10.0;
  o.autoSelect = option.Flag("AutoSelect", true);
  o.inputOverwrite = option.Flag("InputOverN", true);
  o.printYearToDate = option.Flag("PrnRuikei", true);
  o.printClassTotals = option.Flag("PrnKbnKei", true);
  const Options defaults;
  for (int i = 0; i < kUserItemCount; ++i) o.itemNames[i] = option.Text(kNameKeys[i], defaults.itemNames[i]);
  o.thirdBonusName = option.Text("TokuSyoyo", defaults.thirdBonusName);
  o.taxable = FlagsFromText(option.Text("Kazei", kDefaultItemFlags));
  o.socialInsurance = FlagsFromText(option.Text("Syaho", kDefaultItemFlags));
  return o;
}

void SaveOptions(ProfileFile& settings, const Options& options) {
  ProfileBatch b;
  b.Int(kOption, "FormType", options.formType);
  b.Int(kOption, "TimeStyle", options.timeStyle);
  b.Int(kOption, "HasuuSik", static_cast<int>(options.paymentRounding));
  b.Int(kOption, "HasuuGen", static_cast<int>(options.reductionRounding));
  b.Int(kOption, "HasuuKou", static_cast<int>(options.deductionRounding));
  b.Int(kOption, "PrAdjustH", static_cast<int>(std::lround(options.printShiftH * 10)));
  b.Int(kOption, "PrAdjustV", static_cast<int>(std::lround(options.printShiftV * 10)));
  b.Flag(kOption, "AutoSelect", options.autoSelect);
  b.Flag(kOption, "InputOverN", options.inputOverwrite);
  b.Flag(kOption, "PrnRuikei", options.printYearToDate);
  b.Flag(kOption, "PrnKbnKei", options.printClassTotals);
  for (int i = 0; i < kFirstSonota; ++i) b.Quoted(kOption, kNameKeys[i], options.itemNames[i]);
  b.Quoted(kOption, "TokuSyoyo", options.thirdBonusName);
  for (int i = kFirstSonota; i < kUserItemCount; ++i) b.Quoted(kOption, kNameKeys[i], options.itemNames[i]);
  b.Text(kOption, "Kazei", FlagsToText(options.taxable));
  b.Text(kOption, "Syaho", FlagsToText(options.socialInsurance));
  settings.Write(b);
}

WindowSettings LoadWindowSettings(const ProfileFile& settings, int memberListDesignWidth,
                                  int memberListDesignHeight) {
  const ProfileSection s = settings.ReadSection(kWindow);
  WindowSettings w;
  w.state = s.Text("State", w.state);
  w.left = s.Int("Pos_X", w.left);
  w.top = s.Int("Pos_Y", w.top);
  w.width = s.Int("Width", w.width);
  w.height = s.Int("Height", w.height);
  w.memberListWidth = s.Int("MembList_X", memberListDesignWidth);
  w.memberListHeight = s.Int("MembList_Y", memberListDesignHeight);
  return w;
}

void SaveWindowSettings(ProfileFile& settings, const WindowSettings& window) {
  ProfileBatch b;
  b.Text(kWindow, "State", window.state);
  b.Int(kWindow, "Pos_X", window.left);
  b.Int(kWindow, "Pos_Y", window.top);
  b.Int(kWindow, "Width", window.width);
  b.Int(kWindow, "Height", window.height);
  b.Int(kWindow, "MembList_X", window.memberListWidth);
  b.Int(kWindow, "MembList_Y", window.memberListHeight);
  settings.Write(b);
}

bool LoadPreviewButtonBar(const ProfileFile& settings) { return settings.ReadFlag(kOption, "PreViewBtn", true); }
void SavePreviewButtonBar(ProfileFile& settings, bool shown) { settings.WriteFlag(kOption, "PreViewBtn", shown); }

std::string LoadProgramVersion(const ProfileFile& settings) { return settings.ReadText(kOption, "ProgVer", "1.00"); }
void SaveProgramVersion(ProfileFile& settings, std::string_view version) {
  settings.WriteText(kOption, "ProgVer", version);
}

double LoadStandardDailyHours(const ProfileFile& settings) {
  const std::string text = settings.ReadText(kOption, "DefJikanD", "0.0");
  double hours = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), hours);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(hours)) return 0;
  return hours;
}

void SaveStandardDailyHours(ProfileFile& settings, double hours) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", hours);
  settings.WriteText(kOption, "DefJikanD", text);
}

std::string LoadBackupPath(const ProfileFile& settings, std::string_view def) {
  return settings.ReadText(kOption, "BackupPath", def);
}
void SaveBackupPath(ProfileFile& settings, std::string_view folder) { settings.WriteText(kOption, "BackupPath", folder); }

std::string LoadStoredPassword(const ProfileFile& settings) { return settings.ReadText(kOption, "ListFile", ""); }
void SaveStoredPassword(ProfileFile& settings, std::string_view stored) {
  settings.WriteQuoted(kOption, "ListFile", stored);
}

PrinterSettings LoadPrinterSettings(const ProfileFile& settings) {
  const ProfileSection s = settings.ReadSection(kPrintInfo);
  PrinterSettings p;
  p.deviceName = s.Text("DeviceName", "");
  p.paperSize = s.Int("PaperSize", 0);
  p.paperWidth = s.Int("PaperWidth", 0);
  p.paperLength = s.Int("PaperLength", 0);
  p.orientation = s.Int("Orientation", 0);
  p.defaultSource = s.Int("DefaultSource", 0);
  p.printQuality = s.Int("PrintQuality", 0);
  return p;
}

void SavePrinterSettings(ProfileFile& settings, const PrinterSettings& printer) {
  ProfileBatch b;
  b.Text(kPrintInfo, "DeviceName", printer.deviceName);
  b.Int(kPrintInfo, "PaperSize", printer.paperSize);
  b.Int(kPrintInfo, "PaperWidth", printer.paperWidth);
  b.Int(kPrintInfo, "PaperLength", printer.paperLength);
  b.Int(kPrintInfo, "Orientation", printer.orientation);
  b.Int(kPrintInfo, "DefaultSource", printer.defaultSource);
  b.Int(kPrintInfo, "PrintQuality", printer.printQuality);
  settings.Write(b);
}

std::vector<std::string> LoadPrintMemo(const ProfileFile& settings) {
  const ProfileSection s = settings.ReadSection(kPrintMemo);
  std::vector<std::string> lines;
  for (int i = 1, n = LineCount(s); i <= n; ++i) lines.push_back(s.Text(LineKey(i), ""));
  return lines;
}

void SavePrintMemo(ProfileFile& settings, const std::vector<std::string>& lines) {
  SaveLines(settings, kPrintMemo, lines);
}

std::vector<std::string> LoadMailText(const ProfileFile& settings) {
  const ProfileSection s = settings.ReadSection(kMailText);
  std::vector<std::string> lines;
  for (int i = 1, n = LineCount(s); i <= n; ++i) {
    // A missing line ends the text; a line that reads "NoData" is text like any other.
    std::optional<std::string> line = s.Find(LineKey(i));
    if (!line) break;
    lines.push_back(std::move(*line));
  }
  return lines;
}

void SaveMailText(ProfileFile& settings, const std::vector<std::string>& lines) {
  SaveLines(settings, kMailText, lines);
}

std::vector<std::string> StartupWriteTestResult::Messages() const {
  std::vector<std::string> texts;
  if (ok) return texts;
  if (showSettingsMessage) texts.emplace_back(kSettingsNotWritableMessage);
  texts.push_back(StartupFailureMessage(code));
  return texts;
}

std::string StartupFailureMessage(int code) { return "プログラム起動不可[" + std::to_string(code) + "]"; }

StartupWriteTestResult StartupWriteTest(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& settingsFile) {
  StartupWriteTestResult result;
  // A settings file we may not write. access() answers "writable" to root whatever the mode, so
  // a file without any write permission bit counts as read-only as well, and so does anything
  // that is not a file at all (a folder of that name).
  struct stat st {};
  if (::stat(settingsFile.c_str(), &st) == 0 &&
      (!S_ISREG(st.st_mode) || ::access(settingsFile.c_str(), W_OK) != 0 ||
       (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)) {
    result.ok = false;
    result.code = 0;
    result.showSettingsMessage = true;
    return result;
  }

  const std::filesystem::path probe = programFolder / "Write.chk";
  int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  int err = fd < 0 ? errno : 0;
  if (fd >= 0 && ::close(fd) != 0) err = errno;
  if (fd >= 0) ::unlink(probe.c_str());
  if (err != 0) {
    result.ok = false;
    // The two codes of a missing folder and of a write-protected medium, as the program has
    // always shown them; any other failure shows the system's error number.
    if (err == ENOENT) {
      result.code = 2;
      result.showSettingsMessage = true;
    } else if (err == EROFS) {
      result.code = 19;
      result.showSettingsMessage = true;
    } else {
      result.code = err;
    }
  }
  return result;
}

}  // namespace paylark
