// GoogleTest main for the screens: one QApplication, offscreen unless a display is asked for,
// with the Japanese fonts installed.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "ui/fonts.h"

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  paylark::ui::InstallJapaneseFonts();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
