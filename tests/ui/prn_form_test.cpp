#include "screens/prn_form.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <filesystem>

#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;
using testing::RecordingDialogs;

const QColor kUnusedBack(204, 221, 221);
const QColor kUnusedText(128, 128, 128);
constexpr const char* kFirstRunCancel = "初期設定を中止し、プログラムを終了して宜しいですか？";

class PrnFormTest : public ::testing::Test {
 protected:
  void Show(QDialog& dialog) {
    EXPECT_TRUE(testing::ShowActive(&dialog));
    QApplication::processEvents();
  }
  QTableWidget* Grid(QDialog& dialog, const char* name) { return Child<QTableWidget>(&dialog, name); }
  void SelectTab(QDialog& dialog, const char* page) {
    auto* tabs = Child<QTabWidget>(&dialog, "pcKeitai");
    const int index = tabs->indexOf(Child<QWidget>(&dialog, page));
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(index).center());
    ASSERT_EQ(tabs->currentIndex(), index);
  }
  void ClickName(QTableWidget* grid, int row) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualItemRect(grid->item(row, 1)).center());
  }
  void Drag(QTableWidget* grid, int from, int to) {
    const QPoint start = grid->visualItemRect(grid->item(from, 0)).center();
    const QPoint end = grid->visualItemRect(grid->item(to, 0)).center();
    QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, end, grid->viewport()->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, end);
  }
  bool Unused(QTableWidget* grid, int row) {
    const QTableWidgetItem* item = grid->item(row, 1);
    const bool greyed = item->background().color() == kUnusedBack && item->foreground().color() == kUnusedText;
    EXPECT_TRUE(greyed || item->background().color() != kUnusedBack) << "half-drawn row " << row;
    return greyed;
  }
  std::string Stored(const char* section, const char* key) { return state.settings.ReadText(section, key, "?"); }

  testing::TempDir dir;
  ui::ProgramState state{dir.Path()};
  RecordingDialogs dialogs;
  screens::TfmPrnFormK salary{state, dialogs};
  screens::TfmPrnFormS bonus{state, dialogs};
};

TEST_F(PrnFormTest, GridsShowTheUsersNamesAndOkKeepsThePlaceholders) {
  state.options.itemNames[static_cast<int>(UserItem::FixedAllowance1)] = "皆勤手当";
  QSignalSpy changed(&salary, &screens::TfmPrnForm::ItemsChanged);
  Show(salary);
  EXPECT_EQ(salary.windowTitle(), "給与明細書印刷項目の設定");
  QTableWidget* sikyu = Grid(salary, "sgSikyu");
  ASSERT_EQ(sikyu->rowCount(), 18);
  EXPECT_EQ(Grid(salary, "sgKintai")->rowCount(), 16);
  EXPECT_EQ(Grid(salary, "sgKoujo")->rowCount(), 18);
  EXPECT_EQ(Grid(salary, "sgSonota")->rowCount(), 3);
  EXPECT_EQ(sikyu->item(0, 1)->text(), "基本給");
  EXPECT_EQ(sikyu->item(3, 1)->text(), "皆勤手当");
  EXPECT_EQ(Grid(salary, "sgKoujo")->item(2, 1)->text(), "子ども・子育て支援金");
  EXPECT_EQ(Grid(salary, "sgKoujo")->item(13, 1)->text(), "");
  EXPECT_EQ(sikyu->item(3, 0)->background().color(), QColor(0, 128, 128));
  EXPECT_EQ(sikyu->item(3, 0)->foreground().color(), QColor(Qt::white));
  EXPECT_FALSE(Unused(sikyu, 0));  // 月給: 基本給 printed, 固定手当１ not
  EXPECT_TRUE(Unused(sikyu, 3));

  Click(Child<QPushButton>(&salary, "bbOk"));
  EXPECT_FALSE(salary.isVisible());
  EXPECT_EQ(Stored("KyuyoItemName", "Sikyu03"), "F固定手当１");
  EXPECT_EQ(Stored("KyuyoKeitai1", "Sikyu"), "111000111011110001");
  EXPECT_EQ(state.salaryItems, DefaultItemSettings(ItemKind::Salary));
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).value<ItemKind>(), ItemKind::Salary);
}

TEST_F(PrnFormTest, ClickingANameOnTheDailyTabChangesOnlyTheDailyFlag) {
  Show(salary);
  QTableWidget* sikyu = Grid(salary, "sgSikyu");
  SelectTab(salary, "tsNikkyu");
  EXPECT_TRUE(Unused(sikyu, 6));  // 普通残業手当 is not printed for 日給
  ClickName(sikyu, 6);
  EXPECT_FALSE(Unused(sikyu, 6));
  SelectTab(salary, "tsJikan");
  EXPECT_TRUE(Unused(sikyu, 6));
  SelectTab(salary, "tsGekkyu");
  EXPECT_FALSE(Unused(sikyu, 6));

  Click(Child<QPushButton>(&salary, "bbOk"));
  EXPECT_EQ(Stored("KyuyoKeitai1", "Sikyu"), "111000111011110001");
  EXPECT_EQ(Stored("KyuyoKeitai2", "Sikyu"), "111000100011010001");
  EXPECT_EQ(Stored("KyuyoKeitai3", "Sikyu"), "111000000011000001");
  EXPECT_EQ(state.salaryLists.ForPayForm(2).Block(ItemBlock::Sikyu)[6], "F普通残業手当");
  EXPECT_EQ(state.salaryLists.ForPayForm(3).Block(ItemBlock::Sikyu)[6], "F");
}

TEST_F(PrnFormTest, DraggingTheLastPaymentRowToTheTopStoresTheNewOrder) {
  Show(salary);
  QTableWidget* sikyu = Grid(salary, "sgSikyu");
  Drag(sikyu, 17, 0);
  EXPECT_EQ(sikyu->item(0, 1)->text(), "課税支給合計");
  EXPECT_EQ(sikyu->item(1, 1)->text(), "基本給");
  EXPECT_EQ(sikyu->item(17, 1)->text(), "変動手当３");
  EXPECT_EQ(Grid(salary, "sgKoujo")->item(0, 1)->text(), "健康保険料");  // other blocks stay

  Click(Child<QPushButton>(&salary, "bbOk"));
  EXPECT_EQ(Stored("KyuyoItemName", "Sikyu00"), "F課税支給合計");
  EXPECT_EQ(Stored("KyuyoItemName", "Sikyu01"), "F基本給");
  EXPECT_EQ(Stored("KyuyoKeitai1", "Sikyu"), "111100011101111000");
  EXPECT_EQ(state.salaryLists.ForPayForm(1).Block(ItemBlock::Sikyu)[0], "F課税支給合計");

  Show(salary);  // read back from the file
  EXPECT_EQ(sikyu->item(0, 1)->text(), "課税支給合計");
}

TEST_F(PrnFormTest, DefaultAsksThenRestoresEveryPayForm) {
  Show(salary);
  QTableWidget* koujo = Grid(salary, "sgKoujo");
  Drag(koujo, 0, 5);
  SelectTab(salary, "tsJikan");
  ClickName(koujo, 0);
  dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
  Click(Child<QToolButton>(&salary, "sbDefault"));
  EXPECT_EQ(koujo->item(0, 1)->text(), "介護保険料");
  Click(Child<QToolButton>(&salary, "sbDefault"));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(2, "項目使用有無と順序の変更を初期状態に戻します。"));
  EXPECT_EQ(dialogs.shown.at(0).kind, ui::MsgKind::Confirmation);
  EXPECT_EQ(koujo->item(0, 1)->text(), "健康保険料");
  Click(Child<QPushButton>(&salary, "bbOk"));
  EXPECT_EQ(LoadItemSettings(state.settings, ItemKind::Salary), DefaultItemSettings(ItemKind::Salary));
}

TEST_F(PrnFormTest, CancelWritesNothingAndTheNextShowingReadsTheFile) {
  Show(bonus);
  EXPECT_EQ(bonus.objectName(), "TfmPrnFormS");
  EXPECT_EQ(bonus.windowTitle(), "賞与明細書印刷項目の設定");
  EXPECT_EQ(bonus.findChild<QTableWidget*>("sgKintai"), nullptr);
  QTableWidget* sikyu = Grid(bonus, "sgSikyu");
  EXPECT_EQ(sikyu->item(1, 1)->text(), "役員報酬");
  ClickName(sikyu, 1);
  EXPECT_TRUE(Unused(sikyu, 1));
  Click(Child<QPushButton>(&bonus, "bbCancel"));
  EXPECT_FALSE(bonus.isVisible());
  EXPECT_FALSE(std::filesystem::exists(state.paths.settingsFile));
  EXPECT_EQ(state.bonusItems, DefaultItemSettings(ItemKind::Bonus));
  Show(bonus);
  EXPECT_FALSE(Unused(sikyu, 1));
}

TEST_F(PrnFormTest, FirstRunInformsAndCancelAsksBeforeEnding) {
  state.firstRun = true;
  struct Case {
    screens::TfmPrnForm* dialog;
    const char* information;
  };
  const Case cases[] = {
      {&salary, "給与明細書に印刷する項目を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）"},
      {&bonus, "賞与明細書に印刷する項目を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）"},
  };
  for (const Case& c : cases) {
    dialogs.Clear();
    Show(*c.dialog);
    ClickName(Grid(*c.dialog, "sgSikyu"), 0);
    dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
    Click(Child<QPushButton>(c.dialog, "bbCancel"));
    EXPECT_TRUE(c.dialog->isVisible());
    Click(Child<QPushButton>(c.dialog, "bbCancel"));
    EXPECT_FALSE(c.dialog->isVisible());
    EXPECT_EQ(c.dialog->result(), QDialog::Rejected);
    EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{c.information, kFirstRunCancel, kFirstRunCancel}));
  }
  EXPECT_FALSE(std::filesystem::exists(state.paths.settingsFile));
}

}  // namespace
}  // namespace paylark
