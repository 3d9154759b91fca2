// What the period selection and the reference data selection show and decide, without a screen:
// the captions of the fifteen periods, the saved months that can serve as reference data and the
// one preselected among them, and the question asked before the selection is left with 終了.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "store/era.h"

namespace paylark::app {

// "１月分給与" .. "９月分給与", "10月分給与" .. "12月分給与", "夏期賞与", "冬期賞与" and, for period 15,
// the user's name of the third bonus.
std::string PeriodCaption(int period, const std::string& thirdBonusName);

// "%2d": " 7", "12".
std::string TwoDigits(int value);

// A saved salary month of some yearly file, offered as reference data.
struct ReferenceMonth {
  std::string caption;  // "令和8年 5月分給与"
  std::filesystem::path file;
  EraYear eraYear;
  int month = 0;
};

// Every saved salary month of every yearly file of the data folder: years in calendar order,
// months ascending. Bonuses are never offered. Throws YearFileError when a header cannot be read.
std::vector<ReferenceMonth> ListReferenceMonths(const std::filesystem::path& dataFolder);

// The line preselected for period `period` of the open year: the first month of that year later
// than the period, else the open year's last saved month, else the first line.
std::size_t PreselectReferenceMonth(const std::vector<ReferenceMonth>& months, const EraYear& openYear, int period);

// The question before the period selection is left with 終了 (and the program ends): none after a
// return from the main window; before the company information was ever set up, whether to stop
// the initial set-up; before a period was chosen in this run, whether to stop choosing.
std::optional<std::string> QuitQuestion(bool returning, bool companySetUp, bool periodChosen);

}  // namespace paylark::app
