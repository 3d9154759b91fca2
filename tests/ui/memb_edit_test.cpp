#include "screens/memb_edit.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <filesystem>

#include "screens/calc_window.h"
#include "screens/kenho_hyo.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;
using testing::Leave;
using testing::TestEmployee;
using testing::TypeInto;

std::time_t LocalTime(int hour, int minute, int second) {
  std::tm t{};
  t.tm_year = 2024 - 1900;
  t.tm_mon = 4;
  t.tm_mday = 20;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

class MembEditTest : public ::testing::Test {
 protected:
  MembEditTest() {
    std::filesystem::create_directories(state.paths.dataDir);
    state.open.periodIndex = 5;  // May
    state.Period().company = testing::TestCompany();  // 20 days, 160 hours
    state.tables.SetHealthGrades(testing::TestGradeTable());
    editor.clock = [this] { return now; };
    editor.chooseGrade = [this](QWidget*) {
      ++gradeTableShown;
      if (gradeToChoose == 0) return false;
      state.selectedGrade = gradeToChoose;
      return true;
    };
    editor.runCalculator = [this]() { return calculatorValue; };
  }
  ~MembEditTest() override { editor.hide(); }

  void ShowSlot(int slot) {
    editor.hide();
    editor.SetSlot(slot);
    EXPECT_TRUE(testing::ShowActive(&editor));
  }
  void ShowNew() { ShowSlot(0); }

  QLineEdit* Edit(const char* name) { return Child<QLineEdit>(&editor, name); }
  QString Text(const char* name) { return Edit(name)->text(); }
  QComboBox* Combo(const char* name) { return Child<QComboBox>(&editor, name); }
  QAbstractButton* Button(const char* name) { return Child<QAbstractButton>(&editor, name); }
  void Type(const char* name, const QString& text) {
    TypeInto(Edit(name), text);
    Leave(Edit(name));
  }
  bool Accepted() { return !editor.isVisible() && editor.result() == QDialog::Accepted; }

  testing::TempDir folder;
  ui::ProgramState state{folder.Path()};
  testing::RecordingDialogs dialogs;
  screens::TfmKenhoHyo gradeTable{state};
  screens::TfmCalc calculator{dialogs};
  screens::TfmMembEdit editor{state, dialogs, gradeTable, calculator};
  std::time_t now = LocalTime(9, 30, 15);
  int gradeToChoose = 0;
  int gradeTableShown = 0;
  std::optional<long double> calculatorValue;
};

TEST_F(MembEditTest, OkChecksInOrderThenStoresTheNewEmployeeWithPresetAttendance) {
  ShowNew();
  EXPECT_EQ(Combo("cbKubun")->currentText(), "一般社員");
  EXPECT_EQ(Combo("cbKeitai")->currentText(), "月給");
  EXPECT_EQ(Combo("cbSikUnit")->currentText(), "毎月");

  Type("edMailAdrs", "@example.jp");
  Click(Button("bbOk"));
  Edit("edSimei")->setText("Yamada");
  Click(Button("bbOk"));
  Type("edChingin1", "200000");
  Click(Button("bbOk"));
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"氏名を入力して下さい。", "基本給が入力されていません。",
                                                       "メールアドレスの入力エラー"}));
  EXPECT_TRUE(Edit("edMailAdrs")->hasFocus());
  EXPECT_TRUE(editor.isVisible());
  EXPECT_FALSE(state.Period().Employee(1).InUse());

  Edit("edMailAdrs")->setText("yamada@example.jp");
  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(editor.StoredSlot(), 1);
  const EmployeeRecord& e = state.Period().Employee(1);
  EXPECT_EQ(e.Name(), "Yamada");
  EXPECT_EQ(e.Key(), "240520_093015");
  EXPECT_EQ(e.BasePay(), 200000);
  EXPECT_EQ(e.MailAddress(), "yamada@example.jp");
  EXPECT_EQ(state.Period().Attendance(1).Get(Kintai::WorkDays), 20);
  EXPECT_EQ(state.Period().Attendance(1).Get(Kintai::WorkedHours), 160);
  // The slot was recalculated.
  EXPECT_EQ(state.Period().Payment(1).Get(Sikyu::BasePay), 200000);
}

TEST_F(MembEditTest, TwoEmployeesInTheSameSecondGetDifferentKeys) {
  for (const char* name : {"Ichiro", "Jiro"}) {
    ShowNew();
    Edit("edSimei")->setText(name);
    Type("edChingin1", "1000");
    Combo("cbKeitai")->setCurrentIndex(1);  // 日給: no attendance preset
    Click(Button("bbOk"));
    ASSERT_TRUE(Accepted()) << name;
  }
  EXPECT_EQ(state.Period().Employee(1).Key(), "240520_093015");
  EXPECT_EQ(state.Period().Employee(2).Key(), "240520_093016");
  EXPECT_EQ(state.Period().Attendance(2).Get(Kintai::WorkDays), 0);
}

TEST_F(MembEditTest, TemplateIsSavedUsedAndRemoved) {
  ShowNew();
  Combo("cbKubun")->setCurrentIndex(4);  // パート
  Type("edChingin1", "1000");
  dialogs.answers = {ui::MsgAnswer::Yes};
  Click(Button("sbNewBase"));
  EXPECT_EQ(std::filesystem::file_size(state.paths.employeeTemplate), 500u);
  EXPECT_EQ(dialogs.notices, std::vector<std::string>{"新規作成時の基本にしました。"});
  Click(Button("bbCancel"));

  ShowNew();
  EXPECT_EQ(Combo("cbKubun")->currentText(), "パート");
  EXPECT_EQ(Text("edChingin1"), "    1,000");
  EXPECT_EQ(Text("edSimei"), "");

  dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
  Click(Button("sbNewBase"));
  EXPECT_FALSE(std::filesystem::exists(state.paths.employeeTemplate));
  EXPECT_EQ(Combo("cbKubun")->currentText(), "一般社員");
  EXPECT_EQ(Combo("cbKeitai")->currentText(), "月給");
  EXPECT_EQ(Combo("cbSikUnit")->currentText(), "毎月");
  EXPECT_EQ(Text("edChingin1"), "        0");
  EXPECT_EQ(dialogs.notices.back(), "基本に設定を解除しました。");
  ASSERT_EQ(dialogs.shown.size(), 3u);
  EXPECT_EQ(dialogs.shown[2].text, "新規作成時の基本設定を解除します。");

  // Cancel does nothing.
  dialogs.Clear();
  dialogs.answers = {ui::MsgAnswer::Cancel};
  Click(Button("sbNewBase"));
  EXPECT_EQ(dialogs.shown.size(), 1u);
  EXPECT_TRUE(dialogs.notices.empty());
}

TEST_F(MembEditTest, SteppingIsRefusedWithUnsavedChanges) {
  for (int s = 1; s <= 3; ++s) {
    state.Period().Employee(s) = TestEmployee("Emp" + std::to_string(s), "24010" + std::to_string(s) + "_090000",
                                              PayForm::Monthly, 1000 * s);
  }
  // Bytes no control holds do not count as a change.
  state.Period().Employee(1).bytes[400] = 0x77;
  ShowSlot(2);
  EXPECT_TRUE(Button("sbBackData")->isEnabled());
  EXPECT_TRUE(Button("sbNextData")->isEnabled());
  QTest::keyClick(Edit("edBusyo"), Qt::Key_PageDown);  // the previous employee
  EXPECT_EQ(editor.Slot(), 1);
  EXPECT_EQ(Text("edSimei"), "Emp1");
  EXPECT_FALSE(Button("sbBackData")->isEnabled());
  QTest::keyClick(Edit("edBusyo"), Qt::Key_PageUp);
  EXPECT_EQ(editor.Slot(), 2);
  QTest::keyClick(Edit("edBusyo"), Qt::Key_PageUp);
  EXPECT_EQ(editor.Slot(), 3);
  EXPECT_FALSE(Button("sbNextData")->isEnabled());  // slot 4 is free
  EXPECT_TRUE(dialogs.shown.empty());

  Type("edChingin1", "5000");
  Click(Button("sbBackData"));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"データ内容に変更がある場合は出来ません。"});
  EXPECT_EQ(editor.Slot(), 3);
  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(state.Period().Employee(3).BasePay(), 5000);
  EXPECT_EQ(state.Period().Employee(3).Key(), "240103_090000");
  EXPECT_EQ(state.Period().Employee(1).bytes[400], 0x77);  // never stored
}

TEST_F(MembEditTest, GradeQuestionOncePerRunAndPremiumsFromTheGrade) {
  state.Period().Employee(1) = TestEmployee("Emp", "240101_090000", PayForm::Monthly, 300000);
  state.Period().company.SetLevyRate(0.115);
  ShowSlot(1);
  Click(Child<QCheckBox>(&editor, "cbKenkou"));
  Click(Child<QCheckBox>(&editor, "cbKaigo"));
  Click(Child<QCheckBox>(&editor, "cbNenHoken"));
  const char* question = "健康保険等級表から健康･介護･厚生年金保険料と\r厚生年金基金の掛け金をセットします。";

  dialogs.answers = {ui::MsgAnswer::No};
  Click(Button("sbAutoSet"));
  EXPECT_EQ(gradeTableShown, 0);
  gradeToChoose = 0;  // the table is cancelled
  dialogs.answers = {ui::MsgAnswer::Yes};
  Click(Button("sbAutoSet"));
  EXPECT_EQ(gradeTableShown, 1);
  EXPECT_EQ(Text("edKenhoRyo"), "      0");
  gradeToChoose = 3;  // standard 300,000
  Click(Button("sbAutoSet"));
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{question, question}));
  EXPECT_TRUE(state.gradeQuestionAsked);
  EXPECT_EQ(Text("edKenhoRyo"), " 15,000");
  EXPECT_EQ(Text("edKaigoRyo"), "  2,700");
  EXPECT_EQ(Text("edKoseiRyo"), " 27,450");
  EXPECT_EQ(Text("edKakekin"), "      0");
  EXPECT_EQ(Text("edSienRyo"), "    345");  // 子ども・子育て支援金, 0.115 % of 300,000

  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted());
  const EmployeeRecord& e = state.Period().Employee(1);
  EXPECT_EQ(e.Grade(), 3);
  EXPECT_EQ(e.HealthPremium(), 15000);
  EXPECT_EQ(e.LevyPremium(), 345);
  EXPECT_EQ(e.NursingPremium(), 2700);
  EXPECT_EQ(e.PensionPremium(), 27450);
  EXPECT_TRUE(e.HealthSubject());

  // Another showing in the same run: no question.
  ShowSlot(1);
  EXPECT_EQ(state.selectedGrade, 3);
  Click(Button("sbAutoSet"));
  EXPECT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(gradeTableShown, 3);
}

TEST_F(MembEditTest, CalculatorGoesIntoTheCurrentNumericField) {
  ShowNew();
  Edit("edSimei")->setFocus();
  EXPECT_FALSE(Button("sbCalculator")->isEnabled());
  Edit("edJuumin")->setFocus();
  ASSERT_TRUE(Button("sbCalculator")->isEnabled());
  calculatorValue = 12345.99L;
  Click(Button("sbCalculator"));
  EXPECT_EQ(Text("edJuumin"), " 12,345");
  EXPECT_TRUE(Edit("edJuumin")->hasFocus());
  Edit("edChingin1")->setFocus();
  calculatorValue = -3.5L;
  Click(Button("sbCalculator"));
  EXPECT_EQ(Text("edChingin1"), "       -3");
  calculatorValue.reset();  // not confirmed
  Click(Button("sbCalculator"));
  EXPECT_EQ(Text("edChingin1"), "       -3");
}

TEST_F(MembEditTest, RetirementDateAndEnablingRules) {
  state.Period().Employee(1) = TestEmployee("Emp", "240101_090000", PayForm::Monthly, 1000);
  ShowSlot(1);
  EXPECT_FALSE(Edit("edTaiYY")->isEnabled());
  EXPECT_FALSE(Edit("edKenhoRyo")->isEnabled());
  EXPECT_FALSE(Edit("edSienRyo")->isEnabled());
  EXPECT_FALSE(Child<QCheckBox>(&editor, "cbKaigo")->isEnabled());
  EXPECT_FALSE(Edit("edYukyu")->isEnabled());
  Combo("cbKeitai")->setCurrentIndex(2);  // 時間給
  EXPECT_TRUE(Edit("edYukyu")->isEnabled());
  Click(Child<QCheckBox>(&editor, "cbKenkou"));
  EXPECT_TRUE(Edit("edKenhoRyo")->isEnabled());
  EXPECT_TRUE(Edit("edSienRyo")->isEnabled());
  EXPECT_TRUE(Child<QCheckBox>(&editor, "cbKaigo")->isEnabled());
  EXPECT_FALSE(Edit("edKaigoRyo")->isEnabled());

  Click(Child<QCheckBox>(&editor, "cbTaisyo"));
  EXPECT_TRUE(Edit("edTaiYY")->isEnabled());
  const CivilDate today = Today();
  EXPECT_EQ(Text("edTaiMM"), QString::asprintf("%2d", today.month));
  Type("edTaiYY", "5");
  Type("edTaiMM", "3");
  Type("edTaiDD", "1");
  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(state.Period().Employee(1).RetirementDate(), " 5 3 1");
  EXPECT_EQ(state.Period().Employee(1).PayFormCode(), 3);

  ShowSlot(1);
  EXPECT_TRUE(Child<QCheckBox>(&editor, "cbTaisyo")->isChecked());
  EXPECT_EQ(QStringList({Text("edTaiYY"), Text("edTaiMM"), Text("edTaiDD")}), QStringList({" 5", " 3", " 1"}));
  for (const char* name : {"edTaiYY", "edTaiMM", "edTaiDD"}) {
    Edit(name)->setFocus();
    QTest::keyClick(Edit(name), Qt::Key_Delete, Qt::ControlModifier);
    Leave(Edit(name));
  }
  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(state.Period().Employee(1).RetirementDate(), "");
  EXPECT_TRUE(state.Period().Employee(1).Active());
}

TEST_F(MembEditTest, BirthDateTypedInEitherCalendarIsStoredAndShownInTheJapaneseOne) {
  state.Period().Employee(1) = TestEmployee("Emp", "240101_090000", PayForm::Monthly, 1000);
  ShowSlot(1);
  EXPECT_EQ(Text("edBirthDate"), "");
  Type("edBirthDate", "S55.4.1");
  EXPECT_EQ(Text("edBirthDate"), "昭和55年 4月 1日");
  EXPECT_EQ(Child<QLabel>(&editor, "lbAge")->text(), "（満44歳）");  // on 2024-05-20
  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted()) << (dialogs.Texts().empty() ? "" : dialogs.Texts()[0]);
  EXPECT_EQ(state.Period().Employee(1).BirthDate(), 19800401);

  ShowSlot(1);
  EXPECT_EQ(Text("edBirthDate"), "昭和55年 4月 1日");
  Type("edBirthDate", "1986-12-01");
  EXPECT_EQ(Text("edBirthDate"), "昭和61年12月 1日");
  Type("edBirthDate", "S64.1.8");  // not a date of 昭和: kept as typed, refused on ＯＫ
  EXPECT_EQ(Text("edBirthDate"), "S64.1.8");
  Click(Button("bbOk"));
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"生年月日の入力に誤りがあります。"}));
  EXPECT_TRUE(Edit("edBirthDate")->hasFocus());
  EXPECT_EQ(state.Period().Employee(1).BirthDate(), 19800401);
  Edit("edBirthDate")->clear();
  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted());
  EXPECT_EQ(state.Period().Employee(1).BirthDate(), 0);
}

TEST_F(MembEditTest, TypingRules) {
  state.options.inputOverwrite = false;
  ShowNew();
  QLineEdit* pay = Edit("edChingin1");
  pay->setFocus();
  pay->clear();
  QTest::keyClicks(pay, "12a34567890");
  EXPECT_EQ(pay->text(), "1234567");  // a letter beeps; at most 7 digits
  EXPECT_EQ(dialogs.beeps, 4);
  Leave(pay);
  EXPECT_EQ(pay->text(), "1,234,567");

  dialogs.Clear();
  QComboBox* kubun = Combo("cbKubun");
  kubun->setFocus();
  QTest::keyClick(kubun, Qt::Key_Backspace);
  EXPECT_EQ(dialogs.Texts(),
            std::vector<std::string>{"この項目ではBackSpaceキーは使用できません。\rDeleteキーで編集を行って下さい。"});
  EXPECT_EQ(kubun->currentText(), "一般社員");
}

// The keyboard walks the form group by group: identity, insurance, payments, deductions, then the
// two buttons.
TEST_F(MembEditTest, TabOrderFollowsTheForm) {
  ShowNew();
  std::vector<std::string> order;
  QWidget* w = Edit("edSimei");
  for (int i = 0; i < 1000 && (order.empty() || w != Edit("edSimei")); ++i, w = w->nextInFocusChain()) {
    if (w->focusPolicy() & Qt::TabFocus && !w->objectName().isEmpty()) order.push_back(w->objectName().toStdString());
  }
  EXPECT_EQ(order, (std::vector<std::string>{
                       "edSimei",    "edBusyo",    "cbKubun",    "cbKeitai",   "rbZeigaku0", "rbZeigaku1",
                       "cbGenkin",   "edFuyou",    "edSinzoku",  "cbSeibetu",  "edMailAdrs", "edBirthDate",
                       "cbTaisyo",   "edTaiYY",    "edTaiMM",    "edTaiDD",    "cbKoyou",    "cbKenkou",
                       "edKenhoRyo", "edSienRyo",  "cbKaigo",    "edKaigoRyo", "cbNenHoken", "edKoseiRyo",
                       "cbNenKikin", "edKakekin",  "edChingin1", "edYakuin",   "edFamily",   "edTeate1",
                       "edTeate2",   "edTeate3",   "edYukyu",    "edChingin2", "edChingin3", "edChingin4",
                       "edChingin5", "edKoutuhi0", "edKoutuhi1", "cbSikUnit",  "edJuumin6",  "edJuumin",
                       "edKekkin",   "edChisou",   "edKoujo1",   "edKoujo2",   "edKoujo3",   "bbOk",
                       "bbCancel"}));
}

TEST_F(MembEditTest, FirstRunInformationOnlyAtTheFirstShowing) {
  state.firstRun = true;
  ShowNew();
  QTest::qWait(20);
  ShowNew();
  QTest::qWait(20);
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{
                                 "給与･賞与計算に必要な社員情報を入力して下さい。\r　（詳細はF1キーを押してヘルプを参照）"});
}

TEST_F(MembEditTest, NoFreeSlotStoresNothingAndSaysSo) {
  for (int s = 1; s <= kSlotCount; ++s) {
    state.Period().Employee(s) = TestEmployee("Emp", "2401" + std::to_string(10 + s) + "_090000", PayForm::Monthly, 1);
  }
  const PeriodBlock before = state.Period();
  ShowNew();
  Edit("edSimei")->setText("Extra");
  Type("edChingin1", "1000");
  Click(Button("bbOk"));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"これ以上社員を登録できません。"});
  EXPECT_TRUE(editor.isVisible());
  EXPECT_EQ(state.Period(), before);
}

TEST_F(MembEditTest, UnitPricesAreShownThenFilledAndSexIsStored) {
  ShowNew();
  Edit("edSimei")->setText("Yamada");
  Type("edChingin1", "300000");
  Type("edYakuin", "20000");
  Type("edFamily", "10000");
  Combo("cbSeibetu")->setCurrentIndex(2);

  dialogs.answers = {ui::MsgAnswer::No};
  Click(Button("sbTanka"));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, ui::MsgKind::Confirmation);
  EXPECT_NE(dialogs.shown[0].text.find("時間単価 2,000円"), std::string::npos) << dialogs.shown[0].text;
  EXPECT_EQ(Text("edChingin2").trimmed(), "0");  // nothing filled without Yes

  dialogs.answers = {ui::MsgAnswer::Yes};
  Click(Button("sbTanka"));
  EXPECT_EQ(Text("edChingin2").trimmed(), "2,500");
  EXPECT_EQ(Text("edChingin3").trimmed(), "3,000");
  EXPECT_EQ(Text("edChingin4").trimmed(), "2,700");
  EXPECT_EQ(Text("edChingin5").trimmed(), "3,200");
  EXPECT_EQ(Text("edKekkin").trimmed(), "15,000");
  EXPECT_EQ(Text("edChisou").trimmed(), "2,000");
  EXPECT_FALSE(state.Period().Employee(1).InUse());  // stored only with ＯＫ

  Click(Button("bbOk"));
  ASSERT_TRUE(Accepted());
  const EmployeeRecord& e = state.Period().Employee(1);
  EXPECT_EQ(e.OvertimePrice(0), 2500);
  EXPECT_EQ(e.OvertimePrice(3), 3200);
  EXPECT_EQ(e.AbsenceDeduction(), 15000);
  EXPECT_EQ(e.Sex(), 2);

  ShowSlot(1);
  EXPECT_EQ(Combo("cbSeibetu")->currentText(), "女");
}

TEST_F(MembEditTest, UnitPricesWithoutMonthHoursSayWhatIsMissing) {
  state.Period().company.SetMonthHours(0);
  ShowNew();
  Type("edChingin1", "300000");
  Click(Button("sbTanka"));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"会社情報の月労働時間数が設定されていません。"});
  EXPECT_EQ(Text("edChingin2").trimmed(), "0");
}

}  // namespace
}  // namespace paylark
