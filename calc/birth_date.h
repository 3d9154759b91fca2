// 生年月日 as typed and shown: typed in 和暦 with the era's letter ("S55.4.1", "s55/4/1") or name
// ("昭和55年4月1日", "昭和55.4.1"), or in 西暦 ("1980-04-01", "1980/4/1", "1980.4.1"); full-width digits
// and letters count as their ASCII forms. Shown in 和暦 as "昭和55年 4月 1日".
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "store/era.h"

namespace paylark {

// nullopt for a text that is not a date of the calendar, an era year outside its era (昭和64年
// ends on 7 January), or a date after `today`.
std::optional<CivilDate> ParseBirthDate(std::string_view text, const CivilDate& today);

// "昭和55年 4月 1日"; empty for 0 or a value that is not a date (yyyymmdd).
std::string BirthDateText(std::int32_t yyyymmdd);

}  // namespace paylark
