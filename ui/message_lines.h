// Several messages in one box: the program's texts separate lines with "\r".
#pragma once

#include <string>
#include <vector>

namespace paylark::ui {

inline std::string JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += '\r';
    text += line;
  }
  return text;
}

}  // namespace paylark::ui
