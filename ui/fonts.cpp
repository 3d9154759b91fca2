#include "ui/fonts.h"

#include <QApplication>

namespace paylark::ui {

void InstallJapaneseFonts() {
  QFont::insertSubstitutions(QString::fromUtf8(kMincho), {QStringLiteral("IPAMincho"), QStringLiteral("IPA明朝")});
  QFont::insertSubstitutions(QString::fromUtf8(kGothic), {QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
  QFont::insertSubstitutions(QString::fromUtf8(kPGothic),
                             {QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
  QApplication::setFont(GothicFont(10));
}

QFont GothicFont(int pointSize) {
  QFont f(QString::fromUtf8(kGothic), pointSize);
  f.setStyleHint(QFont::SansSerif);
  return f;
}

QFont MinchoFont(int pointSize) {
  QFont f(QString::fromUtf8(kMincho), pointSize);
  f.setStyleHint(QFont::Serif);
  return f;
}

}  // namespace paylark::ui
