// One payslip mail: a recipient, a subject, a body and one attached picture, and its MIME form
// (UTF-8 text, the subject and the attachment's name as encoded words, the picture in base64).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace paylark::mail {

struct MailMessage {
  std::string from;                    // sender address (SMTP only)
  std::string to;                      // the employee's mail address
  std::string subject;                 // UTF-8
  std::string body;                    // UTF-8, lines separated by "\n" or "\r\n"
  std::filesystem::path attachment;    // the JPEG picture
};

std::string Base64(std::string_view bytes);
// "=?UTF-8?B?...?=" for text that is not plain ASCII, else the text itself.
std::string EncodedWord(std::string_view utf8);

// The whole message with CRLF line ends. `date` is an RFC 5322 date, `boundary` the multipart
// boundary. Throws std::system_error when the attachment cannot be read.
std::string ComposeMime(const MailMessage& message, const std::string& date, const std::string& boundary);
// The current local time as an RFC 5322 date ("Thu, 10 Dec 2026 13:05:00 +0900").
std::string MailDateNow();

}  // namespace paylark::mail
