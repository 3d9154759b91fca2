#include "screens/kenho_hyo.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <limits>

#include "session/kenho_hyo_rules.h"
#include "store/sjis.h"
#include "support/payroll_fixture.h"
#include "support/temp_dir.h"
#include "ui_support/gui_helpers.h"

namespace paylark {
namespace {

using testing::Child;
using testing::OnNextModal;

TEST(GradeListLine, FixedColumnsWithSeparators) {
  EXPECT_EQ(screens::GradeListLine({58000, 63000, 58000}), "   58,000円以上    63,000円未満     58,000円");
  EXPECT_EQ(screens::GradeListLine({0, 0, 0}), "        0円以上         0円未満          0円");
  // The highest grade is open-ended: a blank 未満 column of the same width.
  const std::string open = screens::GradeListLine({1355000, std::numeric_limits<Yen>::max(), 1390000});
  EXPECT_EQ(open, "1,355,000円以上                  1,390,000円");
  EXPECT_EQ(SjisWidth(open), SjisWidth(screens::GradeListLine({58000, 63000, 58000})));
}

class KenhoHyoTest : public ::testing::Test {
 protected:
  KenhoHyoTest() { state.tables.SetHealthGrades(testing::TestGradeTable()); }

  QListWidget* List(QWidget* w) { return Child<QListWidget>(w, "ListBox"); }
  QString Label(QWidget* w) { return Child<QLabel>(w, "lbSelToKyu")->text(); }

  testing::TempDir folder;
  ui::ProgramState state{folder.Path()};
  screens::TfmKenhoHyo viewer{state};
};

TEST_F(KenhoHyoTest, PreselectsTheRememberedGradeAndEnterStoresTheLine) {
  state.selectedGrade = 3;
  std::string lineShown;
  QString labelShown, labelAfterClick;
  OnNextModal([&](QWidget* w) {
    QListWidget* list = List(w);
    EXPECT_EQ(list->count(), 10);
    EXPECT_EQ(list->currentRow(), 2);
    lineShown = list->item(0)->text().toStdString();
    labelShown = Label(w);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(5)).center());
    labelAfterClick = Label(w);
    QTest::keyClick(list, Qt::Key_Return);
  });
  EXPECT_TRUE(viewer.Choose(nullptr));
  EXPECT_EQ(lineShown, "        0円以上   150,000円未満    100,000円");
  EXPECT_EQ(labelShown, "選択等級：3等級");
  EXPECT_EQ(labelAfterClick, "選択等級：6等級");
  EXPECT_EQ(state.selectedGrade, 6);
}

TEST_F(KenhoHyoTest, DoubleClickConfirmsAndCancelKeepsTheGrade) {
  OnNextModal([&](QWidget* w) {
    QListWidget* list = List(w);
    EXPECT_EQ(list->currentRow(), 0);  // no grade yet: the first line
    const QPoint at = list->visualItemRect(list->item(1)).center();
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at);  // QTest's double-click lacks the first press
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    if (w->isVisible()) {
      ADD_FAILURE() << "a double-click did not close the list";
      static_cast<QDialog*>(w)->reject();
    }
  });
  EXPECT_TRUE(viewer.Choose(nullptr));
  EXPECT_EQ(state.selectedGrade, 2);

  OnNextModal([&](QWidget* w) {
    List(w)->setCurrentRow(7);
    testing::Click(Child<QPushButton>(w, "bbCancel"));
  });
  EXPECT_FALSE(viewer.Choose(nullptr));
  EXPECT_EQ(state.selectedGrade, 2);
}

TEST_F(KenhoHyoTest, TheListIsBuiltOncePerRunAndZeroGradesStillShow) {
  HealthGradeImage zeros;
  zeros.SetGradeCount(4);
  state.tables.SetHealthGrades(zeros);
  OnNextModal([&](QWidget* w) {
    QListWidget* list = List(w);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(3)->text(), "        0円以上         0円未満          0円");
    testing::Click(Child<QPushButton>(w, "bbOk"));
  });
  EXPECT_TRUE(viewer.Choose(nullptr));
  EXPECT_EQ(state.selectedGrade, 1);

  state.tables.SetHealthGrades(testing::TestGradeTable());
  int count = 0;
  OnNextModal([&](QWidget* w) {
    count = List(w)->count();
    testing::Click(Child<QPushButton>(w, "bbCancel"));
  });
  viewer.Choose(nullptr);
  EXPECT_EQ(count, 4);
}

}  // namespace
}  // namespace paylark
