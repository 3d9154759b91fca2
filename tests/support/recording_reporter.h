#pragma once

#include <string>
#include <vector>

#include "entry/reporter.h"

namespace paylark::testing {

// Records every message so that a test can compare the texts.
class RecordingReporter : public Reporter {
 public:
  void Error(std::string_view text) override { errors.emplace_back(text); }
  std::vector<std::string> errors;
};

}  // namespace paylark::testing
