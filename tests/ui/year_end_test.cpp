// The 年末調整 window offscreen over a 令和8年 program folder: one employee paid every month, the
// December salary in memory. His declaration (a spouse and three dependants) is typed into the
// declaration entry, everyone is calculated and settled into December, and the settled amount is
// found on his payslip (the 年末調整 line) and in his ledger, which reads the yearly file.
#include "screens/year_end.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <filesystem>
#include <set>

#include "entry/display_format.h"
#include "print/layouts.h"
#include "print/page_model.h"
#include "print/report_source.h"
#include "screens/declaration.h"
#include "screens/pre_view.h"
#include "screens/year_end_result.h"
#include "store/atomic_file.h"
#include "store/year_file.h"
#include "support/payroll_fixture.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark::screens {
namespace {

namespace fs = std::filesystem;
using testing::Child;
using testing::Click;
using testing::Leave;
using testing::TypeInto;

constexpr const char* kKey = "260101_000001";

class YearEndTest : public ::testing::Test {
 protected:
  YearEndTest() {
    fs::create_directories(dir.Path() / "YearEnd");
    fs::create_directories(state.paths.dataDir);
    fs::copy_file(PAYLARK_TABLES_SRC "/year-end/year-end-2026.txt",
                  dir.Path() / "YearEnd" / "year-end-2026.txt");
    OpenPeriod& open = state.open;
    open.currentDataFile = state.paths.dataDir / YearFileName({"令和", 8});
    open.eraYear = {"令和", 8};
    CreateYearFile(open.currentDataFile, open);
    PeriodBlock& p = open.period;
    for (int period = 1; period <= 12; ++period) {
      p.Clear();
      p.company = testing::TestCompany();
      p.Employee(1) = testing::TestEmployee("山田　太郎", kKey, PayForm::Monthly, 300000);
      p.Employee(1).SetBirthDate(19800401);
      p.Payment(1).Set(Sikyu::TaxableTotal, 300000);
      p.Payment(1).Set(Sikyu::Total, 300000);
      p.Deduction(1).Set(Koujo::SocialTotal, 45000);
      p.Deduction(1).Set(Koujo::IncomeTax, 6000);
      p.Deduction(1).Set(Koujo::Total, 51000);
      open.periodIndex = period;
      SavePeriod(open.currentDataFile, open);
    }
    // December stays in memory, as the main window holds it.
  }
  ~YearEndTest() override { screen.hide(); }

  QTableWidget* Grid() { return Child<QTableWidget>(&screen, "sgNencho"); }
  QString Cell(int row, int column) { return Grid()->item(row, column)->text(); }
  QLineEdit* Edit(const std::string& name) { return Child<QLineEdit>(&screen.DeclarationScreen(), name.c_str()); }
  QString Kind(const char* name) { return Child<QLabel>(&screen.DeclarationScreen(), name)->text(); }
  // ASCII is typed key by key; Japanese arrives as the input method commits it.
  void Type(const std::string& name, const char* text) {
    const QString typed = QString::fromUtf8(text);
    QLineEdit* edit = Edit(name);
    bool ascii = true;
    for (QChar c : typed) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
      TypeInto(edit, typed);
    } else {
      edit->setFocus();
      edit->clear();
      QInputMethodEvent commit;
      commit.setCommitString(typed);
      QApplication::sendEvent(edit, &commit);
    }
    Leave(edit);
  }

  // The texts drawn on each row of a report.
  static std::vector<std::string> Rows(const testing::RecordingCanvas& canvas) {
    std::set<int> ys;
    for (const auto& t : canvas.texts) ys.insert(t.y);
    std::vector<std::string> rows;
    for (int y : ys) rows.push_back(canvas.TextBetween(y, 0, 1 << 30));
    return rows;
  }
  std::vector<std::string> Drawn(void (*draw)(print::PageModel&, const print::ReportSource&, int)) {
    print::ReportSource source;
    source.open = &state.open;
    source.options = &state.options;
    source.salaryItems = &state.salaryItems;
    source.bonusItems = &state.bonusItems;
    source.payDate = {" 8", "12", "25"};
    source.today = {2026, 12, 25};
    testing::RecordingCanvas canvas;
    print::PageModel page;
    page.canvas = &canvas;
    page.thinPen = 1;
    page.thickPen = 3;
    draw(page, source, 1);
    return Rows(canvas);
  }

  testing::TempDir dir;
  ui::ProgramState state{dir.Path()};
  testing::RecordingDialogs dialogs;
  TfmPreView preview{state, dialogs};
  TfmYearEnd screen{state, dialogs, preview};
};

TEST_F(YearEndTest, DeclarationOfASpouseAndThreeDependantsCalculatedAndSettledIntoTheDecemberPay) {
  EXPECT_EQ(screen.DefaultYear(), 2026);
  screen.Open(2026);
  ASSERT_TRUE(testing::ShowActive(&screen));
  ASSERT_EQ(Grid()->rowCount(), 1);
  EXPECT_EQ(Cell(0, 0), "山田　太郎");
  EXPECT_EQ(Cell(0, 1), "申告書 未入力");
  EXPECT_EQ(Cell(0, 2), "3,600,000");
  EXPECT_EQ(Cell(0, 4), "72,000");

  // Enter on the row opens his declaration; the rows are typed as on the paper form.
  bool entered = false;
  screen.runModal = [&](QDialog& d) {
    EXPECT_EQ(&d, &screen.DeclarationScreen());
    EXPECT_TRUE(testing::ShowActive(&d));
    EXPECT_EQ(Edit("edBirth")->text(), "昭和55年 4月 1日");  // from his record
    Type("edHaiName", "山田　花子");
    Type("edHaiBirth", "1985/3/3");
    Type("edFuyoName1", "山田　一郎");
    Type("edFuyoZoku1", "長男");
    Type("edFuyoBirth1", "H17.5.5");
    Type("edFuyoName2", "山田　桜");
    Type("edFuyoZoku2", "長女");
    Type("edFuyoBirth2", "2015/8/1");
    Type("edFuyoName3", "山田　一");
    Type("edFuyoZoku3", "父");
    Type("edFuyoBirth3", "昭和25年2月1日");
    Child<QCheckBox>(&d, "cbFuyoDokyo3")->setChecked(true);
    EXPECT_EQ(Kind("lbHaiKind"), "一般");
    EXPECT_EQ(Kind("lbFuyoKind1"), "特定");
    EXPECT_EQ(Kind("lbFuyoKind2"), "16歳未満");
    EXPECT_EQ(Kind("lbFuyoKind3"), "同居老親等");
    Type("edSeimeiNew", "60000");
    // 令和8年分 with a dependant under 23 (一郎): the 新 一般 cap is 60,000, 60,000 × 1/4 + 30,000.
    EXPECT_EQ(Child<QLabel>(&d, "lbSeimei")->text(), "45,000 円");
    Click(Child<QPushButton>(&d, "bbOk"));
    entered = d.result() == QDialog::Accepted;
    return entered;
  };
  Grid()->setFocus();
  Grid()->setCurrentCell(0, 0);
  QTest::keyClick(Grid(), Qt::Key_Return);
  ASSERT_TRUE(entered) << (dialogs.Texts().empty() ? "" : dialogs.Texts().back());
  EXPECT_EQ(Cell(0, 1), "入力済");

  Click(Child<QPushButton>(&screen, "btKeisan"));
  EXPECT_EQ(dialogs.Texts().back(), "1人の年末調整を計算しました。");
  EXPECT_EQ(Cell(0, 1), "計算済");
  // A spouse, a 特定, a 同居老親等 and 生命保険料: far less tax than withheld, a refund.
  QString difference = Cell(0, 5);
  ASSERT_TRUE(difference.startsWith("-")) << difference.toStdString();
  const Yen refund = -difference.remove(',').toInt();
  ASSERT_GT(refund, 0);
  EXPECT_EQ(Cell(0, 3).remove(',').toInt() + refund, 72000);

  // The figures line by line.
  screen.runModal = [&](QDialog& d) {
    auto* lines = Child<QTableWidget>(&d, "sgKeisan");
    bool found = false;
    for (int r = 0; r < lines->rowCount(); ++r) {
      if (lines->item(r, 0)->text() != "扶養控除") continue;
      found = lines->item(r, 1)->text() == "1,210,000";
      // The line's explanation from the same calculation: its amount and how it is made up.
      lines->setCurrentCell(r, 0);
      const std::string why = screen.ResultScreen().ExplanationText().toStdString();
      EXPECT_EQ(why.rfind("扶養控除 1,210,000 ＝", 0), 0u) << why;
      EXPECT_NE(why.find("630,000"), std::string::npos) << why;
      EXPECT_NE(why.find("580,000"), std::string::npos) << why;
    }
    EXPECT_TRUE(found) << "扶養控除 of a 特定 (630,000) and a 同居老親等 (580,000)";
    return true;
  };
  Click(Child<QPushButton>(&screen, "btKekka"));

  // 精算 into the December salary, the default, after the question.
  EXPECT_EQ(Child<QComboBox>(&screen, "cbSeisan")->currentData().toInt(), 12);
  dialogs.Clear();
  dialogs.answers = {ui::MsgAnswer::Yes};
  Click(Child<QPushButton>(&screen, "btSeisan"));
  ASSERT_GE(dialogs.Texts().size(), 2u);
  EXPECT_EQ(dialogs.shown[0].kind, ui::MsgKind::Confirmation);
  EXPECT_EQ(dialogs.Texts()[1], "1人の過不足額を12月分給与で精算しました。");
  EXPECT_EQ(Cell(0, 1), "精算済");
  EXPECT_TRUE(screen.OpenPeriodChanged());
  EXPECT_EQ(state.Period().Deduction(1).Get(Koujo::YearEndAdjustment), -refund);

  // The payslip of the December pay in memory: its 年末調整 line reads the refund.
  const std::string amount = FormatAmount(9, refund);
  const std::string digits = amount.substr(amount.find_first_not_of(' '));
  bool onPayslip = false;
  for (const std::string& row : Drawn(print::DrawPayslip))
    onPayslip = onPayslip || (row.find("年末調整") != std::string::npos && row.find("還付" + digits) != std::string::npos);
  EXPECT_TRUE(onPayslip) << "還付" << digits;

  // The ledger reads the yearly file. Its deduction rows are the legacy fifteen, without a
  // 年末調整 row: the settlement is in December's 控除項目合計 and 差引支給額.
  auto text = [](Yen v) {
    const std::string t = FormatAmount(9, v);
    return t.substr(t.find_first_not_of(' '));
  };
  const std::string deductions = text(51000) + text(51000 - refund) + "000" + text(11 * 51000 + 51000 - refund);
  const std::string net = text(249000) + text(249000 + refund) + "000" + text(11 * 249000 + 249000 + refund);
  bool deductionsFound = false, netFound = false;
  for (const std::string& row : Drawn(print::DrawLedger)) {
    deductionsFound = deductionsFound || (row.rfind("控除項目合計", 0) == 0 && row.find(deductions) != std::string::npos);
    netFound = netFound || (row.rfind("差引支給額", 0) == 0 && row.find(net) != std::string::npos);
  }
  EXPECT_TRUE(deductionsFound) << deductions;
  EXPECT_TRUE(netFound) << net;
}

TEST_F(YearEndTest, AFaultOfTheDeclarationIsShownAtItsFieldAndNothingIsStored) {
  screen.Open(2026);
  ASSERT_TRUE(testing::ShowActive(&screen));
  screen.runModal = [&](QDialog& d) {
    EXPECT_TRUE(testing::ShowActive(&d));
    Type("edFuyoName2", "山田　桜");  // no 続柄, no birth date, below an empty row
    Click(Child<QPushButton>(&d, "bbOk"));
    EXPECT_TRUE(d.isVisible());
    // The empty row is closed up: the fault's row is the row on the screen.
    EXPECT_EQ(Edit("edFuyoName1")->text(), "山田　桜");
    EXPECT_EQ(Edit("edFuyoName2")->text(), "");
    EXPECT_EQ(dialogs.Texts().back(), "扶養親族（1行目）の続柄を入力して下さい。");
    EXPECT_EQ(QApplication::focusWidget(), Edit("edFuyoZoku1"));
    Type("edFuyoBirth1", "2015/2/30");
    Type("edFuyoZoku1", "長女");
    Click(Child<QPushButton>(&d, "bbOk"));
    EXPECT_EQ(dialogs.Texts().back(), "生年月日が正しくありません。（例: S55.4.1、昭和55年4月1日、1980/4/1）");
    EXPECT_EQ(QApplication::focusWidget(), Edit("edFuyoBirth1"));
    Click(Child<QPushButton>(&d, "bbCancel"));
    return d.result() == QDialog::Accepted;
  };
  screen.EnterDeclaration();
  EXPECT_EQ(Cell(0, 1), "申告書 未入力");
}

TEST_F(YearEndTest, TheSlipsAreSavedAsPdfAndTheListAsCsv) {
  screen.Open(2026);
  ASSERT_TRUE(testing::ShowActive(&screen));
  Click(Child<QPushButton>(&screen, "btKeisan"));  // 未入力: 乙 for the year, the slip says so
  auto* choice = Child<QComboBox>(&screen, "cbInsatsu");

  choice->setCurrentIndex(0);  // 源泉徴収票（受給者交付用）
  const fs::path pdf = dir.Path() / "slips.pdf";
  dialogs.Clear();
  dialogs.filesToSave = {pdf.string()};
  Click(Child<QPushButton>(&screen, "btPdf"));
  ASSERT_FALSE(dialogs.savesSuggested.empty());
  EXPECT_NE(dialogs.savesSuggested.back().find("2026年分源泉徴収票.pdf"), std::string::npos) << dialogs.savesSuggested.back();
  ASSERT_TRUE(fs::exists(pdf)) << (dialogs.Texts().empty() ? "" : dialogs.Texts().back());
  EXPECT_EQ(dialogs.Texts().back(), "PDFファイルに保存しました。\r" + pdf.string());
  EXPECT_GT(fs::file_size(pdf), 1000u);

  // An existing file is replaced only after the question; No asks for another name.
  dialogs.Clear();
  const std::size_t asked = dialogs.savesSuggested.size();
  dialogs.filesToSave = {pdf.string()};
  dialogs.answers = {ui::MsgAnswer::No};
  Click(Child<QPushButton>(&screen, "btPdf"));
  EXPECT_EQ(dialogs.shown.front().kind, ui::MsgKind::Confirmation);
  EXPECT_EQ(dialogs.savesSuggested.size(), asked + 2);  // asked again, then cancelled

  choice->setCurrentIndex(4);  // 年末調整一覧表（CSV）
  const fs::path csv = dir.Path() / "list.csv";
  dialogs.Clear();
  dialogs.filesToSave = {csv.string()};
  Click(Child<QPushButton>(&screen, "btInsatsu"));
  ASSERT_TRUE(fs::exists(csv));
  const std::string text = ReadWholeFile(csv);
  EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u);  // UTF-8 with its byte order mark
  EXPECT_NE(text.find("山田　太郎"), std::string::npos);
}

}  // namespace
}  // namespace paylark::screens
