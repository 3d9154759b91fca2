// Shift-JIS (code page 932) text. Files hold Shift-JIS; the program works in UTF-8 and converts
// at the file boundary only. The byte-level helpers work on Shift-JIS bytes, where a double-byte
// character is a lead byte (0x81-0x9F, 0xE0-0xFC) followed by a trail byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace paylark {

// A text that has no code page 932 form, or bytes that are not valid code page 932.
class EncodingError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// UTF-8 -> code page 932 bytes. Throws EncodingError for characters outside the code page.
std::string ToSjis(std::string_view utf8);
// Whether a UTF-8 text has a code page 932 form (can be written to a file).
bool HasSjisForm(std::string_view utf8);
// code page 932 bytes -> UTF-8. Undecodable bytes become U+FFFD rather than failing, so that a
// damaged name in a data file can still be shown.
std::string FromSjis(std::string_view sjis);

bool IsLeadByte(unsigned char byte);

// The Shift-JIS bytes cut to at most maxBytes without splitting a double-byte character.
std::string CutToMaxLength(std::string_view sjis, std::size_t maxBytes);
// The same on UTF-8 text, measured in Shift-JIS bytes (the limit of a field in a file).
std::string CutUtf8ToSjisLength(std::string_view utf8, std::size_t maxBytes);

// Width in Shift-JIS bytes of a UTF-8 text (half-width 1, full-width 2), as the fixed-pitch
// reports and the fixed columns of list lines count it.
std::size_t SjisWidth(std::string_view utf8);

// Trimmed, with every half-width and full-width space removed.
std::string RemoveSpaces(std::string_view utf8);
// Leading and trailing half-width spaces and control characters removed.
std::string Trim(std::string_view text);

}  // namespace paylark
