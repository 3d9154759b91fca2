// The payslip mail job: for every recipient in order, the payslip of the open period drawn into a
// 1050 × 740 JPEG picture beside the program, one mail with that picture handed to the transport,
// and the picture removed again. A failure (a drawing or read error, a picture that cannot be
// written, a transport that refuses) is reported for its recipient and the others are still sent.
// The screen chooses the transport, asks for the password and tells the user what happened.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "mail/mail_message.h"
#include "mail/smtp_transport.h"
#include "print/report_source.h"
#include "session/print_rules.h"

namespace paylark::print {

struct MailJob {
  PrinterPage printer;   // the print dialog's printer: the picture is scaled from its page
  int screenDpiY = 96;   // the screen's vertical dots per inch
  ReportSource source;   // what the payslip reads; the open period, options and items set
  std::filesystem::path programDir;  // the pictures lie here while their mails are handed over
  std::string from;      // the sender (SMTP only)
  std::string subject;   // UTF-8
  std::string body;      // UTF-8
  std::vector<int> recipients;  // slots, in order

  std::function<mail::SendResult(const mail::MailMessage&)> send;
  // Before each mail: its index (0-based) and the number of mails.
  std::function<void(int index, int count)> progress;
  // After each mail, while its picture is still there.
  std::function<void(int slot, const std::string& address, const mail::SendResult& result)> sent;
};

// Sends every mail of the job; the number of mails that failed.
int RunMailJob(const MailJob& job);

// Draws the payslip of `slot` into the mail picture and writes it as JPEG; throws what the drawing
// throws and std::runtime_error when the printer has no page or the file cannot be written.
void WritePayslipPicture(const MailJob& job, int slot, const std::filesystem::path& file);

}  // namespace paylark::print
