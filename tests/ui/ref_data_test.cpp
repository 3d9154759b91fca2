#include <gtest/gtest.h>

#include <QListWidget>
#include <QPushButton>

#include "session/period_selection_rules.h"
#include "app/ref_data.h"
#include "app/sel_data.h"
#include "store/app_settings.h"
#include "support/temp_dir.h"
#include "session/program_state.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"
#include "ui_support/year_files.h"

namespace paylark {
namespace {

namespace fs = std::filesystem;
using testing::Child;
using testing::Click;
using testing::SaveTestPeriod;
using Texts = std::vector<std::string>;

const std::string kNothingToCarry =
    "選択された月の前月のデータが無いので、基本情報と\r社員名簿情報を引き継ぐ事が出来ませんでした。\r\r"
    "基本情報と社員名簿情報の設定を行って下さい。";
const std::string kChooseNoPredecessor =
    "選択された月の前月のデータが無いので、基本情報と\r社員名簿情報を引き継ぐ事が出来ませんでした。\r\r"
    "参照するデータをリストから選択して下さい。";
const std::string kChooseLaterData =
    "選択された月の前月のデータと、前月データより新しい\rデータの両方が存在します。\r\r"
    "参照するデータをリストから選択して下さい。";
const std::string kCheckSettings =
    "参照したデータと保険料率等が違う可能性があるので、\r基本情報と社員名簿情報の設定を確認して下さい。";
const std::string kAllNew = "参照しない場合、全て新規入力となります。\r基本情報と社員名簿情報の設定を行って下さい。";

TEST(PreselectReferenceMonthTest, TheFirstMonthOfTheOpenYearAfterThePeriod) {
  auto month = [](const char* era, int year, int m) { return app::ReferenceMonth{"", {}, EraYear{era, year}, m}; };
  const std::vector<app::ReferenceMonth> months{month("令和", 7, 10), month("令和", 8, 3), month("令和", 8, 6),
                                                month("令和", 8, 9), month("令和", 9, 1)};
  struct Case {
    const char* name;
    EraYear openYear;
    int period;
    std::size_t expected;
  } cases[] = {
      {"a later month of the open year", {"令和", 8}, 5, 2},
      {"the month itself is not later", {"令和", 8}, 6, 3},
      {"nothing later: the year's last month", {"令和", 8}, 13, 3},
      {"the open year has no saved month", {"令和", 10}, 5, 0},
      {"the first line of the open year", {"令和", 7}, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(app::PreselectReferenceMonth(months, c.openYear, c.period), c.expected);
  }
}

class RefDataTest : public ::testing::Test {
 protected:
  RefDataTest() : state(dir.Path()) {
    fs::create_directories(state.paths.dataDir);
    SaveStandardDailyHours(state.settings, 8.0);
    state.open.currentDataFile = File("令和8年");
    state.open.eraYear = {"令和", 8};
    testing::CreateEmptyYearFile(state.open.currentDataFile);
    // Whatever was in memory is not carried anywhere.
    state.open.period.company.SetName("前の会社");
    state.open.period.Payment(1).Set(Sikyu::BasePay, 1000);
  }

  fs::path File(const std::string& label) const { return state.paths.dataDir / (label + "給与･賞与.dat"); }
  QListWidget* List() { return Child<QListWidget>(&refData, "ListBox"); }

  testing::TempDir dir;
  ui::ProgramState state;
  testing::RecordingDialogs dialogs;
  app::TfmRefData refData{state, dialogs};
};

TEST_F(RefDataTest, WithoutASavedMonthItSaysSoAndClosesByItself) {
  SaveTestPeriod(File("令和8年"), 13, "賞与だけの会社");  // bonuses are never offered
  state.open.periodIndex = 1;

  EXPECT_FALSE(refData.Run(false));

  EXPECT_EQ(dialogs.Texts(), Texts{kNothingToCarry});
  EXPECT_TRUE(state.open.period == PeriodBlock{});
}

TEST_F(RefDataTest, CancellingStartsFromNothing) {
  SaveTestPeriod(File("令和8年"), 3, "三月商事");
  state.open.periodIndex = 1;

  testing::OnNextModal([&](QWidget*) { Click(Child<QPushButton>(&refData, "bbCancel")); });
  EXPECT_FALSE(refData.Run(false));

  EXPECT_EQ(dialogs.Texts(), (Texts{kChooseNoPredecessor, kAllNew}));
  EXPECT_TRUE(state.open.period == PeriodBlock{});
}

// May is new while June is saved: April's data would be older than what is known, so the period
// selection offers reference data; a month of another year carries its company and employees,
// retired ones included.
TEST_F(RefDataTest, ChosenFromThePeriodSelectionAMonthOfAnotherYearIsCarriedOver) {
  EmployeeRecord retired = testing::TestEmployee("退職次郎", "200101_090000", PayForm::Monthly, 250000);
  retired.SetRetirementDate("251031");
  SaveTestPeriod(File("令和7年"), 10, "七年商事",
                 {testing::TestEmployee("月給太郎", "190101_090000", PayForm::Monthly, 300000), retired},
                 [](PeriodBlock& b) { b.Payment(1).Set(Sikyu::BasePay, 300000); });
  SaveTestPeriod(File("令和8年"), 4, "四月商事");
  SaveTestPeriod(File("令和8年"), 6, "六月商事");
  state.open.periodIndex = 5;
  app::TfmSelData sel(state, dialogs, refData);

  Texts linesShown;
  int preselected = -1;
  testing::OnNextModal([&](QWidget*) {
    testing::TypeInto(Child<QLineEdit>(&sel, "edNissu"), "20");
    testing::TypeInto(Child<QLineEdit>(&sel, "edJikan"), "160");
    testing::OnNextModal([&](QWidget*) {  // the reference data selection
      for (int i = 0; i < List()->count(); ++i) linesShown.push_back(List()->item(i)->text().toStdString());
      preselected = List()->currentRow();
      List()->setCurrentRow(0);
      Click(Child<QPushButton>(&refData, "bbOk"));
    });
    Click(Child<QPushButton>(&sel, "bbOk"));
    if (sel.isVisible()) sel.done(QDialog::Rejected);
  });
  ASSERT_TRUE(sel.Run(false));

  EXPECT_EQ(linesShown, (Texts{"令和7年10月分給与", "令和8年 4月分給与", "令和8年 6月分給与"}));
  EXPECT_EQ(preselected, 2);
  EXPECT_EQ(dialogs.Texts(), (Texts{kChooseLaterData, kCheckSettings}));
  const PeriodBlock& p = state.open.period;
  EXPECT_EQ(state.open.periodIndex, 5);
  EXPECT_EQ(p.company.Name(), "七年商事");
  EXPECT_EQ(p.company.PeriodDays(), 20);
  EXPECT_EQ(p.Employee(2).Name(), "退職次郎");
  EXPECT_TRUE(p.Employee(2).Retired());
  EXPECT_EQ(p.Payment(1).Get(Sikyu::BasePay), 0);
  EXPECT_EQ(p.Attendance(1).Get(Kintai::WorkDays), 20.0);  // a new month: 月給 attendance preset
}

}  // namespace
}  // namespace paylark
