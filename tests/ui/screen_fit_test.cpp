#include "ui/screen_fit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScreen>
#include <QTest>

namespace paylark {
namespace {

TEST(ScreenFit, AFrameIsMovedAsLittleAsPossibleToLieInsideTheArea) {
  const ui::WindowBox area{0, 30, 1280, 770};  // a panel above
  struct Case {
    const char* name;
    ui::WindowBox frame;
    std::pair<int, int> corner;
  } cases[] = {
      {"inside stays", {100, 100, 400, 300}, {100, 100}},
      {"off the right and the bottom", {1100, 700, 400, 300}, {880, 500}},
      {"above and left of the area", {-50, 0, 400, 300}, {0, 30}},
      {"larger than the area keeps its corner in", {200, 200, 1400, 900}, {0, 30}},
  };
  for (const Case& c : cases) EXPECT_EQ(ui::InsideArea(c.frame, area), c.corner) << c.name;
}

TEST(ScreenFit, AShownWindowIsKeptInsideItsScreen) {
  ui::KeepWindowsInsideScreen(*qApp);
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  QDialog dialog;
  dialog.resize(300, 200);
  dialog.move(area.right() - 50, area.bottom() - 20);  // as if centred on a window near the corner
  dialog.show();
  QTest::qWait(20);
  EXPECT_TRUE(area.contains(dialog.frameGeometry())) << dialog.frameGeometry().x() << "," << dialog.frameGeometry().y();
}

}  // namespace
}  // namespace paylark
