// A local SMTP server (tests/support/smtp_sink.py, python3-aiosmtpd) started for one test.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace paylark::testing {

struct ReceivedMail {
  std::string to;
  std::string subject;
  std::string body;
  std::string attachmentName;
  std::string attachment;  // bytes
};

class SmtpSink {
 public:
  // Starts the server storing into `folder`; port() is 0 when it could not start.
  explicit SmtpSink(const std::filesystem::path& folder);
  ~SmtpSink();
  SmtpSink(const SmtpSink&) = delete;
  SmtpSink& operator=(const SmtpSink&) = delete;

  int port() const { return port_; }
  // The messages received so far, in order of arrival.
  std::vector<ReceivedMail> Received() const;

 private:
  std::filesystem::path folder_;
  int port_ = 0;
  int pid_ = 0;
  int stdinFd_ = -1;
};

}  // namespace paylark::testing
