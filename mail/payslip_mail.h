// The texts and names of a payslip mail: the subject, the picture's file name beside the program,
// which transport carries it, and the page model set-up of the 1050 × 740 picture.
#pragma once

#include <filesystem>
#include <string>

#include "print/page_model.h"
#include "store/era.h"
#include "store/options.h"

namespace paylark::mail {

inline constexpr int kPictureWidth = 1050;
inline constexpr int kPictureHeight = 740;

// "令和8年12月分 給与明細書", "令和8年 夏期賞与明細書", "令和8年 冬期賞与明細書", "令和8年 決算賞与明細書".
std::string MailSubject(const EraYear& eraYear, int period, const Options& options);
// "給与08-12" for salary months, "夏期賞与", "冬期賞与" or the third bonus's name.
std::string PictureNamePart(const EraYear& eraYear, int period, const Options& options);
// The program folder + name part + "[" + employee name + "].jpg". Characters that would leave the
// folder or end the name ('/', NUL) are replaced by '_'.
std::filesystem::path PicturePath(const std::filesystem::path& programDir, const std::string& namePart,
                                  const std::string& employeeName);

enum class Transport { None, MailProgram, Smtp };
// With "送信前に内容確認" the mail program (it shows each message) when it is there; without it the
// SMTP server when one is set. Either one alone carries every mail.
Transport ChooseTransport(bool confirmFirst, bool mailProgramAvailable, bool smtpConfigured);

// The page model of the picture: zoom Zp = Rnd(1050 ÷ W ÷ (S ÷ dpiY) × 100) with the printer's
// physical page width W (dots) and vertical resolution dpiY and the screen's S dots per inch;
// dots per mm = (S × Zp ÷ 100, integer) ÷ 25.4; pens 1 and 2; the printer's margins in whole mm.
void SetUpPictureModel(print::PageModel& page, double pageWidthDots, int printerDpiX, int printerDpiY,
                       int screenDpi, double offsetXDots, double offsetYDots);

}  // namespace paylark::mail
