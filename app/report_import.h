// 勤務報告データの読み込み: attendance report files chosen by the user are read into the period in
// memory, employee by employee, and the remaining paid leave is recomputed.
#pragma once

#include "ui/dialog_service.h"
#include "session/program_state.h"

namespace paylark::app {

// True when the sheet is to be rebuilt: files were chosen and none of them was unreadable (an
// unreadable file stops the command after its error; figures of earlier files stay in memory).
bool ImportAttendanceReports(ui::ProgramState& state, ui::DialogService& dialogs);

}  // namespace paylark::app
