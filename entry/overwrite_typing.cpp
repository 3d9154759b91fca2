#include "entry/overwrite_typing.h"

#include <algorithm>
#include <cstddef>
#include <vector>

#include "entry/numeric_text.h"
#include "store/sjis.h"

namespace paylark {
namespace {

std::vector<std::string> SplitCharacters(std::string_view text) {
  std::vector<std::string> characters;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t len = Utf8CharLength(text, pos);
    characters.emplace_back(text.substr(pos, len));
    pos += len;
  }
  return characters;
}

}  // namespace

TypingResult OverwriteTyping(std::string_view text, int caret, std::string_view typed) {
  std::vector<std::string> characters = SplitCharacters(text);
  std::size_t at = static_cast<std::size_t>(std::clamp<long long>(
      caret, 0, static_cast<long long>(characters.size())));

  for (const std::string& key : SplitCharacters(typed)) {
    const std::size_t keyWidth = SjisWidth(key);
    std::size_t replacedWidth = 0;
    while (replacedWidth < keyWidth && at < characters.size()) {
      replacedWidth += SjisWidth(characters[at]);
      characters.erase(characters.begin() + static_cast<std::ptrdiff_t>(at));
    }
    characters.insert(characters.begin() + static_cast<std::ptrdiff_t>(at), key);
    // The second place of a full-width character that was only half overwritten.
    if (replacedWidth > keyWidth) {
      characters.insert(characters.begin() + static_cast<std::ptrdiff_t>(at) + 1,
                        replacedWidth - keyWidth, std::string(" "));
    }
    ++at;
  }

  TypingResult result;
  for (const std::string& c : characters) result.text += c;
  result.caret = static_cast<int>(at);
  return result;
}

}  // namespace paylark
