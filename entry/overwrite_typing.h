// Overwrite typing (数値項目を上書き入力する): a typed character replaces the character after the
// caret instead of being inserted, and the caret moves on by one character; at the end of the text
// the character is appended.
//
// Texts are UTF-8 and the caret counts characters (as an edit control does). Widths are those of
// the Shift-JIS form that the field keeps in the file: half-width characters fill one place,
// full-width ones two. A half-width character typed over a full-width one leaves a space in the
// full-width character's second place ("全" → "1 "); a full-width character typed over half-width
// ones takes two of them ("12" → "全"), and when its second place falls on the first place of a
// full-width character, that character's second place becomes a space ("1全" → "全 ").
#pragma once

#include <string>
#include <string_view>

namespace paylark {

struct TypingResult {
  std::string text;
  int caret = 0;  // in characters
  bool operator==(const TypingResult&) const = default;
};

// The text after typing `typed` (one or more characters, each handled as one key) at `caret`.
// A caret outside the text is taken as its nearest end.
TypingResult OverwriteTyping(std::string_view text, int caret, std::string_view typed);

}  // namespace paylark
