// Little-endian access to fields of a fixed-size byte image. Every record of the yearly file and
// every rate table is held as such an image, so reading and writing is one transfer, bytes that
// no field names survive unchanged, and there is no packing or alignment question.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace paylark::bytes {

static_assert(std::endian::native == std::endian::little, "the file layouts are little-endian");

inline std::int32_t GetI32(const std::uint8_t* base, std::size_t offset) {
  std::int32_t v;
  std::memcpy(&v, base + offset, sizeof v);
  return v;
}
inline void PutI32(std::uint8_t* base, std::size_t offset, std::int32_t v) {
  std::memcpy(base + offset, &v, sizeof v);
}
inline std::uint16_t GetU16(const std::uint8_t* base, std::size_t offset) {
  std::uint16_t v;
  std::memcpy(&v, base + offset, sizeof v);
  return v;
}
inline void PutU16(std::uint8_t* base, std::size_t offset, std::uint16_t v) {
  std::memcpy(base + offset, &v, sizeof v);
}
inline double GetF64(const std::uint8_t* base, std::size_t offset) {
  double v;
  std::memcpy(&v, base + offset, sizeof v);
  return v;
}
inline void PutF64(std::uint8_t* base, std::size_t offset, double v) {
  std::memcpy(base + offset, &v, sizeof v);
}
inline bool GetBool(const std::uint8_t* base, std::size_t offset) { return base[offset] != 0; }
inline void PutBool(std::uint8_t* base, std::size_t offset, bool v) { base[offset] = v ? 1 : 0; }

// A length-prefixed Shift-JIS string of at most maxLength bytes (maxLength + 1 bytes in all).
// A length byte above the maximum is read as the maximum, never past the field.
std::string GetSjisRaw(const std::uint8_t* base, std::size_t offset, std::size_t maxLength);
// Stores Shift-JIS bytes cut to maxLength without splitting a character; the bytes behind the
// string are zeroed.
void PutSjisRaw(std::uint8_t* base, std::size_t offset, std::size_t maxLength, std::string_view sjis);
// The same with UTF-8 text (converted at this boundary).
std::string GetText(const std::uint8_t* base, std::size_t offset, std::size_t maxLength);
void PutText(std::uint8_t* base, std::size_t offset, std::size_t maxLength, std::string_view utf8);
// Zeroes the bytes behind the string's current length (the normalisation before a byte compare).
void ZeroStringTail(std::uint8_t* base, std::size_t offset, std::size_t maxLength);

// A fixed-size byte image with typed field access; records derive from it.
template <std::size_t N>
struct ByteImage {
  static constexpr std::size_t kSize = N;
  std::array<std::uint8_t, N> bytes{};

  std::int32_t I32(std::size_t o) const { return GetI32(bytes.data(), o); }
  void SetI32(std::size_t o, std::int32_t v) { PutI32(bytes.data(), o, v); }
  double F64(std::size_t o) const { return GetF64(bytes.data(), o); }
  void SetF64(std::size_t o, double v) { PutF64(bytes.data(), o, v); }
  bool Bool(std::size_t o) const { return GetBool(bytes.data(), o); }
  void SetBool(std::size_t o, bool v) { PutBool(bytes.data(), o, v); }
  std::uint16_t U16(std::size_t o) const { return GetU16(bytes.data(), o); }
  void SetU16(std::size_t o, std::uint16_t v) { PutU16(bytes.data(), o, v); }
  std::string Text(std::size_t o, std::size_t max) const { return GetText(bytes.data(), o, max); }
  void SetText(std::size_t o, std::size_t max, std::string_view utf8) { PutText(bytes.data(), o, max, utf8); }
  std::string RawText(std::size_t o, std::size_t max) const { return GetSjisRaw(bytes.data(), o, max); }

  void Clear() { bytes.fill(0); }
  bool operator==(const ByteImage&) const = default;
};

}  // namespace paylark::bytes
