#include <gtest/gtest.h>

#include <QDialog>
#include <QTest>
#include <QVBoxLayout>

#include "ui/entry_fields.h"
#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::RecordingDialogs;

class EntryFieldsTest : public ::testing::Test {
 protected:
  EntryFieldsTest() {
    auto* layout = new QVBoxLayout(&form);
    amount = new ui::NumEdit(context, 90, &form);
    amount->setObjectName("edAmount");
    amount->SetAcceptedCharacters("0123456789-");
    hours = new ui::NumEdit(context, 62, &form);
    name = new ui::TextEdit(8, &form);
    layout->addWidget(amount);
    layout->addWidget(hours);
    layout->addWidget(name);
    EXPECT_TRUE(testing::ShowActive(&form));
  }

  RecordingDialogs dialogs;
  Options options;
  ui::FieldContext context{dialogs, options};
  QDialog form;
  ui::NumEdit* amount;
  ui::NumEdit* hours;
  ui::TextEdit* name;
};

TEST_F(EntryFieldsTest, RejectedCharactersBeepAndAreDropped) {
  options.inputOverwrite = false;
  amount->setFocus();
  QTest::keyClicks(amount, "12a3.");
  EXPECT_EQ(amount->text(), "123");
  EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(EntryFieldsTest, OverwriteTypingReplacesTheCharacterAfterTheCaret) {
  amount->setText("12345");
  amount->setFocus();
  amount->setCursorPosition(1);
  QTest::keyClicks(amount, "98");
  EXPECT_EQ(amount->text(), "19845");
  EXPECT_EQ(amount->cursorPosition(), 3);
  amount->setCursorPosition(5);
  QTest::keyClicks(amount, "7");
  EXPECT_EQ(amount->text(), "198457");
}

TEST_F(EntryFieldsTest, CtrlDeleteEmptiesAndEnterMovesOn) {
  amount->setText("500");
  amount->setFocus();
  QTest::keyClick(amount, Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(amount->text(), "");
  QTest::keyClick(amount, Qt::Key_Return);
  EXPECT_TRUE(hours->hasFocus());
}

TEST_F(EntryFieldsTest, LeavingNormalisesByTheFormatCode) {
  hours->SetDisplay([](double v) { return QString::number(v, 'f', 2); });
  hours->setText("1:30");
  EXPECT_TRUE(hours->Normalise());
  EXPECT_EQ(hours->text(), "1.50");
  hours->setText("1:60");
  EXPECT_FALSE(hours->Normalise());
  EXPECT_EQ(hours->text(), "");
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"分の入力が59を超えています。"});
  amount->setText("12345678");  // eight digits in a code-90 field
  EXPECT_FALSE(amount->Normalise());
  EXPECT_EQ(dialogs.Texts().back(), "入力した数値が上限を超えました。");
}

TEST_F(EntryFieldsTest, TextIsCutToItsShiftJisLengthWhileTyping) {
  name->setFocus();
  QTest::keyClicks(name, "ab");
  name->insert("山田太郎");  // 2 + 8 bytes: the last full-width character does not fit
  emit name->textEdited(name->text());
  EXPECT_EQ(name->text(), "ab山田太");
}

}  // namespace
}  // namespace paylark
