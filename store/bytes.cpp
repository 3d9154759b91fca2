#include "store/bytes.h"

#include <algorithm>

#include "store/sjis.h"

namespace paylark::bytes {

std::string GetSjisRaw(const std::uint8_t* base, std::size_t offset, std::size_t maxLength) {
  std::size_t len = std::min<std::size_t>(base[offset], maxLength);
  return std::string(reinterpret_cast<const char*>(base + offset + 1), len);
}

void PutSjisRaw(std::uint8_t* base, std::size_t offset, std::size_t maxLength, std::string_view sjis) {
  std::string cut = CutToMaxLength(sjis, maxLength);
  base[offset] = static_cast<std::uint8_t>(cut.size());
  std::memcpy(base + offset + 1, cut.data(), cut.size());
  std::memset(base + offset + 1 + cut.size(), 0, maxLength - cut.size());
}

std::string GetText(const std::uint8_t* base, std::size_t offset, std::size_t maxLength) {
  return FromSjis(GetSjisRaw(base, offset, maxLength));
}

void PutText(std::uint8_t* base, std::size_t offset, std::size_t maxLength, std::string_view utf8) {
  PutSjisRaw(base, offset, maxLength, ToSjis(utf8));
}

void ZeroStringTail(std::uint8_t* base, std::size_t offset, std::size_t maxLength) {
  std::size_t len = std::min<std::size_t>(base[offset], maxLength);
  base[offset] = static_cast<std::uint8_t>(len);
  std::memset(base + offset + 1 + len, 0, maxLength - len);
}

}  // namespace paylark::bytes
