// The settings file (Saldesk.ini): the input is the file. Properties: every reader of the program
// takes any file without undefined behaviour (damaged Shift-JIS is an EncodingError, nothing
// else); a key written reads back equal, writing it again changes no byte, and every other line
// of the file stays byte for byte (the file after the write still holds the old file's lines).
#include <string>

#include "fuzz/fuzz_support.h"
#include "store/app_settings.h"
#include "store/item_settings.h"
#include "store/profile_file.h"
#include "store/sjis.h"

using namespace paylark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static fuzz::ScratchFolder folder;
  const std::filesystem::path file = folder / "Saldesk.ini";
  const std::string_view bytes = fuzz::AsText(data, size);
  fuzz::WriteFile(file, bytes);
  const ProfileFile settings(file);
  try {
    (void)LoadOptions(settings);
    (void)LoadItemSettings(settings, ItemKind::Salary);
    (void)LoadItemSettings(settings, ItemKind::Bonus);
    (void)LoadWindowSettings(settings, 640, 480);
    (void)LoadPrinterSettings(settings);
    (void)LoadPrintMemo(settings);
    (void)LoadMailText(settings);
    (void)LoadProgramVersion(settings);
    (void)LoadBackupPath(settings, "C:\\");
  } catch (const EncodingError&) {
    return 0;  // bytes that are not code page 932 where a text is read
  }

  ProfileFile writer(file);
  const std::string value = "値" + std::to_string(size);
  try {
    writer.WriteText("FuzzSection", "FuzzKey", value);
  } catch (const EncodingError&) {
    fuzz::Require(fuzz::ReadFile(file) == bytes, "a refused write changed the file");
    return 0;
  }
  fuzz::Require(settings.ReadText("FuzzSection", "FuzzKey", "") == value, "a written key does not read back");
  const std::string once = fuzz::ReadFile(file);
  writer.WriteText("FuzzSection", "FuzzKey", value);
  fuzz::Require(fuzz::ReadFile(file) == once, "writing the same value again changed the file");
  // The old file's lines are all still there, in order; only a line holding the key (in any case)
  // may have been rewritten.
  std::size_t at = 0;
  for (std::size_t start = 0; start < bytes.size();) {
    std::size_t stop = bytes.find('\n', start);
    stop = stop == std::string_view::npos ? bytes.size() : stop + 1;
    const std::string_view line = bytes.substr(start, stop - start);
    start = stop;
    const std::size_t found = once.find(line, at);
    if (found != std::string::npos) {
      at = found + line.size();
      continue;
    }
    std::string lower(line);
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    fuzz::Require(lower.find("fuzzkey") != std::string::npos, "a line other than the key's was changed");
  }
  return 0;
}
