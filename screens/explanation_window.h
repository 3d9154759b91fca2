// TfmExplanation (計算の説明): a small window with the explanation of one computed amount of the
// detail entry screen — the working, the table row, the rate and its source, the rounding and the
// inputs with where they came from. Read-only; Esc or 閉じる closes it.
#pragma once

#include <QDialog>

class QPlainTextEdit;

namespace paylark::screens {

class TfmExplanation : public QDialog {
  Q_OBJECT
 public:
  explicit TfmExplanation(QWidget* parent = nullptr);
  // The amount's name as the window's title and its explanation as the text.
  void ShowExplanation(const QString& itemName, const QString& text);
  QString Text() const;

 private:
  QPlainTextEdit* meExplanation_ = nullptr;
};

}  // namespace paylark::screens
