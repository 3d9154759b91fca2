#include <cerrno>
#include <cstdio>

#include "store/year_file.h"

namespace paylark {
namespace {

std::string FullMessage(const std::filesystem::path& file, int period, const std::string& record,
                        int errnum, const std::string& userText) {
  std::string message = file.string();
  if (period > 0) message += ", period " + std::to_string(period);
  if (!record.empty()) message += ", " + record;
  message += ": " + userText;
  if (errnum > 0) message += " (errno " + std::to_string(errnum) + ")";
  return message;
}

}  // namespace

YearFileError::YearFileError(const std::filesystem::path& file, int period, const std::string& record,
                             int errnum, const std::string& userText)
    : std::runtime_error(FullMessage(file, period, record, errnum, userText)),
      errnum_(errnum),
      userText_(userText) {}

std::string IoErrorText(int errnum) {
  switch (errnum) {
    case kReadPastEndError:
      return "ファイルの末尾以降を読み込みました";
    case kReadOnlyFileError:
      return "読み取り専用のファイルのため保存できません";
    case kDamagedFileError:
      return "ファイルが壊れています（大きさが正しくありません）";
    case ENOENT:
      return "ファイルが見つかりません";
    case EACCES:
    case EPERM:
      return "ファイルへのアクセスが拒否されました";
    case EISDIR:
      return "ファイルの場所にフォルダーがあります";
    case EROFS:
      return "書き込みが禁止されたドライブ（読み取り専用のファイルシステム）です";
    case EFBIG:
      return "ファイルが大きすぎます";
    case ENOSPC:
    case EDQUOT:
      return "ディスクがいっぱいです";
    default: {
      char text[64];
      std::snprintf(text, sizeof text, "I/O エラー (%d)", errnum);
      return text;
    }
  }
}

}  // namespace paylark
