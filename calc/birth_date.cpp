#include "calc/birth_date.h"

#include <array>
#include <cstdio>

#include "store/rate_table_extension.h"

namespace paylark {
namespace {

struct EraLetter {
  char letter;
  const char* name;
};
constexpr std::array<EraLetter, 5> kEraLetters{{{'M', "明治"}, {'T', "大正"}, {'S', "昭和"}, {'H', "平成"}, {'R', "令和"}}};

// Full-width digits, letters, '．', '／', '－' and the ideographic space to ASCII, blanks removed.
std::string Narrow(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (text.substr(i, 3) == "\u3000") {  // 全角スペース
      i += 3;
      continue;
    }
    if (c == 0xEF && i + 2 < text.size()) {
      const auto b1 = static_cast<unsigned char>(text[i + 1]);
      const auto b2 = static_cast<unsigned char>(text[i + 2]);
      // U+FF01..U+FF5E are ASCII 0x21..0x7E: EF BC 81..BF and EF BD 80..9E.
      int code = -1;
      if (b1 == 0xBC && b2 >= 0x81 && b2 <= 0xBF) code = b2 - 0x81 + 0x21;
      if (b1 == 0xBD && b2 >= 0x80 && b2 <= 0x9E) code = b2 - 0x80 + 0x60;
      if (code >= 0) {
        out += static_cast<char>(code);
        i += 3;
        continue;
      }
    }
    out += static_cast<char>(c);
    ++i;
  }
  // Blanks anywhere (the shown form pads month and day: "昭和55年 4月 1日").
  std::erase(out, ' ');
  return out;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Splits "55.4.1" / "55年4月1日" / "1980-04-01" into numbers; nullopt for anything else.
std::optional<std::array<int, 3>> ThreeNumbers(std::string_view text) {
  std::array<int, 3> n{};
  std::size_t i = 0;
  const std::array<std::string_view, 3> kanji = {"年", "月", "日"};
  char separator = 0;
  for (int part = 0; part < 3; ++part) {
    if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
    int value = 0;
    int digits = 0;
    while (i < text.size() && IsDigit(text[i])) {
      value = value * 10 + (text[i] - '0');
      if (++digits > 4) return std::nullopt;
      ++i;
    }
    n[part] = value;
    if (text.substr(i, kanji[part].size()) == kanji[part]) {
      if (separator != 0 && separator != 'k') return std::nullopt;
      separator = 'k';
      i += kanji[part].size();
    } else if (part < 2 && i < text.size() && (text[i] == '.' || text[i] == '/' || text[i] == '-')) {
      if (separator != 0 && separator != text[i]) return std::nullopt;
      separator = text[i];
      ++i;
    } else if (part < 2 || separator == 'k') {
      return std::nullopt;  // "55年4月1" lacks its 日
    }
  }
  if (i != text.size()) return std::nullopt;
  return n;
}

}  // namespace

std::optional<CivilDate> ParseBirthDate(std::string_view typed, const CivilDate& today) {
  const std::string text = Narrow(typed);
  if (text.empty()) return std::nullopt;
  std::optional<std::string> era;
  std::string_view rest = text;
  for (const EraLetter& e : kEraLetters) {
    const char first = text[0];
    if (first == e.letter || first == e.letter + ('a' - 'A')) {
      era = e.name;
      rest.remove_prefix(1);
      break;
    }
    const std::string_view name(e.name);
    if (rest.substr(0, name.size()) == name) {
      era = e.name;
      rest.remove_prefix(name.size());
      break;
    }
  }
  const std::optional<std::array<int, 3>> n = ThreeNumbers(rest);
  if (!n) return std::nullopt;
  CivilDate date{(*n)[0], (*n)[1], (*n)[2]};
  if (era) {
    if (date.year < 1) return std::nullopt;
    const std::optional<int> start = GregorianYear(EraYear{*era, date.year});
    if (!start) return std::nullopt;
    date.year = *start;
  } else if (date.year < 1868) {
    return std::nullopt;
  }
  if (DateFromNumber(DateNumber(date)) != date) return std::nullopt;
  if (era && EraOf(date) != EraYear{*era, (*n)[0]}) return std::nullopt;
  if (date > today) return std::nullopt;
  return date;
}

std::string BirthDateText(std::int32_t yyyymmdd) {
  if (yyyymmdd == 0) return {};
  const std::optional<CivilDate> date = DateFromNumber(yyyymmdd);
  if (!date) return {};
  const EraYear era = EraOf(*date);
  char text[64];
  std::snprintf(text, sizeof text, "%s%2d年%2d月%2d日", era.era.c_str(), era.year, date->month, date->day);
  return text;
}

}  // namespace paylark
