// Error box texts of the entry of numbers (all shown with an OK button).
#pragma once

#include <string_view>

namespace paylark {

inline constexpr std::string_view kMsgDuplicateSeparatorOrSign = "．や：又は符号(－)が重複しています。";
inline constexpr std::string_view kMsgMinutesOver59 = "分の入力が59を超えています。";
inline constexpr std::string_view kMsgSignPosition = "符号(－)の位置が不正です。";
inline constexpr std::string_view kMsgTooManyDigits = "入力した数値が上限を超えました。";
// A second sign, dot or colon met while reading a number.
inline constexpr std::string_view kMsgInputError = "入力エラー";
// Text that passed the checks but is still no number (letters, a sign between digits).
inline constexpr std::string_view kMsgNotANumber = "数値として正しくありません。";
// An integer beyond the signed 32-bit range.
inline constexpr std::string_view kMsgOutOfRange = "数値が範囲を超えました。";

}  // namespace paylark
