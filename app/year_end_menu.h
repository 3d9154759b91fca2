// The main window's 年末調整 menu: opens the 年末調整 window (TfmYearEnd) for the open company.
#pragma once

#include <functional>

class QAction;
class QMenuBar;
class QObject;

namespace paylark::app {

// Adds "年末調整(&Y)" to the menu bar; `open` runs when it is chosen.
QAction* AddYearEndMenu(QMenuBar* bar, QObject* owner, std::function<void()> open);

}  // namespace paylark::app
