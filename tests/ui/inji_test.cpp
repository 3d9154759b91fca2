#include "screens/inji.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <stdexcept>

#include "ui/date_field.h"
#include "screens/pre_view.h"
#include "print/qt/printer_setup.h"
#include "store/app_settings.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;
using testing::OnNextModal;
using testing::TestCompany;
using testing::TestEmployee;

std::string FileStart(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::string start(4, '\0');
  in.read(start.data(), 4);
  return in ? start : "";
}

class InjiTest : public ::testing::Test {
 protected:
  // Eleven employees, the last one retired; 令和6年 December, pay day 25.
  InjiTest() {
    state.open.eraYear = {"令和", 6};
    state.open.periodIndex = 12;
    state.Period().company = TestCompany();
    for (int s = 1; s <= 11; ++s) {
      state.Period().Employee(s) =
          TestEmployee("社員" + std::to_string(s), "2401" + std::to_string(10 + s) + "_090000", PayForm::Monthly, 200000);
    }
    state.Period().Employee(11).SetRetirementDate(" 6 3 1");
    inji.selectedSlots = [this] { return selection; };
    inji.today = [] { return CivilDate{2024, 12, 20}; };
  }
  ~InjiTest() override { inji.hide(); }

  QString Text(const char* name) { return Child<QLabel>(&inji, name)->text(); }
  QString Field(const char* name) { return Child<QLineEdit>(&inji, name)->text(); }

  // Shows the dialog for `code`, runs `inside` while it is open, then closes it unless `inside` did.
  int RunWith(int code, const char* caption, std::function<void()> inside) {
    OnNextModal([this, inside](QWidget*) {
      inside();
      if (inji.isVisible()) inji.reject();
    });
    return inji.Run(code, QString::fromUtf8(caption));
  }

  testing::TempDir folder;
  ui::ProgramState state{folder.Path()};
  testing::RecordingDialogs dialogs;
  screens::TfmPreView preview{state, dialogs};
  screens::TfmInji inji{state, dialogs, preview};
  std::vector<int> selection;
};

TEST_F(InjiTest, ShowsSheetsAndPersonsOfTheReport) {
  selection = {1, 2, 3, 4, 5};
  state.options.printClassTotals = false;
  struct Case {
    int code;
    int formType;
    const char* text;
  };
  const Case cases[] = {
      {100, 1, "  2枚 [11名]"},                 // 11 used slots, ten to a sheet
      {299, 1, " 3枚 [5名]"},                   // two payslips to a sheet
      {299, 0, " 5枚 [5名]"},
      {203, 1, " 1枚 [社員3]"},
      {499, 1, " 5枚"},
      {512, 1, "  2枚 [10名、12月分･給与]"},  // ten active employees and the total column
  };
  for (const Case& c : cases) {
    state.options.formType = c.formType;
    inji.SetReportCode(c.code);
    EXPECT_EQ(Text("pnPrnInfo").toStdString(), c.text) << c.code;
  }
}

TEST_F(InjiTest, AValueThatIsNoReportCodeIsRefusedNotPrintedAsPayslips) {
  for (int bad : {0, 231, 300, 516}) {
    EXPECT_THROW(inji.Run(bad, QStringLiteral("給与明細書")), std::invalid_argument) << bad;
  }
  EXPECT_THROW(inji.Run(print::ReportCode{print::rkRoster, 5}, QStringLiteral("社員名簿")), std::invalid_argument);
  EXPECT_FALSE(inji.isVisible());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(InjiTest, EveryShowingPreparesDateCaptionPaperAndPayslipFields) {
  state.open.eraYear = {"平成", 16};
  state.open.periodIndex = 2;
  state.Period().company.SetPayDay(31);
  selection = {1, 2};
  RunWith(299, "給与明細書", [this] {
    EXPECT_EQ(inji.windowTitle().toStdString(), "給与明細書の印刷");
    EXPECT_EQ(Field("edPrnDateYY").toStdString(), "16");
    EXPECT_EQ(Field("edPrnDateMM").toStdString(), " 2");
    EXPECT_EQ(Field("edPrnDateDD").toStdString(), "29");  // 2004 is a leap year
    EXPECT_EQ(Text("lbNengappi1").toStdString(), "令和    年    月    日");
    EXPECT_EQ(Text("pnLType").toStdString(), " A4用紙(2名/枚)  [210mm×297mm]");
    EXPECT_TRUE(Text("pnPrinter").startsWith(' '));
    EXPECT_TRUE(Child<QWidget>(&inji, "mmEditMemo")->isEnabled());
    EXPECT_EQ(inji.Printer().pageLayout().orientation(), QPageLayout::Portrait);
    EXPECT_TRUE(Child<QPushButton>(&inji, "btOk")->hasFocus());
  });
  state.open.eraYear = {"平成", 17};
  RunWith(100, "社員名簿一覧表", [this] {
    EXPECT_EQ(Field("edPrnDateDD").toStdString(), "28");
    EXPECT_EQ(Text("pnLType").toStdString(), " Ａ４用紙・横  [297mm×210mm]");
    EXPECT_FALSE(Child<QWidget>(&inji, "edPrnDateYY")->isEnabled());
    EXPECT_FALSE(Child<QWidget>(&inji, "mmEditMemo")->isEnabled());
    EXPECT_FALSE(Child<QWidget>(&inji, "btMemory")->isEnabled());
    EXPECT_EQ(inji.Printer().pageLayout().orientation(), QPageLayout::Landscape);
  });
}

TEST_F(InjiTest, DateFieldsTakeDigitsAndBlanksOnly) {
  state.options.inputOverwrite = false;
  RunWith(201, "給与明細書", [this] {
    auto* day = Child<QLineEdit>(&inji, "edPrnDateDD");
    day->setFocus();
    day->clear();
    QTest::keyClicks(day, "1a-5");
    EXPECT_EQ(day->text().toStdString(), "15");
    EXPECT_EQ(dialogs.beeps, 2);
    QTest::keyClick(day, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(day->text().toStdString(), "");
  });
}

TEST_F(InjiTest, MemoHasAtMostFiveLinesAndIsStoredOnRequest) {
  RunWith(201, "給与明細書", [this] {
    auto* memo = Child<QPlainTextEdit>(&inji, "mmEditMemo");
    memo->setFocus();
    memo->clear();
    for (const char* line : {"a", "b", "c", "d", "e"}) {
      QTest::keyClicks(memo, line);
      QTest::keyClick(memo, Qt::Key_Return);
    }
    QTest::keyClicks(memo, "x");
    EXPECT_EQ(memo->toPlainText().toStdString(), "a\nb\nc\nd\nex");

    dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
    Click(Child<QPushButton>(&inji, "btMemory"));
    EXPECT_TRUE(LoadPrintMemo(state.settings).empty());
    Click(Child<QPushButton>(&inji, "btMemory"));
  });
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"メモの入力内容を記憶しますか？", "メモの入力内容を記憶しますか？"}));
  EXPECT_EQ(dialogs.notices, std::vector<std::string>{"メモの入力内容を記憶しました。"});
  EXPECT_EQ(LoadPrintMemo(state.settings), (std::vector<std::string>{"a", "b", "c", "d", "ex"}));

  // The memo is read once, when the dialog is created.
  screens::TfmInji second(state, dialogs, preview);
  EXPECT_EQ(second.Memo().toStdString(), "a\nb\nc\nd\nex");
}

TEST_F(InjiTest, PrintsIntoAPdfFileAndStoresThePrinterChoice) {
  if (!print::InstalledPrinters().isEmpty()) GTEST_SKIP() << "a print system is installed";
  const auto pdf = folder / "roster.pdf";
  const int result = RunWith(100, "社員名簿一覧表", [&] {
    EXPECT_EQ(Text("pnPrinter").toStdString(), " PDF");
    inji.Printer().setOutputFileName(QString::fromStdString(pdf.string()));
    Click(Child<QPushButton>(&inji, "btOk"));
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(FileStart(pdf), "%PDF");
  EXPECT_TRUE(dialogs.shown.empty());

  const PrinterSettings stored = LoadPrinterSettings(state.settings);
  EXPECT_EQ(stored.deviceName, "PDF");
  EXPECT_EQ(stored.paperSize, 9);
  EXPECT_EQ(stored.orientation, 2);
  EXPECT_EQ(stored.paperWidth, 2100);
  EXPECT_EQ(stored.paperLength, 2970);
  // "PDF" is no installed printer: loading fails and changes nothing.
  EXPECT_FALSE(inji.LoadPrintInfo());

  // A stored A5 landscape choice comes back as it was stored.
  PrinterSettings a5 = stored;
  a5.paperSize = 11;
  a5.orientation = 1;
  QPrinter printer;
  printer.setOutputFormat(QPrinter::PdfFormat);
  print::ApplyPrintInfo(printer, a5);
  const PrinterSettings back = print::PrintInfoOf(printer);
  EXPECT_EQ(back.paperSize, 11);
  EXPECT_EQ(back.orientation, 1);
  EXPECT_EQ(back.paperLength, 2100);
}

TEST_F(InjiTest, AReadErrorOfTheYearlyFileEndsTheJobWithAnErrorBox) {
  // The year-to-date totals of March read January and February from a file that is not there.
  state.open.periodIndex = 3;
  state.open.currentDataFile = folder / "Data" / "令和6年給与･賞与.dat";
  state.options.printYearToDate = true;
  const auto pdf = folder / "slip.pdf";
  const int result = RunWith(201, "給与明細書", [&] {
    inji.Printer().setOutputFormat(QPrinter::PdfFormat);
    inji.Printer().setOutputFileName(QString::fromStdString(pdf.string()));
    Click(Child<QPushButton>(&inji, "btOk"));
  });
  EXPECT_EQ(result, QDialog::Rejected);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, ui::MsgKind::Error);
  EXPECT_NE(dialogs.shown[0].text.find("ファイルが見つかりません"), std::string::npos) << dialogs.shown[0].text;
}

}  // namespace
}  // namespace paylark
