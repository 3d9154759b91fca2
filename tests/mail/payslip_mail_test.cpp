#include "mail/payslip_mail.h"

#include <gtest/gtest.h>

namespace paylark::mail {
namespace {

TEST(PayslipMailTest, SubjectAndPictureNameByPeriod) {
  Options options;
  options.thirdBonusName = "決算賞与";
  const EraYear year{"令和", 8};
  const struct {
    int period;
    const char* subject;
    const char* part;
  } cases[] = {{12, "令和8年12月分 給与明細書", "給与08-12"},
               {1, "令和8年1月分 給与明細書", "給与08-01"},
               {13, "令和8年 夏期賞与明細書", "夏期賞与"},
               {14, "令和8年 冬期賞与明細書", "冬期賞与"},
               {15, "令和8年 決算賞与明細書", "決算賞与"}};
  for (const auto& c : cases) {
    EXPECT_EQ(MailSubject(year, c.period, options), c.subject);
    EXPECT_EQ(PictureNamePart(year, c.period, options), c.part);
  }
  EXPECT_EQ(PicturePath("/opt/Saldesk", "夏期賞与", "山田　太郎"), "/opt/Saldesk/夏期賞与[山田　太郎].jpg");
  // A name cannot lead the picture out of the program folder.
  EXPECT_EQ(PicturePath("/opt/Saldesk", "夏期賞与", "../../x"), "/opt/Saldesk/夏期賞与[.._.._x].jpg");
}

TEST(PayslipMailTest, TransportChoice) {
  EXPECT_EQ(ChooseTransport(true, true, true), Transport::MailProgram);
  EXPECT_EQ(ChooseTransport(false, true, true), Transport::Smtp);
  EXPECT_EQ(ChooseTransport(false, true, false), Transport::MailProgram);
  EXPECT_EQ(ChooseTransport(true, false, true), Transport::Smtp);
  EXPECT_EQ(ChooseTransport(true, false, false), Transport::None);
}

TEST(PayslipMailTest, PictureModelHoldsAnA5SheetAtAboutFiveDotsPerMillimetre) {
  print::PageModel page;
  // A5 landscape on a 600 dpi printer with a 4.23 mm margin; a 96 dpi screen: Zp = 132.
  SetUpPictureModel(page, 210 / 25.4 * 600, 600, 600, 96, 100, 100);
  EXPECT_FLOAT_EQ(page.dotsPerMmX, 126 / 25.4f);
  EXPECT_EQ(page.physOffsetX, 4);
  EXPECT_EQ(page.thinPen, 1);
  EXPECT_EQ(page.thickPen, 2);
  // The sheet's 210 mm take up (almost) the picture's width.
  EXPECT_LE(page.X(210 + 4), kPictureWidth);
  EXPECT_GE(page.X(210 + 4), kPictureWidth - 10);
}

}  // namespace
}  // namespace paylark::mail
