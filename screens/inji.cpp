#include "screens/inji.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPushButton>
#include <QDir>
#include <QStandardPaths>
#include <QVBoxLayout>
#include <filesystem>
#include <optional>
#include <utility>

#include "ui/date_field.h"
#include "screens/pre_view.h"
#include "print/qt/print_job.h"
#include "session/print_rules.h"
#include "print/qt/printer_setup.h"
#include "ui/ruled_text_edit.h"
#include "print/report_pages.h"
#include "print/report_sheets.h"
#include "store/app_settings.h"
#include "ui/fonts.h"
#include "ui/file_to_write.h"
#include "ui/qt_text.h"

namespace paylark::screens {

using ui::FromUtf8;
using ui::ToUtf8;

namespace {


QLabel* Panel(QWidget* parent, const char* name) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setFrameShape(QFrame::Panel);
  l->setFrameShadow(QFrame::Sunken);
  l->setMinimumHeight(24);
  l->setTextInteractionFlags(Qt::NoTextInteraction);
  return l;
}

QLabel* Caption(QWidget* parent, const char* text) {
  auto* l = new QLabel(FromUtf8(text), parent);
  l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return l;
}

}  // namespace

TfmInji::TfmInji(ui::ProgramState& state, ui::DialogService& dialogs, TfmPreView& preview, QWidget* parent)
    : QDialog(parent), state_(state), dialogs_(dialogs), preview_(preview) {
  setObjectName("TfmInji");
  BuildForm();
  mmEditMemo_->SetTextAsStored(FromUtf8(print::JoinMemoLines(LoadPrintMemo(state_.settings))));
}

TfmInji::~TfmInji() = default;

// The printer is looked up when printing is first needed, not at start-up: asking the print
// system for its printers can take a while.
QPrinter& TfmInji::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    print::SelectCurrentPrinter(*printer_);
    ApplyPaper(print::kPaperA4, print::kPortrait);
  }
  return *printer_;
}

void TfmInji::BuildForm() {
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(12, 12, 12, 10);
  outer->setSpacing(10);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(6);
  grid->setColumnMinimumWidth(0, 70);
  grid->setColumnStretch(1, 1);

  pnPrinter_ = Panel(this, "pnPrinter");
  pnLType_ = Panel(this, "pnLType");
  pnPrnInfo_ = Panel(this, "pnPrnInfo");
  pnPrinter_->setMinimumWidth(330);
  grid->addWidget(Caption(this, "プリンタ"), 0, 0);
  grid->addWidget(pnPrinter_, 0, 1, 1, 2);
  grid->addWidget(Caption(this, "用紙"), 1, 0);
  grid->addWidget(pnLType_, 1, 1, 1, 2);
  grid->addWidget(Caption(this, "印刷枚数"), 2, 0);
  grid->addWidget(pnPrnInfo_, 2, 1, 1, 2);

  lbNengappi0_ = Caption(this, "支給日");
  lbNengappi0_->setObjectName("lbNengappi0");
  dateRow_ = new print::PayDateRow(dialogs_, state_.options, this);
  grid->addWidget(lbNengappi0_, 3, 0);
  grid->addWidget(dateRow_, 3, 1, 1, 2, Qt::AlignLeft);

  lbEditMemo_ = Caption(this, "メモ");
  lbEditMemo_->setObjectName("lbEditMemo");
  lbEditMemo_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  mmEditMemo_ = new print::RuledTextEdit(dialogs_, print::MemoRule, this);
  mmEditMemo_->setObjectName("mmEditMemo");
  mmEditMemo_->setFont(ui::MinchoFont(10));
  const int lineHeight = QFontMetrics(mmEditMemo_->font()).lineSpacing();
  mmEditMemo_->setFixedHeight(lineHeight * print::kMemoMaxLines + 14);
  btMemory_ = new QPushButton(FromUtf8("記憶"), this);
  btMemory_->setObjectName("btMemory");
  btMemory_->setAutoDefault(false);
  connect(btMemory_, &QPushButton::clicked, this, &TfmInji::btMemoryClick);
  grid->addWidget(lbEditMemo_, 4, 0, Qt::AlignTop);
  grid->addWidget(mmEditMemo_, 4, 1);
  grid->addWidget(btMemory_, 4, 2, Qt::AlignTop);
  outer->addLayout(grid);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(8);
  auto button = [&](const char* name, const char* caption, void (TfmInji::*slot)()) {
    auto* b = new QPushButton(FromUtf8(caption), this);
    b->setObjectName(name);
    b->setMinimumWidth(92);
    b->setAutoDefault(true);
    connect(b, &QPushButton::clicked, this, slot);
    buttons->addWidget(b);
    return b;
  };
  buttons->addStretch();
  btOk_ = button("btOk", "印刷", &TfmInji::btOkClick);
  btPreView_ = button("btPreView", "ﾌﾟﾚﾋﾞｭｰ", &TfmInji::btPreViewClick);
  btPrnSetup_ = button("btPrnSetup", "ﾌﾟﾘﾝﾀ設定", &TfmInji::btPrnSetupClick);
  btCancel_ = button("btCancel", "中止", &TfmInji::reject);
  outer->addLayout(buttons);

  dateRow_->ShowEra(today());
}

int TfmInji::Run(int reportCode, const QString& caption) {
  return Run(print::RequireReportCode(reportCode), caption);
}

int TfmInji::Run(print::ReportCode code, const QString& caption) {
  SetReportCode(print::RequireReportCode(code.Value()).Value());
  const PayDateTexts date = DefaultPayDate();
  SetDateFields({date.year, date.month, date.day});
  caption_ = caption;
  setWindowTitle(caption + FromUtf8("の印刷"));
  if (LoadPrintInfo()) {
    ShowPrinterName();
  } else {
    ApplyPaper(print::kPaperA4, print::kPortrait);
  }
  SetLandscape(code_.Landscape());
  pnLType_->setText(FromUtf8(print::PaperText(code_.kind, state_.options.formType)));
  const bool payslip = code_.kind == print::rkPayslip;
  for (QWidget* w : std::initializer_list<QWidget*>{lbNengappi0_, dateRow_, lbEditMemo_, mmEditMemo_, btMemory_}) {
    w->setEnabled(payslip);
  }
  dateRow_->ShowEra(today());
  adjustSize();
  return exec();
}

void TfmInji::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  btOk_->setFocus();
}

void TfmInji::SetReportCode(int reportCode) {
  const bool selectedRows = print::RequireReportCode(reportCode).SelectedRows();
  SetReportCode(reportCode, selectedRows && selectedSlots ? selectedSlots() : std::vector<int>{});
}

void TfmInji::SetReportCode(int reportCode, std::vector<int> employees) {
  code_ = print::RequireReportCode(reportCode);
  selected_ = code_.SelectedRows() ? std::move(employees) : std::vector<int>{};
  const print::SheetCount count = print::CountSheets(code_, MakeSource());
  pageCount_ = count.sheets;
  personCount_ = count.persons;
  pnPrnInfo_->setText(FromUtf8(count.text));
}

print::ReportSource TfmInji::MakeSource() const {
  print::ReportSource s;
  s.open = &state_.open;
  s.options = &state_.options;
  s.salaryItems = &state_.salaryItems;
  s.bonusItems = &state_.bonusItems;
  s.selectedSlots = selected_;
  s.memo = print::MemoLines(ToUtf8(Memo()));
  s.payDate = DateFields();
  s.today = today();
  return s;
}

bool TfmInji::PrintJob() {
  hide();
  QApplication::processEvents();
  SavePrintInfo();
  const bool toPdf = Printer().outputFormat() == QPrinter::PdfFormat;
  // Every PDF is asked for: a name left from an earlier job would be overwritten without a word.
  if (toPdf && !ChoosePdfFile()) {
    reject();
    return false;
  }
  const print::JobResult result = print::PrintReport(Printer(), page_, code_, MakeSource());
  if (!result.printed) {
    if (!result.error.empty()) dialogs_.Error(result.error);
    reject();
    return false;
  }
  if (toPdf) dialogs_.Information("PDFファイルに保存しました。\r" + ToUtf8(Printer().outputFileName()));
  accept();
  return true;
}

bool TfmInji::ChoosePdfFile() {
  const std::string caption = ToUtf8(caption_.isEmpty() ? ui::kApplicationTitle : caption_);
  const std::string name = print::PdfFileName(caption, code_.kind, state_.open.eraYear, state_.PeriodIndex(),
                                              state_.options.thirdBonusName);
  std::string folder = lastPdfFolder_;
  if (folder.empty() && documentsFolder) folder = documentsFolder();
  if (folder.empty()) {
    folder = ToUtf8(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
    if (folder.empty() || !std::filesystem::is_directory(std::filesystem::path(folder))) {
      folder = ToUtf8(QDir::homePath());
    }
  }
  const std::optional<std::filesystem::path> path =
      ui::AskFileToWrite(dialogs_, "PDFファイルに保存", std::filesystem::path(folder) / std::filesystem::path(name),
                         "PDFファイル (*.pdf)", ".pdf");
  if (!path) return false;
  lastPdfFolder_ = path->parent_path().string();
  Printer().setOutputFileName(FromUtf8(path->string()));
  return true;
}

int TfmInji::ShowPreview(bool printEnabled) {
  const print::ReportSource source = MakeSource();
  const std::vector<print::PageRef> pages = print::ReportPages(code_, source);
  const print::ReportCode code = code_;
  PreviewJob job;
  job.pageCount = pageCount_;
  job.printer = print::PageOf(Printer());
  job.drawPage = [source, pages, code](print::PageModel& page, int pageNumber) {
    if (pageNumber >= 1 && pageNumber <= static_cast<int>(pages.size())) {
      print::DrawReportPage(page, code, source, pages[static_cast<std::size_t>(pageNumber - 1)]);
    }
  };
  if (code.kind == print::rkPayslip && state_.options.formType == 2) {
    // The pre-printed form, pictured by the plain two-per-sheet form's frame.
    auto plain = std::make_shared<Options>(state_.options);
    plain->formType = 1;
    plain->printYearToDate = false;
    job.drawFormPicture = [source, pages, code, plain](print::PageModel& page, int pageNumber) {
      if (pageNumber < 1 || pageNumber > static_cast<int>(pages.size())) return;
      print::ReportSource form = source;
      form.options = plain.get();
      print::DrawReportPage(page, code, form, pages[static_cast<std::size_t>(pageNumber - 1)]);
    };
  }
  if (printEnabled) job.print = [this] { return PrintJob(); };
  return preview_.Run(job);
}

void TfmInji::ApplyPaper(int paperSize, int orientation) {
  print::ApplyPaper(Printer(), paperSize, orientation);
  ShowPrinterName();
}

void TfmInji::SetLandscape(bool landscape) { print::SetLandscape(Printer(), landscape); }

bool TfmInji::LoadPrintInfo() { return print::LoadPrintInfo(Printer(), state_.settings); }

void TfmInji::SavePrintInfo() { print::SavePrintInfo(Printer(), state_.settings); }

void TfmInji::ShowPrinterName() {
  pnPrinter_->setText(QStringLiteral(" ") + print::PrinterName(Printer()));
  pnPrinter_->setToolTip(Printer().outputFormat() == QPrinter::PdfFormat ? Printer().outputFileName() : QString());
}

QString TfmInji::Memo() const { return mmEditMemo_->toPlainText(); }

void TfmInji::SetMemo(const QString& memo) { mmEditMemo_->setPlainText(memo); }

print::PayDateFields TfmInji::DateFields() const { return dateRow_->Fields(); }

void TfmInji::SetDateFields(const print::PayDateFields& fields) { dateRow_->SetFields(fields); }

PayDateTexts TfmInji::DefaultPayDate() const { return print::DefaultPayDate(state_.open); }

void TfmInji::btMemoryClick() { print::AskAndStoreMemo(dialogs_, state_.settings, Memo()); }

void TfmInji::btOkClick() { PrintJob(); }

void TfmInji::btPreViewClick() {
  const int result = ShowPreview(true);
  if (result == QDialog::Accepted) {
    accept();
    return;
  }
  if (isVisible()) {
    activateWindow();
  } else if (QWidget* main = parentWidget()) {
    main->activateWindow();
  }
}

void TfmInji::btPrnSetupClick() {
  QPrintDialog dialog(&Printer(), this);
  dialog.exec();
  ShowPrinterName();
}

}  // namespace paylark::screens
