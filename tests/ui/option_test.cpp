#include "screens/option.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <filesystem>

#include "store/app_settings.h"
#include "support/temp_dir.h"
#include "ui/entry_fields.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;
using testing::RecordingDialogs;

constexpr const char* kFirstRunCancel = "初期設定を中止し、プログラムを終了して宜しいですか？";

class OptionTest : public ::testing::Test {
 protected:
  void Show() {
    EXPECT_TRUE(testing::ShowActive(&screen));
    QApplication::processEvents();
  }
  QLineEdit* Edit(const char* name) { return Child<QLineEdit>(&screen, name); }
  bool SettingsWritten() const { return std::filesystem::exists(state.paths.settingsFile); }

  testing::TempDir dir;
  ui::ProgramState state{dir.Path()};
  RecordingDialogs dialogs;
  screens::TfmOption screen{state, dialogs};
};

TEST_F(OptionTest, ShowsTheOptionsAndOkStoresAndWritesWhatWasChanged) {
  state.options.itemNames[static_cast<int>(UserItem::VariableDeduction2)] = "親睦会費";
  state.options.thirdBonusName = "決算賞与";
  state.options.paymentRounding = RoundingMode::Half;
  state.options.formType = 2;
  state.options.timeStyle = 0;
  state.options.printShiftV = 2.5;
  state.options.taxable[3] = false;
  state.options.inputOverwrite = false;
  Show();
  EXPECT_EQ(Edit("edVarKoujo2")->text(), "親睦会費");
  EXPECT_EQ(Edit("edTokuSyoyo")->text(), "決算賞与");
  EXPECT_TRUE(Child<QRadioButton>(&screen, "rbSikRound")->isChecked());
  EXPECT_TRUE(Child<QRadioButton>(&screen, "rbGenTrunc")->isChecked());
  EXPECT_EQ(Child<QComboBox>(&screen, "cbFormType")->currentText(), "HISAGO GB1150");
  EXPECT_TRUE(Child<QRadioButton>(&screen, "rbTimeStyle10")->isChecked());
  EXPECT_EQ(Edit("edPrAdjustH")->text(), "  0.0");
  EXPECT_EQ(Edit("edPrAdjustV")->text(), "  2.5");
  EXPECT_FALSE(Child<QCheckBox>(&screen, "cbKazei3")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>(&screen, "cbHoken3")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(&screen, "cbInpOverN")->isChecked());
  EXPECT_TRUE(dialogs.shown.empty());  // no first-run information outside the first run

  testing::TypeInto(Edit("edPrAdjustH"), "-10.0");
  testing::Leave(Edit("edPrAdjustH"));
  EXPECT_EQ(Edit("edPrAdjustH")->text(), "-10.0");
  Edit("edSonota1")->setText("前月繰越調整額");  // 14 bytes: stored cut to 12
  Click(Child<QRadioButton>(&screen, "rbKouRound"));
  Click(Child<QRadioButton>(&screen, "rbTimeStyle60"));
  Child<QComboBox>(&screen, "cbFormType")->setCurrentIndex(0);
  Click(Child<QCheckBox>(&screen, "cbHoken11"));
  Click(Child<QCheckBox>(&screen, "cbPrKbnKei"));
  Click(Child<QPushButton>(&screen, "btSysSave"));

  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(screen.result(), QDialog::Accepted);
  const Options& o = state.options;
  EXPECT_DOUBLE_EQ(o.printShiftH, -10.0);
  EXPECT_DOUBLE_EQ(o.printShiftV, 2.5);
  EXPECT_EQ(o.itemNames[static_cast<int>(UserItem::Other1)], "前月繰越調整");
  EXPECT_EQ(o.deductionRounding, RoundingMode::Half);
  EXPECT_EQ(o.paymentRounding, RoundingMode::Half);
  EXPECT_EQ(o.reductionRounding, RoundingMode::Truncate);
  EXPECT_EQ(o.timeStyle, 1);
  EXPECT_EQ(o.formType, 0);
  EXPECT_TRUE(o.socialInsurance[11]);
  EXPECT_FALSE(o.printClassTotals);
  EXPECT_FALSE(o.inputOverwrite);

  EXPECT_EQ(state.settings.ReadInt("Option", "PrAdjustH", 0), -100);
  EXPECT_EQ(state.settings.ReadInt("Option", "PrAdjustV", 0), 25);
  EXPECT_EQ(state.settings.ReadText("Option", "Syaho", ""), "111111000001");
  EXPECT_EQ(state.settings.ReadText("Option", "Kazei", ""), "111011000000");
  EXPECT_EQ(state.settings.ReadText("Option", "Sonota1", ""), "前月繰越調整");
  EXPECT_EQ(LoadOptions(state.settings).itemNames, o.itemNames);

  // Shown again from what was read back: the shift keeps its text.
  state.options = LoadOptions(state.settings);
  Show();
  EXPECT_EQ(Edit("edPrAdjustH")->text(), "-10.0");
  EXPECT_TRUE(Child<QRadioButton>(&screen, "rbKouRound")->isChecked());
}

TEST_F(OptionTest, ARoundingModeTheScreenDoesNotOfferIsKeptUntilTheUserPicksOne) {
  state.options.deductionRounding = RoundingMode::Up;        // HasuuKou=1
  state.options.paymentRounding = RoundingMode::Truncate;    // HasuuSik=0
  Show();
  EXPECT_FALSE(Child<QRadioButton>(&screen, "rbKouTrunc")->isChecked());
  EXPECT_FALSE(Child<QRadioButton>(&screen, "rbKouRound")->isChecked());
  EXPECT_FALSE(Child<QRadioButton>(&screen, "rbSikCeil")->isChecked());
  Click(Child<QPushButton>(&screen, "btSysSave"));
  ASSERT_EQ(screen.result(), QDialog::Accepted);
  EXPECT_EQ(state.options.deductionRounding, RoundingMode::Up);
  EXPECT_EQ(state.options.paymentRounding, RoundingMode::Truncate);
  EXPECT_EQ(state.settings.ReadInt("Option", "HasuuKou", -1), 1);

  Show();
  Click(Child<QRadioButton>(&screen, "rbKouRound"));
  EXPECT_FALSE(Child<QRadioButton>(&screen, "rbKouTrunc")->isChecked());
  Click(Child<QPushButton>(&screen, "btSysSave"));
  EXPECT_EQ(state.options.deductionRounding, RoundingMode::Half);
}

TEST_F(OptionTest, NameChecksKeepTheScreenOpenWithTheFocusOnTheField) {
  struct Case {
    std::vector<std::pair<const char*, const char*>> typed;
    const char* message;  // nullptr: accepted
    const char* focused;
  };
  const Case cases[] = {
      {{{"edFixTeate1", "基本給"}},
       "項目名｢基本給｣は既に用意されている項目です。\r同じ名前の項目を複数作成する事は出来ません。", "edFixTeate1"},
      {{{"edFixKoujo3", ""}}, "項目名は必須入力です。", "edFixKoujo3"},
      {{{"edFixKoujo1", "互助会費"}, {"edVarKoujo2", "互助会費"}}, "項目名が重複しています。", "edVarKoujo2"},
      {{{"edSonota3", "所得税"}}, nullptr, nullptr},
      {{{"edVarTeate1", "旅費"}, {"edFixKoujo1", "旅費"}}, nullptr, nullptr},
      {{}, nullptr, nullptr},  // the default names
  };
  for (const Case& c : cases) {
    state.options = Options{};
    std::filesystem::remove(state.paths.settingsFile);
    dialogs.Clear();
    Show();
    for (const auto& [field, text] : c.typed) Edit(field)->setText(QString::fromUtf8(text));
    Click(Child<QPushButton>(&screen, "btSysSave"));
    if (c.message) {
      EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message});
      EXPECT_EQ(dialogs.shown.at(0).kind, ui::MsgKind::Error);
      EXPECT_TRUE(screen.isVisible());
      EXPECT_EQ(screen.focusWidget(), Edit(c.focused)) << c.message;
      EXPECT_EQ(state.options.itemNames, Options{}.itemNames);
      EXPECT_FALSE(SettingsWritten());
      screen.hide();
    } else {
      EXPECT_TRUE(dialogs.shown.empty()) << (dialogs.shown.empty() ? "" : dialogs.shown[0].text);
      EXPECT_FALSE(screen.isVisible());
      EXPECT_TRUE(SettingsWritten());
      for (const auto& [field, text] : c.typed) {
        EXPECT_EQ(state.settings.ReadText("Option", std::string(field).substr(2), "?"), text);
      }
    }
  }
}

TEST_F(OptionTest, CancelChangesNothing) {
  Show();
  Edit("edFixTeate2")->setText("皆勤手当");
  Click(Child<QCheckBox>(&screen, "cbAutoSel"));
  Click(Child<QPushButton>(&screen, "btCancel"));
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(screen.result(), QDialog::Rejected);
  EXPECT_EQ(state.options.itemNames, Options{}.itemNames);
  EXPECT_TRUE(state.options.autoSelect);
  EXPECT_FALSE(SettingsWritten());
  Show();  // showing again shows the stored options
  EXPECT_EQ(Edit("edFixTeate2")->text(), "固定手当２");
  EXPECT_TRUE(Child<QCheckBox>(&screen, "cbAutoSel")->isChecked());
}

TEST_F(OptionTest, FirstRunInformsAndCancelAsksBeforeEnding) {
  state.firstRun = true;
  Show();
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{
                                 "項目名と属性や各種動作環境を設定して下さい。\r　（詳細はF1キーを押してヘルプを参照）"});
  dialogs.Clear();
  dialogs.answers = {ui::MsgAnswer::No, ui::MsgAnswer::Yes};
  Click(Child<QPushButton>(&screen, "btCancel"));
  EXPECT_TRUE(screen.isVisible());
  Click(Child<QPushButton>(&screen, "btCancel"));
  EXPECT_FALSE(screen.isVisible());
  EXPECT_EQ(screen.result(), QDialog::Rejected);
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{kFirstRunCancel, kFirstRunCancel}));
  EXPECT_EQ(dialogs.shown.at(0).buttons, ui::MsgButtons::YesNo);
}

TEST_F(OptionTest, PasswordButtonOpensTheHookAndIsDisabledWithoutOne) {
  auto* button = Child<QPushButton>(&screen, "btPassWord");
  EXPECT_EQ(button->text(), "パスワードの設定/解除");
  EXPECT_FALSE(button->isEnabled());
  int opened = 0;
  screen.SetPasswordHook([&opened] { ++opened; });
  Show();
  Click(button);
  EXPECT_EQ(opened, 1);
  EXPECT_TRUE(screen.isVisible());
}

}  // namespace
}  // namespace paylark
