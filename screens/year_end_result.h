// TfmYearEndResult (年末調整の計算結果): every intermediate figure of one employee's 年末調整, in the
// order of the 国税庁's worksheet (年末調整計算書), so the clerk can compare them line by line: the
// year's pay, 給与所得控除後の金額, each 所得控除, 課税給与所得金額, the taxes and the 過不足額.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "calc/explanation.h"
#include "calc/year_end_figures.h"

class QLabel;
class QPlainTextEdit;
class QTableWidget;

namespace paylark::screens {

class TfmYearEndResult : public QDialog {
  Q_OBJECT
 public:
  explicit TfmYearEndResult(QWidget* parent = nullptr);

  // Shows the figures of one employee's adjustment for `year`; with `explanation` (the same
  // calculation's working) the chosen line's explanation is shown under the figures.
  void Load(int year, const EmployeeYearEnd& adjustment, const Explanation* explanation = nullptr);
  void Show(int year, const EmployeeYearEnd& adjustment);
  // The explanation shown for the current line (empty when it has none).
  QString ExplanationText() const;

 private:
  void ShowExplanation();

  std::vector<QString> explanations_;  // per row of sgKeisan
  QPlainTextEdit* mmSetumei_;
  QLabel* lbName_;
  QLabel* lbExclusion_;
  QTableWidget* sgKeisan_;
};

}  // namespace paylark::screens
