#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QSignalSpy>
#include <QTest>

#include "app/single_instance.h"

namespace paylark {
namespace {

TEST(SingleInstance, ASecondStartFindsTheFirstAndAsksItToComeForward) {
  const QString name = QDir::temp().filePath(QStringLiteral("Tallymon-test-%1").arg(QCoreApplication::applicationPid()));
  app::SingleInstance first(name);
  ASSERT_FALSE(first.AnotherIsRunning());
  ASSERT_TRUE(first.Listen());
  QSignalSpy raised(&first, &app::SingleInstance::RaiseRequested);

  app::SingleInstance second(name);
  EXPECT_TRUE(second.AnotherIsRunning());
  EXPECT_TRUE(raised.wait(2000));
}

}  // namespace
}  // namespace paylark
