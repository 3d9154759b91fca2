// How screens reach the user: message boxes of four kinds with fixed buttons, the warning beep,
// the self-closing notice and the file and folder pickers. Screens never call Qt's message boxes
// themselves; the program supplies the Qt implementation and tests a recording one that answers
// from a script.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace paylark::ui {

enum class MsgKind { Warning, Error, Information, Confirmation };
enum class MsgButtons { Ok, YesNo, YesNoCancel, OkCancel };  // OkCancel answers Ok or Cancel
enum class MsgAnswer { Ok, Yes, No, Cancel };

class DialogService {
 public:
  virtual ~DialogService() = default;

  // A modal message box. Texts use "\r" for line breaks, as the program's messages are written.
  virtual MsgAnswer Message(MsgKind kind, std::string_view text, MsgButtons buttons) = 0;
  virtual void Beep() = 0;
  // The notice that closes itself after `milliseconds` (TfmNotice).
  virtual void Notice(std::string_view text, int milliseconds) = 0;
  // File-open dialog; empty when cancelled. `filter` is "説明 (*.ext)".
  virtual std::vector<std::string> OpenFiles(std::string_view title, std::string_view folder,
                                             std::string_view filter, bool several) = 0;
  virtual std::optional<std::string> ChooseFolder(std::string_view title, std::string_view startFolder) = 0;
  // File-save dialog starting at `suggested` (a folder and a file name); nullopt when cancelled. It
  // does not ask about replacing a file: the caller does, through Message.
  virtual std::optional<std::string> SaveFile(std::string_view title, std::string_view suggested,
                                              std::string_view filter) {
    (void)title;
    (void)suggested;
    (void)filter;
    return std::nullopt;
  }
  // A hidden-text entry (a server password); nullopt when cancelled.
  virtual std::optional<std::string> AskPassword(std::string_view title, std::string_view prompt) = 0;

  // Short forms.
  void Warning(std::string_view text) { Message(MsgKind::Warning, text, MsgButtons::Ok); }
  void Error(std::string_view text) { Message(MsgKind::Error, text, MsgButtons::Ok); }
  void Information(std::string_view text) { Message(MsgKind::Information, text, MsgButtons::Ok); }
  // A confirmation with Yes and No; true for Yes.
  bool Confirm(std::string_view text) {
    return Message(MsgKind::Confirmation, text, MsgButtons::YesNo) == MsgAnswer::Yes;
  }
};

}  // namespace paylark::ui
