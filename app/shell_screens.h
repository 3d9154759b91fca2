// How the main window and the period selection reach the other screens. The application wires
// the real screens (created once at start-up); tests put in fakes. An empty function means the
// command is not available (its screen comes with a later part of the program): the command is
// then shown disabled.
#pragma once

#include <QString>
#include <functional>

#include "print/report_code.h"
#include "session/memb_list_rules.h"
#include "store/item_settings.h"

namespace paylark::app {

struct ShellScreens {
  std::function<bool()> companyInfo;               // TfmCorpInfo; true on OK
  std::function<bool()> inputItems;                // TfmOption; true on OK
  std::function<bool(ItemKind)> payslipItems;      // TfmPrnFormK / TfmPrnFormS; true on OK
  std::function<bool(screens::MembListMode mode)> employeeList;  // TfmMembList; true on OK
  std::function<bool(int slot)> detailEntry;       // TfmDataEdit for a slot
  // TfmSelData; `returning` after the main window's return command. True on OK (a period is in
  // memory), false on 終了.
  std::function<bool(bool returning)> periodSelection;
  std::function<bool()> importReports;             // attendance report import; true when figures changed
  std::function<void(print::ReportCode code, const QString& caption)> print;  // TfmInji
  std::function<void(print::ReportCode code, const QString& caption)> mail;   // TfmSendMail (payslips)
  std::function<bool()> yearEnd;                   // TfmYearEnd; true when a period in memory changed
  std::function<bool()> mailServer;                // TfmMailServer; true when new settings were stored
  std::function<void()> versionBox;
  std::function<void(int topic)> help;             // F1 and the help menu
};

}  // namespace paylark::app
