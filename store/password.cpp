#include "store/password.h"

#include <crypt.h>

#include <cstring>
#include <stdexcept>
#include <string>

#include "store/sjis.h"

namespace paylark {
namespace {

constexpr std::string_view kHashPrefix = "$y$";

// Compares without stopping at the first difference.
bool SameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  unsigned char diff = 0;
  for (std::size_t i = 0; i < a.size(); ++i) diff |= static_cast<unsigned char>(a[i] ^ b[i]);
  return diff == 0;
}

std::string PasswordBytes(std::string_view utf8) {
  try {
    return ToSjis(utf8);
  } catch (const EncodingError&) {
    return std::string(utf8);  // characters outside Shift-JIS: their UTF-8 bytes
  }
}

}  // namespace

std::string LegacyEncodePassword(std::string_view sjis) {
  std::string out(sjis);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) - 16);
  return out;
}

std::string LegacyDecodePassword(std::string_view stored) {
  std::string out(stored);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) + 16);
  return out;
}

bool IsHashedPassword(std::string_view stored) { return stored.substr(0, kHashPrefix.size()) == kHashPrefix; }

std::string StorePassword(std::string_view password) {
  if (password.empty()) return {};
  char salt[CRYPT_GENSALT_OUTPUT_SIZE];
  if (crypt_gensalt_rn(kHashPrefix.data(), 0, nullptr, 0, salt, sizeof salt) == nullptr) {
    throw std::runtime_error("cannot make a password salt");
  }
  crypt_data data{};
  const std::string bytes = PasswordBytes(password);
  const char* hash = crypt_r(bytes.c_str(), salt, &data);
  if (hash == nullptr || hash[0] == '*') throw std::runtime_error("cannot hash the password");
  return hash;
}

bool PasswordMatches(std::string_view stored, std::string_view typed) {
  if (stored.empty()) return true;
  const std::string bytes = PasswordBytes(typed);
  if (IsHashedPassword(stored)) {
    crypt_data data{};
    const std::string setting(stored);
    const char* hash = crypt_r(bytes.c_str(), setting.c_str(), &data);
    return hash != nullptr && hash[0] != '*' && SameBytes(hash, stored);
  }
  // The stored text came through the settings file as UTF-8; its Shift-JIS bytes are the lowered bytes.
  return SameBytes(LegacyDecodePassword(PasswordBytes(stored)), bytes);
}

}  // namespace paylark
