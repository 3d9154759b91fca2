// A multi-line text kept within a rule while it is typed: the rule gives the text to keep (the
// memo drops a sixth line) or refuses the change, which is then undone with a beep.
#pragma once

#include <QPlainTextEdit>
#include <functional>
#include <optional>
#include <string>

#include "store/profile_file.h"
#include "ui/dialog_service.h"

namespace paylark::print {

class RuledTextEdit : public QPlainTextEdit {
  Q_OBJECT
 public:
  using Rule = std::function<std::optional<std::string>(const std::string& typed)>;
  RuledTextEdit(ui::DialogService& dialogs, Rule rule, QWidget* parent = nullptr);

  // A stored text, taken as it is.
  void SetTextAsStored(const QString& text);

 private:
  void ApplyRule();

  ui::DialogService& dialogs_;
  Rule rule_;
  QString before_;
  bool applying_ = false;
};

// The payslip memo: at most five lines and 170 characters (a line break counting two).
std::optional<std::string> MemoRule(const std::string& typed);
// "記憶" of the memo: asks, stores section PrintMemo and shows the notice.
void AskAndStoreMemo(ui::DialogService& dialogs, ProfileFile& settings, const QString& memo);

}  // namespace paylark::print
