// Messages from the calculation layer to the user. The screens supply an implementation that
// shows a message box; tests capture the texts.
#pragma once

#include <string>
#include <string_view>

namespace paylark {

class Reporter {
 public:
  virtual ~Reporter() = default;
  // An error box with an OK button.
  virtual void Error(std::string_view text) = 0;
};

// Swallows every message (for callers that check the result themselves).
class SilentReporter : public Reporter {
 public:
  void Error(std::string_view) override {}
};

}  // namespace paylark
