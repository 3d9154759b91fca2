// Text between the engine (UTF-8 std::string) and Qt (QString).
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace paylark::ui {

inline const QString kApplicationTitle = QStringLiteral("Paylark給与計算");

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUtf8(const QString& text) { return text.toStdString(); }
// The program's messages break lines with "\r"; Qt wants "\n".
inline QString FromMessage(std::string_view text) {
  QString s = FromUtf8(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QChar('\r'), QChar('\n'));
  return s;
}

}  // namespace paylark::ui
