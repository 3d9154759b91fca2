// TfmNotice: a small window with one line of text that closes itself after a moment (the save
// notice "データファイルに保存しました。").
#pragma once

#include <QDialog>

class QLabel;

namespace paylark::ui {

class TfmNotice : public QDialog {
  Q_OBJECT
 public:
  explicit TfmNotice(QWidget* parent = nullptr);
  void SetText(const QString& text);
  // Shows the notice and keeps the user's input waiting until it has closed itself.
  static void ShowFor(const QString& text, int milliseconds);

 private:
  QLabel* lbMessage_;
};

}  // namespace paylark::ui
