#include "screens/corp_info.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

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

TEST_F(CorpInfoTest, ZeroRatesOpenWithTheDefaultsAndCancelKeepsThem) {
  QStringList shown;
  bool general = false;
  EXPECT_FALSE(Show([&](QWidget* w) {
    for (const char* name : {"edKoyRitu", "edKenRitu", "edKaiRitu", "edNenRitu", "edKknRitu"}) shown << Text(w, name);
    general = Child<QRadioButton>(w, "rbJigyo")->isChecked();
    Click(Child<QPushButton>(w, "bbCancel"));
  }));
  EXPECT_EQ(shown, (QStringList{" 0.600", " 4.100", " 0.565", " 7.675", " 0.000"}));
  EXPECT_TRUE(general);
  const CompanyRecord& company = state.Period().company;
  EXPECT_EQ(company.EmploymentRate(), 0.6);
  EXPECT_EQ(company.PensionRate(), 7.675);
  EXPECT_EQ(company.Name(), "");
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(LoadStandardDailyHours(state.settings), 0);
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
