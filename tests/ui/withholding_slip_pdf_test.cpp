// The 源泉徴収票 written into a PDF file and read back with pdftotext -bbox: the main figures, the
// name and the address lie in the boxes of the year's layout.
#include <gtest/gtest.h>

#include <QStandardPaths>

#include "print/qt/pdf_report.h"
#include "print/withholding_slip.h"
#include "support/temp_dir.h"
#include "ui_support/pdf_words.h"
#include "support/year_end_fixture.h"

namespace paylark {
namespace {

using testing::kPointsPerMm;
using Word = testing::PdfWord;

std::vector<Word> WordsOf(const std::filesystem::path& pdf, const std::filesystem::path& html) {
  return testing::PdfWordsOf(pdf, html);
}

// The words drawn inside a box of the slip whose top is `top` mm down the sheet.
std::vector<Word> InBox(const std::vector<Word>& words, const print::SlipBoxPlace& box, double top) {
  std::vector<Word> inside;
  for (const Word& w : words)
    if (w.xMin >= box.x1 * kPointsPerMm && w.xMax <= box.x2 * kPointsPerMm &&
        w.yMin >= (top + box.y1) * kPointsPerMm && w.yMax <= (top + box.y2) * kPointsPerMm)
      inside.push_back(w);
  return inside;
}

std::string TextOf(const std::vector<Word>& words) {
  std::string text;
  for (const Word& w : words) text += w.text;
  return text;
}

TEST(WithholdingSlipPdfTest, FiguresNameAndAddressInTheBoxesOfTheYear) {
  if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) GTEST_SKIP() << "no pdftotext";
  testing::TempDir folder;
  const testing::YearEndFixture fixture;
  const auto pdf = folder / "slips.pdf";
  // 山田 and 佐藤 on one sheet: 山田 above, 佐藤 half a sheet lower.
  const print::JobResult job = print::WritePdfDocument(pdf, print::WithholdingSlipDocument(fixture.source, {0, 1}));
  ASSERT_TRUE(job.printed) << job.error;
  const std::vector<Word> words = WordsOf(pdf, folder / "slips.html");
  const print::WithholdingSlipLayout& layout = print::WithholdingSlipLayoutOf(2025);

  const struct {
    print::SlipBox box;
    const char* amount;
  } figures[] = {{print::SlipBox::Paid, "6,000,000"},
                 {print::SlipBox::SalaryIncome, "4,360,000"},
                 {print::SlipBox::DeductionsTotal, "3,240,000"},
                 {print::SlipBox::Tax, "57,100"}};
  for (const auto& f : figures) {
    const print::SlipBoxPlace& place = layout.Place(f.box);
    const std::vector<Word> inside = InBox(words, place, 0);
    const auto it = std::find_if(inside.begin(), inside.end(), [&](const Word& w) { return w.text == f.amount; });
    ASSERT_NE(it, inside.end()) << f.amount << " in the box " << place.heading << ": " << TextOf(inside);
    EXPECT_NEAR(it->xMax, print::SlipAmountRight(place) * kPointsPerMm, 0.5) << f.amount;
    EXPECT_NEAR(it->yMin, print::SlipValueTop(place) * kPointsPerMm, 1.5) << f.amount;
  }
  EXPECT_NE(TextOf(InBox(words, layout.Place(print::SlipBox::Name), 0)).find("山田"), std::string::npos);
  EXPECT_NE(TextOf(InBox(words, layout.Place(print::SlipBox::Name), 0)).find("太郎"), std::string::npos);
  EXPECT_NE(TextOf(InBox(words, layout.Place(print::SlipBox::Address), 0)).find("東京都新宿区西新宿二丁目8番1号"),
            std::string::npos);

  // The lower slip: 佐藤's pay and withheld tax, the adjustment's boxes empty.
  EXPECT_EQ(TextOf(InBox(words, layout.Place(print::SlipBox::Paid), layout.height)), "支払金額1,000,000");
  EXPECT_EQ(TextOf(InBox(words, layout.Place(print::SlipBox::Tax), layout.height)), "源泉徴収税額20,000");
  EXPECT_EQ(TextOf(InBox(words, layout.Place(print::SlipBox::DeductionsTotal), layout.height)), "所得控除の額の合計額");
  EXPECT_NE(TextOf(InBox(words, layout.Place(print::SlipBox::Address), layout.height)).find("神奈川県横浜市中区1-2-3"),
            std::string::npos);
}

}  // namespace
}  // namespace paylark
