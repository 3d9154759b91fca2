#include "ui/screen_fit.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace paylark::ui {
namespace {

class KeepInside : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
      auto* widget = static_cast<QWidget*>(watched);
      const Qt::WindowType type = widget->windowType();
      if (widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip && type != Qt::SplashScreen) {
        // After the window's own placement in its show handler.
        QPointer<QWidget> window(widget);
        QTimer::singleShot(0, widget, [window] {
          if (window && window->isVisible()) KeepInsideScreen(window);
        });
      }
    }
    return QObject::eventFilter(watched, event);
  }
};

}  // namespace

std::pair<int, int> InsideArea(const WindowBox& frame, const WindowBox& area) {
  int left = std::min(frame.left, area.left + area.width - frame.width);
  int top = std::min(frame.top, area.top + area.height - frame.height);
  left = std::max(left, area.left);
  top = std::max(top, area.top);
  return {left, top};
}

void KeepInsideScreen(QWidget* window) {
  if (!window || !window->isWindow()) return;
  if (window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized)) return;
  const QRect frame = window->frameGeometry();
  QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (!screen) screen = window->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  const auto [left, top] = InsideArea({frame.left(), frame.top(), frame.width(), frame.height()},
                                      {area.left(), area.top(), area.width(), area.height()});
  if (left != frame.left() || top != frame.top()) window->move(window->pos() + QPoint(left - frame.left(), top - frame.top()));
}

void KeepWindowsInsideScreen(QApplication& application) { application.installEventFilter(new KeepInside(&application)); }

}  // namespace paylark::ui
