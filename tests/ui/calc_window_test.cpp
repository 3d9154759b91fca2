#include "screens/calc_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include "ui_support/gui_helpers.h"
#include "ui_support/recording_dialogs.h"

namespace paylark {
namespace {

using testing::Child;
using testing::Click;
using testing::OnNextModal;

class CalcWindowTest : public ::testing::Test {
 protected:
  QString Display(QWidget* w) { return Child<QLabel>(w, "pnDisp")->text(); }
  void ClickKeys(QWidget* w, std::initializer_list<const char*> names) {
    for (const char* name : names) Click(Child<QAbstractButton>(w, name));
  }

  testing::RecordingDialogs dialogs;
  QWidget mainWindow;
  screens::TfmCalc calc{dialogs, &mainWindow};
};

TEST_F(CalcWindowTest, ButtonsComputeAndOkHandsTheValueOn) {
  QString perCent, total;
  OnNextModal([&](QWidget* w) {
    ClickKeys(w, {"sbNum2", "sbNum0", "sbNum0", "sbPlus", "sbNum1", "sbNum0", "sbPer"});
    perCent = Display(w);
    ClickKeys(w, {"sbCalc"});
    total = Display(w);
    ClickKeys(w, {"btOk"});
  });
  EXPECT_TRUE(calc.Run());
  EXPECT_EQ(perCent, "20.");
  EXPECT_EQ(total, "220.");
  EXPECT_EQ(calc.Value(), 220);
}

TEST_F(CalcWindowTest, KeyboardPressesTheButtonsAndEscOnlyClears) {
  QString afterEquals, afterEsc, afterPoint;
  bool shownPressed = false, releasedLater = false, openAfterEsc = false;
  OnNextModal([&](QWidget* w) {
    QTest::keyClicks(w, "3+4");
    QTest::keyClick(w, Qt::Key_Return);
    afterEquals = Display(w);
    auto* equals = Child<QAbstractButton>(w, "sbCalc");
    shownPressed = equals->isDown();
    QTest::qWait(200);
    releasedLater = !equals->isDown();
    QTest::keyClick(w, Qt::Key_Escape);
    afterEsc = Display(w);
    openAfterEsc = w->isVisible();
    QTest::keyClicks(w, "1.5*2/4");
    QTest::keyClick(w, Qt::Key_Enter, Qt::KeypadModifier);
    afterPoint = Display(w);
    Click(Child<QAbstractButton>(w, "btCancel"));
  });
  EXPECT_FALSE(calc.Run());
  EXPECT_EQ(afterEquals, "7.");
  EXPECT_TRUE(shownPressed);
  EXPECT_TRUE(releasedLater);
  EXPECT_EQ(afterEsc, "0.");
  EXPECT_TRUE(openAfterEsc);
  EXPECT_EQ(afterPoint, "0.75");
}

TEST_F(CalcWindowTest, EscOnAClearedCalculatorClosesIt) {
  bool openAfterFirstEsc = false;
  OnNextModal([&](QWidget* w) {
    QTest::keyClicks(w, "12");
    QTest::keyClick(w, Qt::Key_Escape);  // clears
    openAfterFirstEsc = w->isVisible();
    QTest::keyClick(w, Qt::Key_Escape);  // nothing left to clear: closes
  });
  EXPECT_FALSE(calc.Run());
  EXPECT_TRUE(openAfterFirstEsc);
  EXPECT_FALSE(calc.isVisible());
}

TEST_F(CalcWindowTest, PerCentWithNothingToActOnBeeps) {
  OnNextModal([&](QWidget* w) {
    ClickKeys(w, {"sbPer", "sbNum5", "sbMulti", "sbPer"});
    ClickKeys(w, {"btOk"});
  });
  calc.Run();
  EXPECT_EQ(dialogs.beeps, 2);
}

TEST_F(CalcWindowTest, EveryShowingStartsClearedWhereTheLastOneWas) {
  mainWindow.setGeometry(100, 100, 600, 400);
  QPoint firstAt;
  OnNextModal([&](QWidget* w) {
    firstAt = w->frameGeometry().center();
    ClickKeys(w, {"sbNum9", "sbNum9"});
    w->move(40, 50);
    ClickKeys(w, {"btOk"});
  });
  EXPECT_TRUE(calc.Run());
  EXPECT_EQ(calc.Value(), 99);
  EXPECT_LE((firstAt - mainWindow.frameGeometry().center()).manhattanLength(), 4);  // frame rounding

  QString shown;
  QPoint secondAt;
  OnNextModal([&](QWidget* w) {
    shown = Display(w);
    secondAt = w->pos();
    ClickKeys(w, {"btOk"});
  });
  EXPECT_TRUE(calc.Run());
  EXPECT_EQ(shown, "0.");
  EXPECT_EQ(secondAt, QPoint(40, 50));
  EXPECT_EQ(calc.Value(), 0);
}

}  // namespace
}  // namespace paylark
