#include "screens/year_end.h"

#include <QComboBox>
#include <QPrinter>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>
#include <memory>

#include "store/atomic_file.h"

#include "entry/display_format.h"
#include "print/qt/pdf_report.h"
#include "print/qt/print_job.h"
#include "print/qt/printer_setup.h"
#include "print/withholding_slip.h"
#include "print/year_end_documents.h"
#include "screens/declaration.h"
#include "screens/pre_view.h"
#include "screens/year_end_company.h"
#include "screens/year_end_result.h"
#include "session/period_selection_rules.h"
#include "session/year_end_session.h"
#include "ui/entry_fields.h"
#include "ui/file_to_write.h"
#include "ui/qt_text.h"

namespace paylark::screens {
namespace {

constexpr int kDecemberSalary = 12;
// The documents of the 印刷 choice, in this order.
enum DocumentChoice { kSlips, kSalaryReports, kBooks, kList, kListCsv };
constexpr const char* kDocuments[] = {"源泉徴収票（受給者交付用）", "給与支払報告書（総括表・個人別明細書）", "源泉徴収簿",
                                      "年末調整一覧表", "年末調整一覧表（CSV）"};
enum Column { kName, kStatus, kPay, kAnnualTax, kWithheld, kDifference, kColumns };

QString YenText(Yen v) { return ui::FromUtf8(FormatAmount(11, v)).trimmed(); }

QTableWidgetItem* Cell(const QString& text, bool amount) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(amount ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
  return item;
}

QString StatusText(const YearEndRow& row) {
  switch (row.status) {
    case YearEndStatus::NotEntered: return QStringLiteral("申告書 未入力");
    case YearEndStatus::Excluded:
      return QStringLiteral("対象外（") + ui::FromUtf8(row.exclusion) + QStringLiteral("）");
    case YearEndStatus::Entered:
      return row.recalculationNeeded ? QStringLiteral("入力済（再計算が必要）") : QStringLiteral("入力済");
    default: return ui::FromUtf8(YearEndStatusLabel(row.status));
  }
}

std::string Names(const std::vector<std::string>& names) {
  std::string out;
  for (const std::string& n : names) out += (out.empty() ? "" : "、") + n;
  return out;
}

}  // namespace

TfmYearEnd::TfmYearEnd(ui::ProgramState& state, ui::DialogService& dialogs, TfmPreView& preview, QWidget* parent)
    : QDialog(parent),
      state_(state),
      dialogs_(dialogs),
      preview_(preview),
      declaration_(std::make_unique<TfmDeclaration>(dialogs, state.options, this)),
      result_(std::make_unique<TfmYearEndResult>(this)),
      company_(std::make_unique<TfmYearEndCompany>(dialogs, this)) {
  setObjectName("TfmYearEnd");
  setWindowTitle(QStringLiteral("年末調整"));
  setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

  edNen_ = new ui::NumEdit(ui::FieldContext{dialogs_, state_.options}, 40, this);
  edNen_->setObjectName("edNen");
  edNen_->SetAcceptedCharacters(QStringLiteral("0123456789"));
  edNen_->setMaxLength(4);
  edNen_->SetDisplay([](double v) { return QString::number(static_cast<int>(v)); });
  edNen_->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 12);
  connect(edNen_, &ui::NumEdit::Left, this, [this] {
    const int year = static_cast<int>(edNen_->Value());
    if (year != year_) Open(year);
  });

  sgNencho_ = new QTableWidget(0, kColumns, this);
  sgNencho_->setObjectName("sgNencho");
  sgNencho_->setHorizontalHeaderLabels({QStringLiteral("氏名"), QStringLiteral("状態"), QStringLiteral("支払金額"),
                                        QStringLiteral("年調年税額"), QStringLiteral("徴収済税額"),
                                        QStringLiteral("過不足額")});
  sgNencho_->verticalHeader()->setVisible(false);
  sgNencho_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  sgNencho_->setSelectionBehavior(QAbstractItemView::SelectRows);
  sgNencho_->setSelectionMode(QAbstractItemView::SingleSelection);
  const int amountWidth = fontMetrics().horizontalAdvance(QStringLiteral("99,999,999")) + 16;
  const int widths[kColumns] = {fontMetrics().horizontalAdvance(QString(8, QChar(0x3042))),
                                fontMetrics().horizontalAdvance(QString(14, QChar(0x3042))),
                                amountWidth, amountWidth, amountWidth, amountWidth};
  int tableWidth = 4;
  for (int c = 0; c < kColumns; ++c) {
    sgNencho_->setColumnWidth(c, widths[c]);
    tableWidth += widths[c];
  }
  sgNencho_->setMinimumSize(tableWidth + 20, fontMetrics().height() * 18);
  connect(sgNencho_, &QTableWidget::cellDoubleClicked, this, [this] { EnterDeclaration(); });

  lbGokei_ = new QLabel(this);
  lbGokei_->setObjectName("lbGokei");

  auto button = [this](const char* name, const char* caption) {
    auto* b = new QPushButton(QString::fromUtf8(caption), this);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
  };
  btSinkoku_ = button("btSinkoku", "申告書の入力");
  btKeisan_ = button("btKeisan", "一括計算");
  btKekka_ = button("btKekka", "計算結果");
  btSeisan_ = button("btSeisan", "精算");
  btInsatsu_ = button("btInsatsu", "印刷");
  btPdf_ = button("btPdf", "PDF・CSV保存");
  btSiharaisya_ = button("btSiharaisya", "支払者・提出先");
  auto* close = button("bbClose", "閉じる");

  cbSeisan_ = new QComboBox(this);
  cbSeisan_->setObjectName("cbSeisan");
  for (int period = 1; period <= kPeriodCount; ++period)
    cbSeisan_->addItem(ui::FromUtf8(app::PeriodCaption(period, state_.options.thirdBonusName)), period);
  cbSeisan_->setCurrentIndex(cbSeisan_->findData(kDecemberSalary));  // the December salary settles by default
  cbInsatsu_ = new QComboBox(this);
  cbInsatsu_->setObjectName("cbInsatsu");
  for (const char* document : kDocuments) cbInsatsu_->addItem(ui::FromUtf8(document));

  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(QStringLiteral("対象年"), this));
  top->addWidget(edNen_);
  top->addWidget(new QLabel(QStringLiteral("年分"), this));
  top->addStretch();
  top->addWidget(btSiharaisya_);

  auto* commands = new QHBoxLayout;
  commands->addWidget(btSinkoku_);
  commands->addWidget(btKeisan_);
  commands->addWidget(btKekka_);
  commands->addSpacing(16);
  commands->addWidget(new QLabel(QStringLiteral("精算先"), this));
  commands->addWidget(cbSeisan_);
  commands->addWidget(btSeisan_);
  commands->addSpacing(16);
  commands->addWidget(cbInsatsu_);
  commands->addWidget(btPdf_);
  commands->addWidget(btInsatsu_);
  commands->addStretch();
  commands->addWidget(close);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(sgNencho_);
  layout->addWidget(lbGokei_);
  layout->addLayout(commands);

  ui::InstallEnterMovesOn(this);
  connect(btSinkoku_, &QPushButton::clicked, this, [this] { EnterDeclaration(); });
  connect(btKeisan_, &QPushButton::clicked, this, [this] { CalculateAll(); });
  connect(btKekka_, &QPushButton::clicked, this, [this] { ShowResult(); });
  connect(btSeisan_, &QPushButton::clicked, this, [this] { Settle(); });
  connect(btInsatsu_, &QPushButton::clicked, this, [this] { PrintDocuments(); });
  connect(btPdf_, &QPushButton::clicked, this, [this] { WriteDocumentFile(); });
  connect(btSiharaisya_, &QPushButton::clicked, this, [this] { EditCompany(); });
  connect(close, &QPushButton::clicked, this, &TfmYearEnd::accept);
}

TfmYearEnd::~TfmYearEnd() = default;

int TfmYearEnd::DefaultYear() const {
  if (!state_.open.currentDataFile.empty()) {
    if (const std::optional<int> year = GregorianYear(state_.open.eraYear)) return *year;
  }
  return Today().year;
}

bool TfmYearEnd::RunModal(QDialog& screen) {
  if (runModal) return runModal(screen);
  return screen.exec() == QDialog::Accepted;
}

void TfmYearEnd::Open(int year) {
  year_ = year;
  edNen_->SetValue(year);
  cbSeisan_->setCurrentIndex(cbSeisan_->findData(kDecemberSalary));
  session_.reset();
  try {
    if (!state_.open.currentDataFile.empty() && GregorianYear(state_.open.eraYear) == year) {
      session_ = std::make_unique<YearEndSession>(state_, year, state_.open.currentDataFile);
    } else {
      session_ = std::make_unique<YearEndSession>(state_, year);
    }
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
  ShowRows();
  if (sgNencho_->rowCount() > 0) sgNencho_->setCurrentCell(0, kName);
  sgNencho_->setFocus();
}

bool TfmYearEnd::Run() {
  openPeriodChanged_ = false;
  Open(DefaultYear());
  exec();
  return openPeriodChanged_;
}

void TfmYearEnd::Reload() {
  if (!session_) return;
  const int row = CurrentRow();
  try {
    session_->Refresh();
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
  ShowRows();
  if (row >= 0 && row < sgNencho_->rowCount()) sgNencho_->setCurrentCell(row, kName);
}

void TfmYearEnd::ShowRows() {
  const bool open = session_ != nullptr;
  for (QWidget* w : std::initializer_list<QWidget*>{btSinkoku_, btKeisan_, btKekka_, btSeisan_, cbSeisan_,
                                                    btInsatsu_, cbInsatsu_, btPdf_, btSiharaisya_})
    w->setEnabled(open);
  if (!open) {
    sgNencho_->setRowCount(0);
    lbGokei_->clear();
    return;
  }
  const std::vector<YearEndRow>& rows = session_->Rows();
  sgNencho_->setRowCount(static_cast<int>(rows.size()));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const YearEndRow& row = rows[i];
    const int r = static_cast<int>(i);
    const bool figures = row.status == YearEndStatus::Calculated || row.status == YearEndStatus::Settled;
    sgNencho_->setItem(r, kName, Cell(ui::FromUtf8(row.name), false));
    sgNencho_->setItem(r, kStatus, Cell(StatusText(row), false));
    sgNencho_->setItem(r, kPay, Cell(YenText(row.totalPay), true));
    sgNencho_->setItem(r, kAnnualTax, Cell(figures ? YenText(row.annualTax) : QString(), true));
    sgNencho_->setItem(r, kWithheld, Cell(YenText(row.withheld), true));
    sgNencho_->setItem(r, kDifference, Cell(figures ? YenText(row.difference) : QString(), true));
    if (row.status == YearEndStatus::Excluded) {
      for (int c = 0; c < kColumns; ++c) sgNencho_->item(r, c)->setForeground(Qt::gray);
    }
  }
  const YearEndTotals t = session_->Totals();
  lbGokei_->setText(QStringLiteral("合計　%1人（対象 %2人・対象外 %3人）　支払金額 %4　年調年税額 %5　徴収済税額 %6　過不足額 %7")
                        .arg(t.employees)
                        .arg(t.adjusted)
                        .arg(t.excluded)
                        .arg(YenText(t.totalPay), YenText(t.annualTax), YenText(t.withheld), YenText(t.difference)));
}

int TfmYearEnd::CurrentRow() const {
  const int r = sgNencho_->currentRow();
  return session_ && r >= 0 && r < static_cast<int>(session_->Rows().size()) ? r : -1;
}

void TfmYearEnd::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && sgNencho_->hasFocus()) {
    EnterDeclaration();
    return;
  }
  QDialog::keyPressEvent(event);
}

// ---------------------------------------------------------------------------------------------
// Commands

void TfmYearEnd::EnterDeclaration() {
  const int r = CurrentRow();
  if (r < 0) return;
  const YearEndRow row = session_->Rows()[static_cast<std::size_t>(r)];
  DeclarationEntry entry;
  try {
    entry = session_->LoadEntry(row.key);
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    return;
  }
  const std::string key = row.key;
  declaration_->carryOver = [this, key]() -> std::optional<ReadDeclaration> {
    std::optional<DeclarationEntry> last;
    try {
      last = session_->CarryOver(key);
    } catch (const std::exception& e) {
      dialogs_.Error(e.what());
      return std::nullopt;
    }
    if (!last) return std::nullopt;
    return ReadDeclaration{last->declaration, last->particulars};
  };
  declaration_->Load(row.name, entry.declaration, entry.particulars, &session_->Rules());
  if (!RunModal(*declaration_)) {
    sgNencho_->setFocus();
    return;
  }
  try {
    const ReadDeclaration& read = declaration_->Result();
    if (const auto problem = session_->SaveEntry(DeclarationEntry{read.declaration, read.particulars, true}))
      dialogs_.Error(problem->message);
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
  Reload();
  sgNencho_->setFocus();
}

void TfmYearEnd::CalculateAll() {
  if (!session_) return;
  try {
    const int count = session_->CalculateAll();
    ShowRows();
    dialogs_.Information(std::to_string(count) + "人の年末調整を計算しました。");
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    Reload();
  }
}

void TfmYearEnd::ShowResult() {
  const int r = CurrentRow();
  if (r < 0) return;
  const YearEndRow& row = session_->Rows()[static_cast<std::size_t>(r)];
  // The same calculation again, this time recording its working for the explanations.
  Explanation explanation;
  if (!row.adjustment.exclusion) {
    ComputeYearEnd(session_->Rules(), YearEndInputOf(row.adjustment.pay, row.declaration ? &*row.declaration : nullptr),
                   &explanation);
  }
  result_->Load(year_, row.adjustment, &explanation);
  RunModal(*result_);
}

void TfmYearEnd::Settle() {
  if (!session_) return;
  const int period = cbSeisan_->currentData().toInt();
  const std::string caption = ui::ToUtf8(cbSeisan_->currentText());
  if (!dialogs_.Confirm("計算済の社員の過不足額を" + caption + "で精算します。\r宜しいですか？")) return;
  SettleResult result;
  try {
    result = session_->Settle(period);
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    Reload();
    return;
  }
  if (result.openPeriodChanged) openPeriodChanged_ = true;
  ShowRows();
  std::string report = std::to_string(result.settled.size()) + "人の過不足額を" + caption + "で精算しました。";
  if (!result.notCalculated.empty()) report += "\r未計算のため精算しなかった社員: " + Names(result.notCalculated);
  if (!result.withoutSlot.empty()) report += "\r" + caption + "にいないため精算できなかった社員: " + Names(result.withoutSlot);
  if (!result.cleared.empty()) report += "\r対象外のため精算を取り消した社員: " + Names(result.cleared);
  dialogs_.Information(report);
  for (const SettledEmployee& s : result.settled) {
    if (!s.deferral.offered) continue;
    dialogs_.Information(s.name + "さんの不足額は、翌年に繰り越して徴収することができます（年末調整による不足額徴収繰延べ）。\r" +
                         caption + "で徴収 " + ui::ToUtf8(YenText(s.deferral.collectedNow)) + "円、1月 " +
                         ui::ToUtf8(YenText(s.deferral.january)) + "円、2月 " +
                         ui::ToUtf8(YenText(s.deferral.february)) + "円");
  }
}

QPrinter& TfmYearEnd::Printer() {
  if (!printer_) {
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    print::LoadPrintInfo(*printer_, state_.settings);  // the printer of the print dialog, when there is one
  }
  return *printer_;
}

std::optional<print::Document> TfmYearEnd::ChosenDocument(std::shared_ptr<const print::YearEndSource>& source) {
  source = std::make_shared<const print::YearEndSource>(BuildYearEndSource(*session_));
  switch (cbInsatsu_->currentIndex()) {
    case kSlips: return print::WithholdingSlipDocument(*source);
    case kSalaryReports: return print::SalaryReportDocument(*source);
    case kBooks: return print::WithholdingBookDocument(*source);
    case kList: return print::YearEndListDocument(*source);
    default: return std::nullopt;
  }
}

void TfmYearEnd::PrintDocuments() {
  if (!session_ || session_->Rows().empty()) return;
  if (cbInsatsu_->currentIndex() == kListCsv) {
    WriteDocumentFile();
    return;
  }
  std::shared_ptr<const print::YearEndSource> source;
  std::optional<print::Document> document;
  try {
    document = ChosenDocument(source);
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    return;
  }
  if (!document || document->pageCount == 0) return;
  print::SetLandscape(Printer(), document->landscape);
  PreviewJob job;
  job.pageCount = document->pageCount;
  job.printer = print::PageOf(Printer());
  auto shared = std::make_shared<print::Document>(*document);
  job.drawPage = [shared, source](print::PageModel& page, int pageNumber) {
    if (pageNumber >= 1 && pageNumber <= shared->pageCount) shared->drawPage(page, pageNumber - 1);
  };
  job.print = [this, shared, source] {
    print::PageModel page;
    const print::JobResult result = print::PrintDocument(Printer(), page, *shared, &state_.options);
    if (!result.printed && !result.error.empty()) dialogs_.Error(result.error);
    return result.printed;
  };
  preview_.Run(job);
}

void TfmYearEnd::WriteDocumentFile() {
  if (!session_ || session_->Rows().empty()) return;
  const bool csv = cbInsatsu_->currentIndex() == kListCsv;
  const std::string title = kDocuments[cbInsatsu_->currentIndex()];
  std::string name = std::to_string(year_) + "年分" +
                     (csv ? std::string("年末調整一覧表.csv") : std::string(title.substr(0, title.find("（"))) + ".pdf");
  const std::filesystem::path folder = lastFolder_.empty() ? state_.paths.programDir : std::filesystem::path(lastFolder_);
  const std::optional<std::filesystem::path> chosen =
      ui::AskFileToWrite(dialogs_, csv ? "CSVファイルに保存" : "PDFファイルに保存", folder / std::filesystem::path(name),
                         csv ? "CSVファイル (*.csv)" : "PDFファイル (*.pdf)", csv ? ".csv" : ".pdf");
  if (!chosen) return;
  const std::filesystem::path& path = *chosen;
  lastFolder_ = path.parent_path().string();
  try {
    std::shared_ptr<const print::YearEndSource> source;
    if (csv) {
      source = std::make_shared<const print::YearEndSource>(BuildYearEndSource(*session_));
      ReplaceFileContents(path, print::YearEndListCsv(*source));
      dialogs_.Information("CSVファイルに保存しました。\r" + path.string());
      return;
    }
    const std::optional<print::Document> document = ChosenDocument(source);
    if (!document || document->pageCount == 0) return;
    const print::JobResult result = print::WritePdfDocument(path, *document);
    if (!result.printed) {
      dialogs_.Error(result.error.empty() ? std::string(print::kPrintStartFailed) : result.error);
      return;
    }
    dialogs_.Information("PDFファイルに保存しました。\r" + path.string());
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
}

void TfmYearEnd::EditCompany() {
  if (!session_) return;
  CompanyParticulars company;
  std::vector<MunicipalityNumber> numbers;
  try {
    if (const std::optional<CompanyParticulars> stored = session_->Store().LoadCompany(year_)) {
      company = *stored;
    } else if (const std::optional<CompanyParticulars> last = session_->Store().LoadCompany(year_ - 1)) {
      company = *last;  // last year's as the start
    }
    company.year = year_;
    if (company.name.empty()) company.name = state_.Period().company.Name();
    numbers = session_->Store().LoadMunicipalityNumbers();
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
    return;
  }
  company_->Load(company, numbers);
  if (!RunModal(*company_)) return;
  try {
    session_->Store().SaveCompany(company_->Company());
    session_->Store().SaveMunicipalityNumbers(company_->Numbers());
  } catch (const std::exception& e) {
    dialogs_.Error(e.what());
  }
}

}  // namespace paylark::screens
