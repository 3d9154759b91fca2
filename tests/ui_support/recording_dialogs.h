#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/dialog_service.h"

namespace paylark::testing {

// Records every message box, beep and notice; answers questions from a script.
class RecordingDialogs : public ui::DialogService {
 public:
  struct Shown {
    ui::MsgKind kind;
    std::string text;
    ui::MsgButtons buttons;
  };

  ui::MsgAnswer Message(ui::MsgKind kind, std::string_view text, ui::MsgButtons buttons) override {
    shown.push_back({kind, std::string(text), buttons});
    if (buttons == ui::MsgButtons::Ok) return ui::MsgAnswer::Ok;
    if (answers.empty()) return defaultAnswer;
    ui::MsgAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void Beep() override { ++beeps; }
  void Notice(std::string_view text, int milliseconds) override {
    notices.push_back(std::string(text));
    noticeMilliseconds = milliseconds;
  }
  std::vector<std::string> OpenFiles(std::string_view, std::string_view, std::string_view, bool) override {
    return filesToOpen;
  }
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view startFolder) override {
    folderStartedAt = std::string(startFolder);
    return folderToChoose;
  }
  std::optional<std::string> SaveFile(std::string_view, std::string_view suggested, std::string_view) override {
    savesSuggested.emplace_back(suggested);
    if (filesToSave.empty()) return std::nullopt;
    std::string answer = filesToSave.front();
    filesToSave.pop_front();
    return answer;
  }
  std::optional<std::string> AskPassword(std::string_view, std::string_view prompt) override {
    passwordPrompts.emplace_back(prompt);
    return passwordAnswer;
  }

  // The texts shown, in order.
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& s : shown) t.push_back(s.text);
    return t;
  }
  void Clear() {
    shown.clear();
    notices.clear();
    beeps = 0;
  }

  std::vector<Shown> shown;
  std::deque<ui::MsgAnswer> answers;          // for Yes/No questions, in order
  ui::MsgAnswer defaultAnswer = ui::MsgAnswer::Yes;
  int beeps = 0;
  std::vector<std::string> notices;
  int noticeMilliseconds = 0;
  std::vector<std::string> filesToOpen;
  std::optional<std::string> folderToChoose;
  std::optional<std::string> passwordAnswer;
  std::vector<std::string> passwordPrompts;
  std::string folderStartedAt;
  std::deque<std::string> filesToSave;        // answers of the save dialog, in order; none: cancelled
  std::vector<std::string> savesSuggested;    // where each save dialog started
};

}  // namespace paylark::testing
