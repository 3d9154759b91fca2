#include "store/sjis.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace paylark {
namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw EncodingError(std::string("iconv cannot convert ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts the whole input. On an invalid sequence either throws or (lenient) writes the
  // replacement and skips one byte.
  std::string Convert(std::string_view in, bool lenient, std::string_view replacement) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(in.size() * 2 + 4);
    std::vector<char> buffer(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    while (inLeft > 0) {
      char* outPtr = buffer.data();
      size_t outLeft = buffer.size();
      size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer.data(), buffer.size() - outLeft);
      if (rc == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (!lenient) {
          throw EncodingError("text has no Shift-JIS (code page 932) form");
        }
        out.append(replacement);
        ++inPtr;
        --inLeft;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t cd_;
};

Converter& ToSjisConverter() {
  thread_local Converter c("CP932", "UTF-8");
  return c;
}
Converter& FromSjisConverter() {
  thread_local Converter c("UTF-8", "CP932");
  return c;
}

bool IsAscii(std::string_view text) {
  for (unsigned char ch : text) {
    if (ch >= 0x80) return false;
  }
  return true;
}

}  // namespace

std::string ToSjis(std::string_view utf8) {
  if (IsAscii(utf8)) return std::string(utf8);
  return ToSjisConverter().Convert(utf8, false, {});
}

bool HasSjisForm(std::string_view utf8) {
  try {
    ToSjis(utf8);
    return true;
  } catch (const EncodingError&) {
    return false;
  }
}

std::string FromSjis(std::string_view sjis) {
  if (IsAscii(sjis)) return std::string(sjis);
  return FromSjisConverter().Convert(sjis, true, "\xEF\xBF\xBD");
}

bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string CutToMaxLength(std::string_view sjis, std::size_t maxBytes) {
  if (sjis.size() <= maxBytes) return std::string(sjis);
  // Walk characters so that a trail byte that looks like a lead byte is not mistaken for one.
  std::size_t pos = 0;
  while (pos < maxBytes) {
    std::size_t len = IsLeadByte(static_cast<unsigned char>(sjis[pos])) ? 2 : 1;
    if (pos + len > maxBytes) break;
    pos += len;
  }
  return std::string(sjis.substr(0, pos));
}

std::string CutUtf8ToSjisLength(std::string_view utf8, std::size_t maxBytes) {
  std::string sjis = ToSjis(utf8);
  if (sjis.size() <= maxBytes) return std::string(utf8);
  return FromSjis(CutToMaxLength(sjis, maxBytes));
}

std::size_t SjisWidth(std::string_view utf8) {
  // Half-width katakana (U+FF61..U+FF9F) are one byte in Shift-JIS; every other non-ASCII
  // character of the code page is two.
  std::size_t width = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    std::size_t len = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    if (c < 0x80) {
      width += 1;
    } else if (len == 3 && i + 2 < utf8.size()) {
      unsigned cp = ((c & 0x0F) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3F) << 6) |
                    (static_cast<unsigned char>(utf8[i + 2]) & 0x3F);
      width += (cp >= 0xFF61 && cp <= 0xFF9F) ? 1 : 2;
    } else {
      width += 2;
    }
    i += len;
  }
  return width;
}

std::string Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 0x20) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 0x20) --e;
  return std::string(text.substr(b, e - b));
}

std::string RemoveSpaces(std::string_view utf8) {
  static constexpr std::string_view kFullWidthSpace = "\xE3\x80\x80";
  std::string trimmed = Trim(utf8);
  std::string out;
  out.reserve(trimmed.size());
  for (std::size_t i = 0; i < trimmed.size();) {
    if (trimmed[i] == ' ') {
      ++i;
    } else if (std::string_view(trimmed).substr(i, 3) == kFullWidthSpace) {
      i += 3;
    } else {
      out.push_back(trimmed[i]);
      ++i;
    }
  }
  return out;
}

}  // namespace paylark
