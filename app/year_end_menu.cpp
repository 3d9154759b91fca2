#include "app/year_end_menu.h"

#include <QAction>
#include <QMenuBar>

namespace paylark::app {

QAction* AddYearEndMenu(QMenuBar* bar, QObject* owner, std::function<void()> open) {
  auto* a = new QAction(QStringLiteral("年末調整(&Y)"), owner);
  a->setObjectName(QStringLiteral("mnNencho"));
  QObject::connect(a, &QAction::triggered, owner, [open = std::move(open)] { open(); });
  bar->addAction(a);
  return a;
}

}  // namespace paylark::app
