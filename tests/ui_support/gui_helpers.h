// Driving screens in tests by the objectName of their controls.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

namespace paylark::testing {

// The child with the given objectName; fails the test when there is none.
template <typename T>
T* Child(QObject* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(child, nullptr) << "no control named " << name;
  return child;
}

// Focuses a line edit, replaces its text by typing and leaves it with Tab (so that the leaving
// rules run).
inline void TypeInto(QLineEdit* edit, const QString& text) {
  edit->setFocus(Qt::TabFocusReason);
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  edit->clear();
  QTest::keyClicks(edit, text);
}
inline void Leave(QWidget* w) {
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(w, &out);
}

inline void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// Runs `action` on the next modal dialog that opens (for screens that open another screen with
// exec()); the action must close it.
inline void OnNextModal(std::function<void(QWidget*)> action, int waitMs = 5000) {
  auto* timer = new QTimer;
  auto elapsed = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, waitMs] {
    *elapsed += 10;
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      action(modal);
    } else if (*elapsed > waitMs) {
      timer->stop();
      timer->deleteLater();
      ADD_FAILURE() << "no modal dialog opened";
    }
  });
  timer->start(10);
}

}  // namespace paylark::testing
