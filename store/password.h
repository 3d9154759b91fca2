// The start-up password as kept under Option/ListFile.
//
// Older settings files hold the password's Shift-JIS bytes each lowered by 16 (anyone can undo
// that); such a value is still accepted. A password set by this program is stored as a salted,
// deliberately slow hash (yescrypt, "$y$..."), which the reader tells apart by its prefix. An empty
// value means no password.
#pragma once

#include <string>
#include <string_view>

namespace paylark {

// The value to store for a new password; empty text (no password) stores empty text.
std::string StorePassword(std::string_view password);
// Whether `typed` is the password of the stored value (either form). An empty stored value has no
// password: everything passes.
bool PasswordMatches(std::string_view stored, std::string_view typed);
bool IsHashedPassword(std::string_view stored);
// The older form: each byte lowered by 16 (wrapping), and back.
std::string LegacyEncodePassword(std::string_view sjisPassword);
std::string LegacyDecodePassword(std::string_view stored);

}  // namespace paylark
