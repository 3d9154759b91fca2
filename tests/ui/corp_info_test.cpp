#include "screens/corp_info.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "store/app_settings.h"
#include "store/rate_table_extension.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;
using testing::OnNextModal;
using testing::TypeInto;

const char* const kPremiumHint = "社員情報の編集画面で､保険料などの再設定が必要です。";

class CorpInfoTest : public ::testing::Test {
 protected:
  QLineEdit* Edit(QWidget* w, const char* name) { return Child<QLineEdit>(w, name); }
  QString Text(QWidget* w, const char* name) { return Edit(w, name)->text(); }
  // Runs the screen with `action` on it; true when it closed with OK.
  bool Show(std::function<void(QWidget*)> action) {
    OnNextModal(action);
    return screen.Edit();
  }

  testing::TempDir folder;
  ui::ProgramState state{folder.Path()};
  testing::RecordingDialogs dialogs;
  screens::TfmCorpInfo screen{state, dialogs};
};

TEST_F(CorpInfoTest, ZeroRatesOpenWithTheRatesInForceAndCancelKeepsThem) {
  // 令和8年4月分 under 翌月徴収, wages closed on 31 March (前月締め): premium month March 2026.
  state.premiumRates.Merge({{PremiumRateItem::Health, 13, {2026, 3, 1}, 98500},
                            {PremiumRateItem::Health, 27, {2026, 3, 1}, 101300},
                            {PremiumRateItem::Nursing, 0, {2026, 3, 1}, 16200},
                            {PremiumRateItem::Levy, 0, {2026, 4, 1}, 2300},
                            {PremiumRateItem::Pension, 0, {2017, 9, 1}, 183000},
                            {PremiumRateItem::EmploymentWorker, 0, {2025, 4, 1}, 5500},
                            {PremiumRateItem::EmploymentWorker, 0, {2026, 4, 1}, 5000}});
  state.open.eraYear = EraYear{"令和", 8};
  state.open.periodIndex = 4;
  CompanyRecord& company = state.Period().company;
  company.SetHealthInsurer(13);
  company.SetWageClosingDay(31);
  company.SetWageClosingMonth(1);
  QStringList shown;
  QString insurer, rates;
  bool general = false;
  EXPECT_FALSE(Show([&](QWidget* w) {
    for (const char* name : {"edKoyRitu", "edKenRitu", "edKaiRitu", "edNenRitu", "edKknRitu"}) shown << Text(w, name);
    general = Child<QRadioButton>(w, "rbJigyo")->isChecked();
    insurer = Child<QComboBox>(w, "cbKenpo")->currentText();
    rates = Child<QLabel>(w, "lbRates")->text();
    Click(Child<QPushButton>(w, "bbCancel"));
  }));
  EXPECT_EQ(shown, (QStringList{" 0.550", " 4.925", " 0.810", " 9.150", " 0.000"}));
  EXPECT_TRUE(general);
  EXPECT_EQ(insurer, "協会けんぽ 東京都");
  EXPECT_EQ(rates, "料率（協会けんぽ 東京都 令和8年3月分 健康保険 4.925％ 介護保険 0.81％ 支援金 0％ 厚生年金 9.15％ "
                   "雇用保険 0.55％）");
  EXPECT_EQ(company.EmploymentRate(), 0.55);
  EXPECT_EQ(company.PensionRate(), 9.15);
  EXPECT_EQ(company.Name(), "");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(LoadStandardDailyHours(state.settings), 0);
}

TEST_F(CorpInfoTest, PickingAnInsurerShowsItsRatesAndATradeUnionLeavesThemToBeTyped) {
  state.premiumRates.Merge({{PremiumRateItem::Health, 27, {2026, 3, 1}, 101300},
                            {PremiumRateItem::Nursing, 0, {2026, 3, 1}, 16200},
                            {PremiumRateItem::Levy, 0, {2026, 4, 1}, 2300},
                            {PremiumRateItem::Pension, 0, {2017, 9, 1}, 183000}});
  state.open.eraYear = EraYear{"令和", 8};
  state.open.periodIndex = 5;
  state.Period().company = testing::TestCompany();
  QString health;
  EXPECT_TRUE(Show([&](QWidget* w) {
    auto* box = Child<QComboBox>(w, "cbKenpo");
    EXPECT_EQ(box->currentIndex(), 0);  // 健康保険組合: the typed rates stay
    box->setCurrentIndex(27);
    emit box->activated(27);
    health = Text(w, "edKenRitu");
    TypeInto(Edit(w, "edKaiRitu"), "0.9");  // still overtypable
    Click(Child<QPushButton>(w, "bbOk"));
  }));
  EXPECT_EQ(health, " 5.065");
  const CompanyRecord& company = state.Period().company;
  EXPECT_EQ(company.HealthInsurer(), 27);
  EXPECT_EQ(company.HealthRate(), 5.065);
  EXPECT_EQ(company.NursingRate(), 0.9);
  EXPECT_EQ(company.LevyRate(), 0.115);
}

TEST_F(CorpInfoTest, WithoutRateDataATradeUnionsZeroRateMustBeTyped) {
  state.Period().company = testing::TestCompany();
  state.Period().company.SetHealthRate(0);
  EXPECT_TRUE(Show([&](QWidget* w) {
    Click(Child<QPushButton>(w, "bbOk"));
    EXPECT_TRUE(Edit(w, "edKoyRitu")->hasFocus());
    TypeInto(Edit(w, "edKenRitu"), "4.8");
    Click(Child<QPushButton>(w, "bbOk"));
  }));
  EXPECT_EQ(dialogs.Texts().front(), "保険料負担率が入力されていません。");
  EXPECT_EQ(state.Period().company.HealthRate(), 4.8);
}

TEST_F(CorpInfoTest, OkStoresTheFieldsWritesDefJikanDAndAsksForNewPremiums) {
  state.Period().company = testing::TestCompany();
  QString proposedMonthHours, employmentAfterRadio;
  bool rateDisabled = false;
  EXPECT_TRUE(Show([&](QWidget* w) {
    Edit(w, "edSyamei")->setText("  株式会社パイロット ");  // typing is ASCII only in QTest
    TypeInto(Edit(w, "edSikyubi"), "31");
    TypeInto(Edit(w, "edJikanD"), "7:30");
    TypeInto(Edit(w, "edNissu"), "21");
    QLineEdit* monthHours = Edit(w, "edJikanM");
    monthHours->clear();
    monthHours->setFocus(Qt::TabFocusReason);  // entering it while 0 proposes 21 × 7.5
    proposedMonthHours = monthHours->text();
    Click(Child<QRadioButton>(w, "rbIgai"));
    employmentAfterRadio = Text(w, "edKoyRitu");
    Click(Child<QCheckBox>(w, "cbUseHyo"));
    rateDisabled = !Edit(w, "edKoyRitu")->isEnabled();
    TypeInto(Edit(w, "edKknRitu"), "2.5");
    Click(Child<QPushButton>(w, "bbOk"));
  }));
  EXPECT_EQ(proposedMonthHours, "157:30");
  EXPECT_EQ(employmentAfterRadio, " 0.700");
  EXPECT_TRUE(rateDisabled);
  const CompanyRecord& company = state.Period().company;
  EXPECT_EQ(company.Name(), "株式会社パイロット");
  EXPECT_EQ(company.PayDay(), 31);
  EXPECT_EQ(company.DayHours(), 7.5);
  EXPECT_EQ(company.MonthDays(), 21);
  EXPECT_EQ(company.MonthHours(), 157.5);
  EXPECT_FALSE(company.GeneralBusiness());
  EXPECT_TRUE(company.UseEmploymentTable());
  EXPECT_EQ(company.EmploymentRate(), 0.7);
  EXPECT_EQ(company.HealthRate(), 5.0);
  EXPECT_EQ(company.PensionFundRate(), 2.5);
  EXPECT_EQ(LoadStandardDailyHours(state.settings), 7.5);
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kPremiumHint});
}

// A period of premium month April 2026 or later opens with the levy's default; the employment rate
// in force on the wage closing date is shown beside the table option.
TEST_F(CorpInfoTest, TheLevyDefaultTheClosingDateAndTheRateInForce) {
  state.open.eraYear = {"令和", 8};
  state.open.periodIndex = 4;
  state.Period().company = testing::TestCompany();
  state.Period().company.SetPremiumCollection(1);  // 当月徴収: 4月分給与 collects April's premium
  state.premiumRates.Merge({{PremiumRateItem::Levy, 0, {2026, 4, 1}, 2300}});  // 支援金率 0.23 %
  state.tables.SetEmployment(EmploymentImage{});
  state.tables.SetExtension({TableId::Employment, {2026, 4, 1}, std::nullopt, std::nullopt,
                             EmploymentRateTable{{{{2025, 4, 1}, 5'500, 6'500, 6'500}, {{2026, 4, 1}, 5'000, 6'000, 6'000}}}});
  QString levy, byPayDate, byClosingDate;
  EXPECT_TRUE(Show([&](QWidget* w) {
    levy = Text(w, "edSienRitu");
    byPayDate = Child<QLabel>(w, "lbKoyHyoRitu")->text();
    TypeInto(Edit(w, "edSimebi"), "31");
    Child<QComboBox>(w, "cbSimeTuki")->setCurrentIndex(1);  // 前月締め: closed 2026-03-31
    byClosingDate = Child<QLabel>(w, "lbKoyHyoRitu")->text();
    Click(Child<QPushButton>(w, "bbOk"));
  }));
  EXPECT_EQ(levy, " 0.115");
  EXPECT_EQ(byPayDate, "被保険者負担 5/1000");
  EXPECT_EQ(byClosingDate, "被保険者負担 5.5/1000");
  const CompanyRecord& company = state.Period().company;
  EXPECT_EQ(company.LevyRate(), 0.115);
  EXPECT_EQ(company.PremiumCollection(), 1);
  EXPECT_EQ(company.WageClosingDay(), 31);
  EXPECT_EQ(company.WageClosingMonth(), 1);
  // The levy premiums of the employees are still to be set from the grade table.
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{kPremiumHint});
}

TEST_F(CorpInfoTest, ARejectedCheckKeepsTheScreenOpenOnItsField) {
  state.Period().company = testing::TestCompany();
  bool openAfterError = false, payDayFocused = false;
  EXPECT_TRUE(Show([&](QWidget* w) {
    TypeInto(Edit(w, "edSikyubi"), "32");
    Click(Child<QPushButton>(w, "bbOk"));
    openAfterError = w->isVisible();
    payDayFocused = QApplication::focusWidget() == Edit(w, "edSikyubi");
    TypeInto(Edit(w, "edSikyubi"), "10");
    TypeInto(Edit(w, "edKoyRitu"), "0.9");  // neither the pay day nor the employment rate needs new premiums
    Click(Child<QPushButton>(w, "bbOk"));
  }));
  EXPECT_TRUE(openAfterError);
  EXPECT_TRUE(payDayFocused);
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"給与支給日の入力に誤りがあります。"});
  EXPECT_EQ(state.Period().company.PayDay(), 10);
  EXPECT_EQ(state.Period().company.EmploymentRate(), 0.9);
  EXPECT_EQ(LoadStandardDailyHours(state.settings), 8);
}

TEST_F(CorpInfoTest, FirstRunGreetsAndCancelAsksBeforeEndingTheSetUp) {
  state.firstRun = true;
  dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
  bool openAfterNo = false;
  EXPECT_FALSE(Show([&](QWidget* w) {
    QTest::qWait(20);  // the greeting follows the showing
    Click(Child<QPushButton>(w, "bbCancel"));
    openAfterNo = w->isVisible();
    QTest::keyClick(w, Qt::Key_Escape);
  }));
  EXPECT_TRUE(openAfterNo);
  EXPECT_EQ(dialogs.Texts(),
            (std::vector<std::string>{"会社名や所定労働条件などの会社情報を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）",
                                      "初期設定を中止し、プログラムを終了して宜しいですか？",
                                      "初期設定を中止し、プログラムを終了して宜しいですか？"}));
}

}  // namespace
}  // namespace paylark
