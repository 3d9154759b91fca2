// printf-style formatting into a std::string (the report texts: "%2d枚", "Page %d / %d", …).
#pragma once

#include <string>

namespace paylark {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace paylark
