#include "mail/payslip_mail.h"

#include "store/format_text.h"
#include "store/period.h"

namespace paylark::mail {

std::string MailSubject(const EraYear& eraYear, int period, const Options& options) {
  std::string subject = Format("%s%d年", eraYear.era.c_str(), eraYear.year);
  if (IsSalaryPeriod(period))
    subject += Format("%d月分 給与", period);
  else if (period == 13)
    subject += " 夏期賞与";
  else if (period == 14)
    subject += " 冬期賞与";
  else
    subject += " " + options.thirdBonusName;
  return subject + "明細書";
}

std::string PictureNamePart(const EraYear& eraYear, int period, const Options& options) {
  if (IsSalaryPeriod(period)) return Format("給与%.2d-%.2d", eraYear.year, period);
  if (period == 13) return "夏期賞与";
  if (period == 14) return "冬期賞与";
  return options.thirdBonusName;
}

std::filesystem::path PicturePath(const std::filesystem::path& programDir, const std::string& namePart,
                                  const std::string& employeeName) {
  std::string name = namePart + "[" + employeeName + "].jpg";
  for (char& c : name)
    if (c == '/' || c == '\0') c = '_';
  return programDir / name;
}

Transport ChooseTransport(bool confirmFirst, bool mailProgramAvailable, bool smtpConfigured) {
  if (mailProgramAvailable && (confirmFirst || !smtpConfigured)) return Transport::MailProgram;
  if (smtpConfigured) return Transport::Smtp;
  return Transport::None;
}

void SetUpPictureModel(print::PageModel& page, double pageWidthDots, int printerDpiX, int printerDpiY,
                       int screenDpi, double offsetXDots, double offsetYDots) {
  const int zoom = print::Rnd(kPictureWidth / pageWidthDots / (static_cast<double>(screenDpi) / printerDpiY) * 100);
  const float dotsPerMm = static_cast<float>(screenDpi * zoom / 100) / 25.4f;
  page.dotsPerMmX = dotsPerMm;
  page.dotsPerMmY = dotsPerMm;
  page.physOffsetX = print::Rnd(offsetXDots / (printerDpiX / 25.4));
  page.physOffsetY = print::Rnd(offsetYDots / (printerDpiY / 25.4));
  page.thinPen = 1;
  page.thickPen = 2;
}

}  // namespace paylark::mail
