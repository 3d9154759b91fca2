// The 47 prefectures by their JIS code (01 北海道 … 47 沖縄県), as 協会けんぽ names its branches.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace paylark {

constexpr int kPrefectureCount = 47;

// "東京都" for 13; empty for a code outside 1..47.
std::string PrefectureName(int jisCode);
// 13 for "東京都"; nullopt for any other text.
std::optional<int> PrefectureCode(std::string_view name);

}  // namespace paylark
