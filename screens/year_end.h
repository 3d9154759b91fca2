// TfmYearEnd (年末調整): the 年末調整 of one calendar year for the open company — every employee paid
// in the year with where his adjustment stands (申告書 未入力 / 入力済 / 計算済 / 精算済, or excluded
// with the reason), his 年調年税額, 徴収済税額 and 過不足額, and the totals. Commands: 申告書の入力
// (Enter or a double click on a row, TfmDeclaration), 一括計算, 計算結果 (TfmYearEndResult), 精算
// into a chosen period (the December salary by default), 印刷 of the year-end documents, and the
// company's particulars with the municipalities' numbers (TfmYearEndCompany). The decisions are
// the session's (session/year_end_session.h); this window shows them and asks.
#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>

#include "print/document.h"
#include "print/year_end_source.h"
#include "session/program_state.h"
#include "ui/dialog_service.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace paylark::ui {
class NumEdit;
}  // namespace paylark::ui

class QPrinter;

namespace paylark::screens {

class TfmDeclaration;
class TfmPreView;
class TfmYearEndCompany;
class TfmYearEndResult;
class YearEndSession;

class TfmYearEnd : public QDialog {
  Q_OBJECT
 public:
  TfmYearEnd(ui::ProgramState& state, ui::DialogService& dialogs, TfmPreView& preview, QWidget* parent = nullptr);
  ~TfmYearEnd() override;

  // The year the window opens with: the open file's year when a period is in memory, else this year.
  int DefaultYear() const;
  // Shows the rows of `year` (modeless use and the tests).
  void Open(int year);
  // Open(DefaultYear()) and modal; true when a period in memory was changed by a settlement.
  bool Run();

  int Year() const { return year_; }
  bool OpenPeriodChanged() const { return openPeriodChanged_; }
  TfmDeclaration& DeclarationScreen() { return *declaration_; }
  TfmYearEndResult& ResultScreen() { return *result_; }
  TfmYearEndCompany& CompanyScreen() { return *company_; }

  // Runs a modal screen; the tests replace it to drive the screen without a nested loop.
  std::function<bool(QDialog& screen)> runModal;

  // The commands, as the buttons run them.
  void EnterDeclaration();
  void CalculateAll();
  void ShowResult();
  void Settle();
  void PrintDocuments();  // the chosen document in the preview, printed from there
  void WriteDocumentFile();  // the chosen document as a PDF (the list also as CSV)
  void EditCompany();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Reload();
  void ShowRows();
  int CurrentRow() const;
  bool RunModal(QDialog& screen);
  // The chosen document over the year's figures as they stand; nullopt for the CSV.
  std::optional<print::Document> ChosenDocument(std::shared_ptr<const print::YearEndSource>& source);
  QPrinter& Printer();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  TfmPreView& preview_;
  std::unique_ptr<YearEndSession> session_;
  std::unique_ptr<TfmDeclaration> declaration_;
  std::unique_ptr<TfmYearEndResult> result_;
  std::unique_ptr<TfmYearEndCompany> company_;
  int year_ = 0;
  bool openPeriodChanged_ = false;

  ui::NumEdit* edNen_;
  QTableWidget* sgNencho_;
  QLabel* lbGokei_;
  QComboBox* cbSeisan_;
  QComboBox* cbInsatsu_;
  QPushButton* btSinkoku_;
  QPushButton* btKeisan_;
  QPushButton* btKekka_;
  QPushButton* btSeisan_;
  QPushButton* btInsatsu_;
  QPushButton* btPdf_;
  std::unique_ptr<QPrinter> printer_;
  std::string lastFolder_;
  QPushButton* btSiharaisya_;
};

}  // namespace paylark::screens
