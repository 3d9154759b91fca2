#include "print/qt/mail_job.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <exception>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "mail/payslip_mail.h"
#include "print/qt/qt_canvas.h"
#include "print/report_pages.h"
#include "store/year_file.h"

namespace paylark::print {

void WritePayslipPicture(const MailJob& job, int slot, const std::filesystem::path& file) {
  const PrinterPage& printer = job.printer;
  if (printer.width <= 0 || printer.dpiX <= 0 || printer.dpiY <= 0) {
    throw std::runtime_error("the printer has no page size");
  }
  QImage image(mail::kPictureWidth, mail::kPictureHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    QtCanvas canvas(painter);
    PageModel page;
    mail::SetUpPictureModel(page, printer.width, printer.dpiX, printer.dpiY, job.screenDpiY, printer.offsetX,
                            printer.offsetY);
    SetAdjustment(page, *job.source.options);
    page.canvas = &canvas;
    DrawReportPage(page, {rkPayslip, slot}, job.source, {slot, 0});
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "JPG")) throw std::runtime_error("the picture cannot be encoded as JPEG");
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.constData(), bytes.size());
  out.close();
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

int RunMailJob(const MailJob& job) {
  const OpenPeriod& open = *job.source.open;
  const std::string namePart = mail::PictureNamePart(open.eraYear, open.periodIndex, *job.source.options);
  const int count = static_cast<int>(job.recipients.size());
  int failed = 0;
  for (int k = 0; k < count; ++k) {
    if (job.progress) job.progress(k, count);
    const int slot = job.recipients[static_cast<std::size_t>(k)];
    const EmployeeRecord& employee = open.period.Employee(slot);
    const std::string address = employee.MailAddress();
    const std::filesystem::path picture = mail::PicturePath(job.programDir, namePart, employee.Name());
    mail::SendResult result;
    try {
      WritePayslipPicture(job, slot, picture);
      mail::MailMessage message;
      message.from = job.from;
      message.to = address;
      message.subject = job.subject;
      message.body = job.body;
      message.attachment = picture;
      result = job.send ? job.send(message) : mail::SendResult{false, "no transport"};
    } catch (const YearFileError& e) {
      result = {false, e.UserText()};
    } catch (const std::exception& e) {
      result = {false, e.what()};
    }
    if (!result.ok) ++failed;
    if (job.sent) job.sent(slot, address, result);
    std::error_code ignored;
    std::filesystem::remove(picture, ignored);
  }
  return failed;
}

}  // namespace paylark::print
