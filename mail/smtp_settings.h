// The SMTP server for sending payslips without the mail program, kept in section MailServer of
// the settings file. The password is never written to the file: the mail screen asks for it
// once a run when the server needs one.
#pragma once

#include <string>

namespace paylark {
class ProfileFile;
}

namespace paylark::mail {

enum class SmtpSecurity : int { None = 0, StartTls = 1, Tls = 2 };  // 平文, STARTTLS, SSL/TLS

struct SmtpSettings {
  std::string server;  // host name or address; empty = no SMTP sending
  int port = 587;
  SmtpSecurity security = SmtpSecurity::StartTls;
  std::string user;    // empty = no authentication
  std::string from;    // sender address

  bool Configured() const { return !server.empty() && !from.empty(); }
  bool operator==(const SmtpSettings&) const = default;
};

SmtpSettings LoadSmtpSettings(const ProfileFile& settings);
void SaveSmtpSettings(ProfileFile& settings, const SmtpSettings& smtp);

}  // namespace paylark::mail
