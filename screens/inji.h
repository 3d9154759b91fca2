// TfmInji (印刷): the one entry to printing. The caller gives the report code (kind × 100 +
// target) and the report's name; the dialog shows the printer, the paper and how many sheets and
// persons the job has, takes the payment date and the memo of payslips, offers the printer set-up
// and the preview, and prints. Created once; every showing recomputes printer, paper, counts and
// the default date. The memo is read from the settings once, when the dialog is created, and then
// keeps what the user typed for the program run.
//
// The mail screen reuses the date fields, the memo, the sheet count and the preview through the
// public accessors.
#pragma once

#include <QDialog>
#include <QPrinter>
#include <functional>
#include <memory>
#include <vector>

#include "calc/pay_date.h"
#include "print/page_model.h"
#include "print/report_code.h"
#include "print/report_source.h"
#include "store/era.h"
#include "ui/dialog_service.h"
#include "session/program_state.h"

class QLabel;
class QPushButton;

namespace paylark::print {
class PayDateRow;
class RuledTextEdit;
}

namespace paylark::screens {

class TfmPreView;

class TfmInji : public QDialog {
  Q_OBJECT
 public:
  TfmInji(ui::ProgramState& state, ui::DialogService& dialogs, TfmPreView& preview, QWidget* parent = nullptr);
  ~TfmInji() override;

  // Configures the dialog for the report and shows it modally with the caption + "の印刷".
  // Accepted when the job was printed (here or from the preview).
  int Run(print::ReportCode code, const QString& caption);
  int Run(int reportCode, const QString& caption);  // throws std::invalid_argument for no report code

  // Target 99: the rows selected in the employee list, in list order (TfmMembList::SelectedSlots).
  std::function<std::vector<int>()> selectedSlots;
  // Today's date (the era label, the date texts of the reports); the system clock by default.
  std::function<CivilDate()> today = [] { return Today(); };

  // --- The job ---
  // Sets the report code, takes the selected rows for target 99 and counts sheets and persons.
  void SetReportCode(int reportCode);
  // The same with the employees of target 99 given (the mail screen's recipients).
  void SetReportCode(int reportCode, std::vector<int> employees);
  print::ReportCode Code() const { return code_; }
  int SheetCount() const { return pageCount_; }
  int PersonCount() const { return personCount_; }
  // The preview's page count (the mail screen sets it to its recipient count).
  void SetSheetCount(int sheets) { pageCount_ = sheets; }
  // What the pages read: the open period, the settings, the selection, memo, date and today.
  print::ReportSource MakeSource() const;
  // The print job on the printer: hides the dialog, stores the printer choice, prints every sheet
  // and closes the dialog (Accepted when printed; a failure is shown and closes it Rejected).
  bool PrintJob();
  // Shows the preview of the job; Accepted when the user printed from it.
  int ShowPreview(bool printEnabled);

  // --- The printer ---
  QPrinter& Printer();
  void ApplyPaper(int paperSize, int orientation);
  void SetLandscape(bool landscape);
  bool LoadPrintInfo();
  void SavePrintInfo();

  // --- The fields the mail screen shares ---
  QString Memo() const;
  void SetMemo(const QString& memo);
  print::PayDateFields DateFields() const;
  void SetDateFields(const print::PayDateFields& fields);
  // The default payment date of the open period.
  PayDateTexts DefaultPayDate() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildForm();
  void ShowPrinterName();

  void btMemoryClick();
  void btOkClick();
  void btPreViewClick();
  void btPrnSetupClick();

  ui::ProgramState& state_;
  ui::DialogService& dialogs_;
  TfmPreView& preview_;
  std::unique_ptr<QPrinter> printer_;
  print::PageModel page_;
  print::ReportCode code_;
  std::vector<int> selected_;
  int pageCount_ = 0;
  int personCount_ = 0;
  QString caption_;


  QLabel* pnPrinter_ = nullptr;
  QLabel* pnLType_ = nullptr;
  QLabel* pnPrnInfo_ = nullptr;
  QLabel* lbNengappi0_ = nullptr;
  print::PayDateRow* dateRow_ = nullptr;
  QLabel* lbEditMemo_ = nullptr;
  print::RuledTextEdit* mmEditMemo_ = nullptr;
  QPushButton* btMemory_ = nullptr;
  QPushButton* btOk_ = nullptr;
  QPushButton* btPreView_ = nullptr;
  QPushButton* btPrnSetup_ = nullptr;
  QPushButton* btCancel_ = nullptr;
};

}  // namespace paylark::screens
