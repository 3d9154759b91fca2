// Sending one payslip mail through an SMTP server (libcurl).
#pragma once

#include <string>

#include "mail/mail_message.h"
#include "mail/smtp_settings.h"

namespace paylark::mail {

struct SendResult {
  bool ok = false;
  std::string error;  // what went wrong, for the log and the error box's details
};

// Sends the message; the server's refusal of the sender or recipient, a connection or TLS error
// and an unreadable attachment are failures. Never throws.
SendResult SendBySmtp(const SmtpSettings& smtp, const std::string& password, const MailMessage& message);

}  // namespace paylark::mail
