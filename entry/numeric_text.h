// Small text helpers shared by the parsing of typed numbers. Texts are UTF-8; every helper works
// on whole characters, so that stray full-width or broken input can never split a sequence or
// read past the end.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace paylark {

// Byte length of the character that starts at pos (1 for a malformed or cut sequence; 0 at the end).
std::size_t Utf8CharLength(std::string_view text, std::size_t pos);
// The first maxChars characters of text.
std::string_view FirstCharacters(std::string_view text, std::size_t maxChars);
// Every "," and every half-width and full-width space removed, then trimmed.
std::string RemoveCommasAndSpaces(std::string_view text);
// True for a non-empty text of ASCII digits only.
bool IsAsciiDigits(std::string_view text);

}  // namespace paylark
