// Japanese fonts. The screens and reports ask for "ＭＳ 明朝" and "ＭＳ ゴシック" (and their
// proportional forms); on this platform IPA Mincho and IPA Gothic stand in for them.
#pragma once

#include <QFont>

namespace paylark::ui {

inline constexpr const char* kMincho = "ＭＳ 明朝";
inline constexpr const char* kGothic = "ＭＳ ゴシック";
inline constexpr const char* kPGothic = "ＭＳ Ｐゴシック";

// Registers the substitutions and sets the application's default font (IPA Gothic, 10 pt).
void InstallJapaneseFonts();
QFont GothicFont(int pointSize = 10);
QFont MinchoFont(int pointSize = 10);

}  // namespace paylark::ui
