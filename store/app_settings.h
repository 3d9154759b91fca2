// The keys of the settings file Saldesk.ini, read and written through ProfileFile, with the
// defaults that apply when a key is missing: the program options of section Option, the window
// placement, the printer choice, the payslip memo and the mail text, and the start-up test that
// the program folder can be written.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "store/options.h"
#include "store/profile_file.h"

namespace paylark {

// --- Section Option: the input item settings (入力項目の設定) ---

// Every key with its default; values outside what the settings allow take the default.
Options LoadOptions(const ProfileFile& settings);
// FormType, TimeStyle, HasuuSik, HasuuGen, HasuuKou, PrAdjustH, PrAdjustV (millimetres × 10),
// AutoSelect, InputOverN, PrnRuikei, PrnKbnKei, the sixteen names quoted, Kazei, Syaho; stored
// with one file replacement (nothing is written when a name has no code page 932 form).
void SaveOptions(ProfileFile& settings, const Options& options);

// --- Section Window: main window and employee list placement ---

struct WindowSettings {
  std::string state = "wsMaximized";  // "wsMaximized" or "wsNormal"
  int left = 0;                       // Pos_X
  int top = 0;                        // Pos_Y
  int width = 640;
  int height = 440;
  int memberListWidth = 0;            // MembList_X
  int memberListHeight = 0;           // MembList_Y

  bool Maximized() const { return state == "wsMaximized"; }
};

// The employee list's size defaults to its design size, which the caller knows.
WindowSettings LoadWindowSettings(const ProfileFile& settings, int memberListDesignWidth,
                                  int memberListDesignHeight);
void SaveWindowSettings(ProfileFile& settings, const WindowSettings& window);

// --- Section Option: general keys ---

// PreViewBtn: whether the print preview shows its button bar (default on).
bool LoadPreviewButtonBar(const ProfileFile& settings);
void SavePreviewButtonBar(ProfileFile& settings, bool shown);

// ProgVer: the version text of the program that last ran (default "1.00").
std::string LoadProgramVersion(const ProfileFile& settings);
void SaveProgramVersion(ProfileFile& settings, std::string_view version);

// DefJikanD: the company's standard working hours per day; 0 (the default "0.0") means the
// company information has never been entered. Text that is not a number reads as 0.
double LoadStandardDailyHours(const ProfileFile& settings);
void SaveStandardDailyHours(ProfileFile& settings, double hours);  // "%.2f"

// BackupPath: the starting folder of the folder chooser; the default is the caller's.
std::string LoadBackupPath(const ProfileFile& settings, std::string_view def);
void SaveBackupPath(ProfileFile& settings, std::string_view folder);

// ListFile: the start-up password in its stored form; empty = no password.
std::string LoadStoredPassword(const ProfileFile& settings);
void SaveStoredPassword(ProfileFile& settings, std::string_view stored);

// --- Section PrintInfo: the printer choice ---

struct PrinterSettings {
  std::string deviceName;  // empty: the default printer
  int paperSize = 0;
  int paperWidth = 0;
  int paperLength = 0;
  int orientation = 0;
  int defaultSource = 0;
  int printQuality = 0;
};

PrinterSettings LoadPrinterSettings(const ProfileFile& settings);
void SavePrinterSettings(ProfileFile& settings, const PrinterSettings& printer);

// --- Sections PrintMemo and MailText: LineCount and Line1..LineCount ---

// At most this many lines are read; a larger LineCount is taken as damage.
constexpr int kMaxTextLines = 1000;

// The memo printed on payslips; a missing line reads as an empty line.
std::vector<std::string> LoadPrintMemo(const ProfileFile& settings);
void SavePrintMemo(ProfileFile& settings, const std::vector<std::string>& lines);

// The body of payslip mails; reading stops at the first missing line.
std::vector<std::string> LoadMailText(const ProfileFile& settings);
void SaveMailText(ProfileFile& settings, const std::vector<std::string>& lines);

// --- The start-up write test ---

inline constexpr std::string_view kSettingsNotWritableMessage = "設定ファイルに書き込み出来ません。";

struct StartupWriteTestResult {
  bool ok = true;
  int code = 0;                       // shown in "プログラム起動不可[%d]"
  bool showSettingsMessage = false;   // "設定ファイルに書き込み出来ません。" first

  // The error texts to show in order (none when ok).
  std::vector<std::string> Messages() const;
};

// "プログラム起動不可[<code>]".
std::string StartupFailureMessage(int code);

// Before any window exists: a settings file that exists and cannot be written fails with code 0;
// otherwise "<programFolder>/Write.chk" is created and deleted again, and a failure gives the
// system's error number (2 for a missing folder and 19 for a read-only medium, the two that also
// show the settings message).
StartupWriteTestResult StartupWriteTest(const std::filesystem::path& programFolder,
                                        const std::filesystem::path& settingsFile);

}  // namespace paylark
