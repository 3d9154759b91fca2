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

// Makes a shown window the active window, as a window manager would, and waits until it is.
// Offscreen, the window system activates a newly shown window only later, by an event, and a
// window shown again not at all; the keyboard focus (hasFocus(), QApplication::focusWidget())
// follows the activation, so a test that looks at the focus must activate first.
inline bool Activate(QWidget* window) {
  if (!window->isActiveWindow()) QApplication::setActiveWindow(window);
  return QTest::qWaitForWindowActive(window) && window->isActiveWindow();
}

// Shows a modeless window and activates it (see Activate); false when it was not activated.
inline bool ShowActive(QWidget* window) {
  window->show();
  return Activate(window);
}

// Runs `action` on the next modal dialog that opens (for screens that open another screen with
// exec()), once the dialog is the active window (see Activate); the action must close it.
inline void OnNextModal(std::function<void(QWidget*)> action, int waitMs = 5000) {
  auto* timer = new QTimer;
  auto elapsed = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [timer, action, elapsed, waitMs] {
    *elapsed += 10;
    if (QWidget* modal = QApplication::activeModalWidget()) {
      timer->stop();
      timer->deleteLater();
      EXPECT_TRUE(Activate(modal)) << "the modal dialog was not activated";
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
