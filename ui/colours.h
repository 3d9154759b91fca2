// Colours shared by the screens.
#pragma once

#include <QColor>

namespace paylark::ui {

// Items that are calculated or not used for a pay form: the payslip item settings show unused
// items in it, the detail entry screen its calculated fields.
inline const QColor kDisabledItemColour(204, 221, 221);

}  // namespace paylark::ui
