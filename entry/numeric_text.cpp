#include "entry/numeric_text.h"

#include "store/sjis.h"

namespace paylark {

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const unsigned char lead = static_cast<unsigned char>(text[pos]);
  std::size_t len = lead < 0x80 ? 1 : (lead & 0xE0) == 0xC0 ? 2 : (lead & 0xF0) == 0xE0 ? 3
                  : (lead & 0xF8) == 0xF0 ? 4 : 1;
  if (pos + len > text.size()) return 1;
  for (std::size_t i = 1; i < len; ++i) {
    if ((static_cast<unsigned char>(text[pos + i]) & 0xC0) != 0x80) return 1;
  }
  return len;
}

std::string_view FirstCharacters(std::string_view text, std::size_t maxChars) {
  std::size_t pos = 0;
  for (std::size_t n = 0; n < maxChars && pos < text.size(); ++n) pos += Utf8CharLength(text, pos);
  return text.substr(0, pos);
}

std::string RemoveCommasAndSpaces(std::string_view text) {
  std::string noCommas;
  noCommas.reserve(text.size());
  for (char c : text) {
    if (c != ',') noCommas.push_back(c);
  }
  return Trim(RemoveSpaces(noCommas));
}

bool IsAsciiDigits(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace paylark
