// Handing one payslip mail to the user's mail program with xdg-email, which opens it in the mail
// program's compose window for the user to check and send.
#pragma once

#include <filesystem>
#include <string>

#include "mail/mail_message.h"
#include "mail/smtp_transport.h"

namespace paylark::mail {

// The xdg-email program on the PATH, or an empty path.
std::filesystem::path FindMailProgramLauncher();

// Runs `launcher --subject S --body B --attach FILE [ADDRESS]` without a shell and waits for it;
// exit status 0 is success. An address that would read as an option is refused.
SendResult HandToMailProgram(const std::filesystem::path& launcher, const MailMessage& message);

}  // namespace paylark::mail
