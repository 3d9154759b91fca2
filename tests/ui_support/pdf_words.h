// The words of a PDF with their boxes in points, read back with `pdftotext -bbox`: how the PDF
// tests check where a figure was printed.
#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace paylark::testing {

inline constexpr double kPointsPerMm = 72 / 25.4;

struct PdfWord {
  double xMin, yMin, xMax, yMax;
  std::string text;
};

// `html` is where pdftotext writes its page description.
inline std::vector<PdfWord> PdfWordsOf(const std::filesystem::path& pdf, const std::filesystem::path& html) {
  QProcess::execute(QStringLiteral("pdftotext"),
                    {QStringLiteral("-bbox"), QString::fromStdString(pdf.string()), QString::fromStdString(html.string())});
  std::ifstream in(html);
  std::stringstream text;
  text << in.rdbuf();
  static const QRegularExpression word(
      QStringLiteral(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re"));
  std::vector<PdfWord> words;
  auto it = word.globalMatch(QString::fromStdString(text.str()));
  while (it.hasNext()) {
    const auto m = it.next();
    words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                     m.captured(4).toDouble(), m.captured(5).toStdString()});
  }
  return words;
}

}  // namespace paylark::testing
