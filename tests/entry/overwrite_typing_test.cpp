// Overwrite typing in numeric fields and the payroll sheet's editor.
#include <gtest/gtest.h>

#include "entry/overwrite_typing.h"

namespace paylark {
namespace {

TEST(OverwriteTyping, ReplacesByShiftJisWidth) {
  struct Row { const char* name; const char* text; int caret; const char* typed; TypingResult expected; };
  const Row rows[] = {
      {"replaces the character after the caret", "1234", 1, "9", {"1934", 2}},
      {"appends at the end", "12", 2, "3", {"123", 3}},
      {"into an empty field", "", 0, "5", {"5", 1}},
      {"half-width over full-width leaves a space", "全角", 0, "1", {"1 角", 1}},
      {"full-width over two half-width", "123", 0, "全", {"全3", 1}},
      {"full-width over full-width", "全角", 1, "全", {"全全", 2}},
      {"second place lands on a full-width character", "1全", 0, "角", {"角 ", 1}},
      {"full-width over the last character", "12", 1, "全", {"1全", 2}},
      {"half-width katakana fills one place", "ｱ1", 0, "全", {"全", 1}},
      {"several keys in turn", "0000", 0, "12", {"1200", 2}},
      {"nothing typed", "12", 1, "", {"12", 1}},
      {"caret beyond the end", "12", 9, "3", {"123", 3}},
      {"caret before the start", "12", -1, "3", {"32", 1}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(OverwriteTyping(row.text, row.caret, row.typed), row.expected);
  }
}

TEST(OverwriteTyping, BrokenTextIsOverwrittenWithoutReadingPastIt) {
  const TypingResult result = OverwriteTyping("\xE3\x81", 0, "1");
  EXPECT_EQ(result.caret, 1);
  EXPECT_EQ(result.text.substr(0, 1), "1");
}

}  // namespace
}  // namespace paylark
