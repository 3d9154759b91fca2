// Every window inside the screen: a dialog centred on a smaller or displaced main window, a
// window placement stored on a larger monitor or a position kept from an earlier showing could
// otherwise put part of a window, and its buttons, out of reach.
#pragma once

#include <utility>

class QApplication;
class QWidget;

namespace paylark::ui {

struct WindowBox {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The top-left corner at which a frame of `frame`'s size lies inside `area`, moved as little as
// possible; a frame larger than the area keeps its top-left corner (title bar) inside.
std::pair<int, int> InsideArea(const WindowBox& frame, const WindowBox& area);

// Moves a top-level window so that its frame lies inside the available area of its screen.
void KeepInsideScreen(QWidget* window);

// From now on every top-level window of the application is kept inside its screen when it is
// shown (after its own placement).
void KeepWindowsInsideScreen(QApplication& application);

}  // namespace paylark::ui
