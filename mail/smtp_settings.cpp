#include "mail/smtp_settings.h"

#include "store/profile_file.h"

namespace paylark::mail {

namespace {
constexpr std::string_view kSection = "MailServer";
}

SmtpSettings LoadSmtpSettings(const ProfileFile& settings) {
  const ProfileSection s = settings.ReadSection(kSection);
  SmtpSettings smtp;
  smtp.server = s.Text("Server", "");
  smtp.port = s.Int("Port", 587);
  if (smtp.port <= 0 || smtp.port > 65535) smtp.port = 587;
  const int security = s.Int("Security", 1);
  smtp.security = security >= 0 && security <= 2 ? static_cast<SmtpSecurity>(security) : SmtpSecurity::StartTls;
  smtp.user = s.Text("User", "");
  smtp.from = s.Text("From", "");
  return smtp;
}

void SaveSmtpSettings(ProfileFile& settings, const SmtpSettings& smtp) {
  ProfileBatch batch;
  batch.Text(kSection, "Server", smtp.server);
  batch.Int(kSection, "Port", smtp.port);
  batch.Int(kSection, "Security", static_cast<int>(smtp.security));
  batch.Text(kSection, "User", smtp.user);
  batch.Text(kSection, "From", smtp.from);
  settings.Write(batch);
}

}  // namespace paylark::mail
