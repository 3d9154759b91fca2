#include "screens/memb_list.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "screens/calc_window.h"
#include "screens/kenho_hyo.h"
#include "screens/memb_edit.h"
#include "store/app_settings.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using screens::MembListMode;
using testing::Child;
using testing::Click;
using testing::OnNextModal;
using testing::TestEmployee;
using testing::TypeInto;

class MembListTest : public ::testing::Test {
 protected:
  MembListTest() { state.open.periodIndex = 5; }
  ~MembListTest() override { list.hide(); }

  // Slots 1..n in use; `retired` and `mail` name slots.
  void Employees(int n, std::initializer_list<int> retired = {}, std::initializer_list<int> mail = {}) {
    const char* names[] = {"Ito", "bob", "Abe", "Sato", "Kato", "Mori"};
    for (int s = 1; s <= n; ++s) {
      EmployeeRecord e = TestEmployee(s <= 6 ? names[s - 1] : "Emp" + std::to_string(s),
                                      "2401" + std::to_string(10 + s) + "_090000", PayForm::Monthly, 1000);
      state.Period().Employee(s) = e;
      state.Period().Payment(s).Set(Sikyu::BasePay, 1000 * s);
    }
    for (int s : retired) state.Period().Employee(s).SetRetirementDate(" 5 3 1");
    for (int s : mail) state.Period().Employee(s).SetMailAddress("e" + std::to_string(s) + "@example.jp");
  }

  void Show(MembListMode mode) {
    list.hide();
    list.SetMode(mode);
    EXPECT_TRUE(testing::ShowActive(&list));
  }

  QListWidget* Lines() { return Child<QListWidget>(&list, "ListBox"); }
  QAbstractButton* Button(const char* name) { return Child<QAbstractButton>(&list, name); }
  // The slot number each line shows in its characters 2 and 3.
  std::vector<int> ShownSlots() {
    std::vector<int> shown;
    for (int row = 0; row < Lines()->count(); ++row) shown.push_back(Lines()->item(row)->text().mid(1, 2).toInt());
    return shown;
  }
  std::vector<int> SelectedRows() {
    std::vector<int> rows;
    for (int row = 0; row < Lines()->count(); ++row) {
      if (Lines()->item(row)->isSelected()) rows.push_back(row);
    }
    return rows;
  }
  void ClickLine(int row) {
    QTest::mouseClick(Lines()->viewport(), Qt::LeftButton, {}, Lines()->visualItemRect(Lines()->item(row)).center());
  }
  void ClickHeader(int section) {
    auto* header = Child<QHeaderView>(&list, "HeadCtrl");
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(section) + 10, 5));
  }

  testing::TempDir folder;
  ui::ProgramState state{folder.Path()};
  testing::RecordingDialogs dialogs;
  screens::TfmKenhoHyo gradeTable{state};
  screens::TfmCalc calculator{dialogs};
  screens::TfmMembEdit editor{state, dialogs, gradeTable, calculator};
  screens::TfmMembList list{state, dialogs, editor};
};

TEST_F(MembListTest, ButtonsFollowTheSlotsInUse) {
  Show(MembListMode::Edit);
  EXPECT_EQ(Lines()->count(), 0);
  EXPECT_FALSE(Button("sbDelete")->isEnabled());
  EXPECT_TRUE(Button("sbNewEnter")->isEnabled());
  EXPECT_FALSE(Button("sbPrint")->isEnabled());  // no print dialog yet
  Click(Button("sbModify"));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"データが未選択です。"});
  EXPECT_TRUE(Child<QWidget>(&list, "pnEdit")->isVisible());
  EXPECT_FALSE(Child<QWidget>(&list, "pnSelect")->isVisible());
  EXPECT_FALSE(Child<QLabel>(&list, "lbMsg")->isVisible());

  Employees(kSlotCount);
  Show(MembListMode::Edit);
  EXPECT_EQ(Lines()->count(), kSlotCount);
  EXPECT_FALSE(Button("sbNewEnter")->isEnabled());
  EXPECT_TRUE(Button("sbDelete")->isEnabled());

  std::pair<std::string, int> printed;
  list.openPrintDialog = [&](const std::string& caption, int code) { printed = {caption, code}; };
  Show(MembListMode::Edit);
  Click(Button("sbPrint"));
  EXPECT_EQ(printed, (std::pair<std::string, int>{"社員名簿一覧表", 100}));
}

TEST_F(MembListTest, DeleteClosesUpTheBlockWithAllFourRecords) {
  Employees(5);
  const PeriodBlock before = state.Period();
  Show(MembListMode::Edit);
  Lines()->setCurrentRow(2);  // slot 3
  dialogs.answers = {ui::MsgAnswer::No};
  Click(Button("sbDelete"));
  EXPECT_EQ(state.Period(), before);
  dialogs.answers = {ui::MsgAnswer::Yes};
  Click(Button("sbDelete"));
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{"この登録データを削除します｡", "この登録データを削除します｡"}));
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(state.Period().Employee(3).Name(), "Sato");
  EXPECT_EQ(state.Period().Payment(3).Get(Sikyu::BasePay), 4000);
  EXPECT_EQ(state.Period().Payment(4).Get(Sikyu::BasePay), 5000);
  EXPECT_FALSE(state.Period().Employee(5).InUse());
  EXPECT_EQ(state.Period().Payment(5), PaymentRecord{});
}

TEST_F(MembListTest, RetireesShownInEditModeAndHiddenInSelectionModes) {
  Employees(3, {2});
  Show(MembListMode::Edit);
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(Lines()->item(1)->text().contains(" 5/ 3/ 1"));
  Click(Child<QCheckBox>(&list, "cbTaisyoku2"));
  EXPECT_FALSE(Child<QCheckBox>(&list, "cbTaisyoku1")->isChecked());
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 3}));

  Show(MembListMode::Payslips);
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 3}));
  EXPECT_EQ(Child<QLabel>(&list, "lbMsg")->text(), "給与/賞与明細書の印刷対象者をクリックして選択して下さい");
  Click(Child<QCheckBox>(&list, "cbTaisyoku1"));
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 2, 3}));
}

TEST_F(MembListTest, PayslipSelectionReturnsTheSlotsPicked) {
  Employees(4);
  Show(MembListMode::Payslips);
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 1, 2, 3}));  // all selected on showing
  EXPECT_EQ(Button("sbAllOnOff")->text(), "全て解除");
  ClickLine(1);  // a click toggles
  Click(Button("bbOk"));
  EXPECT_EQ(list.result(), QDialog::Accepted);
  EXPECT_EQ(list.SelectedSlots(), (std::vector<int>{1, 3, 4}));
  EXPECT_EQ(list.SelectedLines().front().substr(0, 3), " 01");

  Show(MembListMode::Ledger);
  Click(Button("sbAllOnOff"));
  EXPECT_TRUE(SelectedRows().empty());
  EXPECT_EQ(Button("sbAllOnOff")->text(), "全て選択");
  Click(Button("bbOk"));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"印刷対象者が選択されていません。"});
  EXPECT_TRUE(list.isVisible());
}

TEST_F(MembListTest, MailModeSkipsEmployeesWithoutAddress) {
  Employees(5, {1, 4}, {1, 3, 5});
  Show(MembListMode::Mail);
  EXPECT_EQ(ShownSlots(), (std::vector<int>{2, 3, 5}));
  EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 2}));
  ClickLine(0);  // slot 2 has no address
  EXPECT_EQ(SelectedRows(), (std::vector<int>{1, 2}));

  // Retirees shown and sorted by name: 全て選択 leaves the retired lines as they were.
  Click(Child<QCheckBox>(&list, "cbTaisyoku1"));  // refill, then clear all (the button said 全て解除)
  EXPECT_TRUE(SelectedRows().empty());
  ClickHeader(1);  // Abe(3) bob(2) Ito(1) Kato(5) Sato(4); the action selects by address
  EXPECT_EQ(ShownSlots(), (std::vector<int>{3, 2, 1, 5, 4}));
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 3}));  // retired Ito keeps "not selected"
  Click(Button("sbAllOnOff"));  // clear all
  ClickLine(2);                 // the retired Ito by hand
  Click(Button("sbAllOnOff"));  // select all
  EXPECT_EQ(SelectedRows(), (std::vector<int>{0, 2, 3}));

  Click(Button("sbAllOnOff"));
  Click(Button("bbOk"));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"メール送信対象者が選択されていません。"});
}

TEST_F(MembListTest, NewAndModifyGoThroughTheEditor) {
  Employees(2);
  editor.clock = [] { return std::time_t{1700000000}; };
  Show(MembListMode::Edit);
  OnNextModal([](QWidget* w) {
    Child<QLineEdit>(w, "edSimei")->setText("Newcomer");
    TypeInto(Child<QLineEdit>(w, "edChingin1"), "250000");
    Click(Child<QPushButton>(w, "bbOk"));
  });
  Click(Button("sbNewEnter"));
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(state.Period().Employee(3).Name(), "Newcomer");

  Lines()->setCurrentRow(1);
  OnNextModal([](QWidget* w) {
    Child<QLineEdit>(w, "edSimei")->setText("Renamed");
    Click(Child<QPushButton>(w, "bbOk"));
  });
  QTest::keyClick(Lines(), Qt::Key_Return);  // Enter modifies the current line
  EXPECT_EQ(state.Period().Employee(2).Name(), "Renamed");
  EXPECT_TRUE(Lines()->item(1)->text().contains("Renamed"));
  EXPECT_EQ(Lines()->currentRow(), 1);

  // Cancel in the editor changes nothing.
  OnNextModal([](QWidget* w) { Click(Child<QPushButton>(w, "bbCancel")); });
  Click(Button("sbNewEnter"));
  EXPECT_EQ(Lines()->count(), 3);
}

TEST_F(MembListTest, HeaderSortsAndTheSizeIsKept) {
  Employees(4);
  state.Period().Employee(2).SetPayFormCode(2);
  Show(MembListMode::Edit);
  ClickHeader(1);
  EXPECT_EQ(ShownSlots(), (std::vector<int>{3, 2, 1, 4}));
  EXPECT_EQ(Lines()->currentRow(), 0);
  ClickHeader(3);
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 3, 4, 2}));
  ClickHeader(4);  // the address column does not sort
  EXPECT_EQ(ShownSlots(), (std::vector<int>{1, 3, 4, 2}));

  const int width = list.width();
  EXPECT_EQ(width, list.DesignWidth());
  list.resize(width + 100, 700);
  EXPECT_EQ(list.width(), width);
  list.SaveSize();
  screens::TfmMembList again{state, dialogs, editor};
  EXPECT_EQ(again.height(), 700);
  EXPECT_EQ(again.width(), width);
  state.settings.WriteInt("Window", "MembList_Y", 5000);
  screens::TfmMembList tall{state, dialogs, editor};
  EXPECT_EQ(tall.height(), screens::TfmMembList::kMaxHeight);
}

TEST_F(MembListTest, ResettingPremiumsSetsEveryGradedActiveEmployeeAfterYes) {
  Employees(3, {3});
  state.tables.SetHealthGrades(testing::TestGradeTable());  // grade g: g × 100,000
  state.Period().company = testing::TestCompany();
  state.Period().company.SetHealthRate(4.925);
  state.Period().company.SetLevyRate(0.115);
  state.Period().Employee(1).SetGrade(3);
  state.Period().Employee(1).SetHealthPremium(1);
  state.Period().Employee(2).SetHealthPremium(2);  // no grade: typed by hand
  state.Period().Employee(3).SetGrade(3);           // retired
  state.Period().Employee(3).SetHealthPremium(3);
  Show(MembListMode::Edit);
  dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
  Click(Button("sbResetPremiums"));
  EXPECT_EQ(state.Period().Employee(1).HealthPremium(), 1);
  Click(Button("sbResetPremiums"));
  EXPECT_EQ(state.Period().Employee(1).HealthPremium(), 14775);
  EXPECT_EQ(state.Period().Employee(1).LevyPremium(), 345);
  EXPECT_EQ(state.Period().Employee(2).HealthPremium(), 2);
  EXPECT_EQ(state.Period().Employee(3).HealthPremium(), 3);
  ASSERT_EQ(dialogs.Texts().size(), 3u);
  EXPECT_NE(dialogs.Texts()[2].find("Ito　3等級\r　健康保険 1 → 14775"), std::string::npos) << dialogs.Texts()[2];
  EXPECT_NE(dialogs.Texts()[2].find("bob　等級なし（変更しません）"), std::string::npos);
}

}  // namespace
}  // namespace paylark
