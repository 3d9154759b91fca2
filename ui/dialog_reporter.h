// The calculation layer's messages shown as error boxes.
#pragma once

#include "entry/reporter.h"
#include "ui/dialog_service.h"

namespace paylark::ui {

class DialogReporter : public Reporter {
 public:
  explicit DialogReporter(DialogService& dialogs) : dialogs_(dialogs) {}
  void Error(std::string_view text) override { dialogs_.Error(text); }

 private:
  DialogService& dialogs_;
};

}  // namespace paylark::ui
