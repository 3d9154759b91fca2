#include "ui/ruled_text_edit.h"

#include <QTextCursor>
#include <algorithm>

#include "session/print_rules.h"
#include "store/app_settings.h"
#include "ui/qt_text.h"

namespace paylark::print {

namespace {
constexpr const char* kAskStoreMemo = "メモの入力内容を記憶しますか？";
constexpr const char* kMemoStored = "メモの入力内容を記憶しました。";
constexpr int kNoticeMilliseconds = 1500;
}  // namespace

RuledTextEdit::RuledTextEdit(ui::DialogService& dialogs, Rule rule, QWidget* parent)
    : QPlainTextEdit(parent), dialogs_(dialogs), rule_(std::move(rule)) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(true);
  connect(this, &QPlainTextEdit::textChanged, this, &RuledTextEdit::ApplyRule);
}

void RuledTextEdit::SetTextAsStored(const QString& text) {
  applying_ = true;
  setPlainText(text);
  applying_ = false;
  before_ = toPlainText();
}

void RuledTextEdit::ApplyRule() {
  if (applying_) return;
  const QString typed = toPlainText();
  QString result = before_;
  if (const std::optional<std::string> ruled = rule_(ui::ToUtf8(typed))) {
    result = ui::FromUtf8(*ruled);
  } else {
    dialogs_.Beep();
  }
  if (result != typed) {
    const int caret = textCursor().position();
    applying_ = true;
    setPlainText(result);
    applying_ = false;
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(caret, static_cast<int>(result.size())));
    setTextCursor(cursor);
  }
  before_ = result;
}

std::optional<std::string> MemoRule(const std::string& typed) {
  std::string ruled = ApplyMemoRule(typed);
  if (MemoLength(ruled) > kMemoMaxLength) return std::nullopt;
  return ruled;
}

void AskAndStoreMemo(ui::DialogService& dialogs, ProfileFile& settings, const QString& memo) {
  if (!dialogs.Confirm(kAskStoreMemo)) return;
  SavePrintMemo(settings, MemoLines(ui::ToUtf8(memo)));
  dialogs.Notice(kMemoStored, kNoticeMilliseconds);
}

}  // namespace paylark::print
