#include "mail/smtp_transport.h"

#include <curl/curl.h>

#include <cstring>
#include <exception>
#include <mutex>
#include <random>

namespace paylark::mail {

namespace {

struct Upload {
  std::string data;
  std::size_t at = 0;
};

std::size_t ReadChunk(char* buffer, std::size_t size, std::size_t count, void* user) {
  auto* upload = static_cast<Upload*>(user);
  const std::size_t n = std::min(size * count, upload->data.size() - upload->at);
  std::memcpy(buffer, upload->data.data() + upload->at, n);
  upload->at += n;
  return n;
}

// An address that goes between angle brackets in the SMTP dialogue as it stands.
bool UsableAddress(const std::string& address) {
  if (address.empty()) return false;
  for (unsigned char c : address)
    if (c <= ' ' || c == '<' || c == '>' || c == 0x7f) return false;
  return true;
}

std::string NewBoundary() {
  std::random_device device;
  std::uniform_int_distribution<int> hex(0, 15);
  std::string b = "=_paylark_";
  for (int i = 0; i < 24; ++i) b += "0123456789abcdef"[hex(device)];
  return b;
}

}  // namespace

SendResult SendBySmtp(const SmtpSettings& smtp, const std::string& password, const MailMessage& message) {
  if (!smtp.Configured()) return {false, "no SMTP server is set"};
  if (!UsableAddress(message.to)) return {false, "recipient address is not usable: '" + message.to + "'"};
  if (!UsableAddress(smtp.from)) return {false, "sender address is not usable: '" + smtp.from + "'"};

  Upload upload;
  try {
    upload.data = ComposeMime(message, MailDateNow(), NewBoundary());
  } catch (const std::exception& e) {
    return {false, e.what()};
  }

  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  CURL* curl = curl_easy_init();
  if (curl == nullptr) return {false, "curl_easy_init failed"};

  const std::string scheme = smtp.security == SmtpSecurity::Tls ? "smtps://" : "smtp://";
  const std::string url = scheme + smtp.server + ":" + std::to_string(smtp.port);
  const std::string from = "<" + smtp.from + ">";
  curl_slist* recipients = curl_slist_append(nullptr, ("<" + message.to + ">").c_str());
  char error[CURL_ERROR_SIZE] = {};

  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_FROM, from.c_str());
  curl_easy_setopt(curl, CURLOPT_MAIL_RCPT, recipients);
  curl_easy_setopt(curl, CURLOPT_READFUNCTION, ReadChunk);
  curl_easy_setopt(curl, CURLOPT_READDATA, &upload);
  curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, error);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 20L);
  curl_easy_setopt(curl, CURLOPT_TIMEOUT, 120L);
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  if (smtp.security == SmtpSecurity::StartTls) curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
  if (!smtp.user.empty()) {
    curl_easy_setopt(curl, CURLOPT_USERNAME, smtp.user.c_str());
    curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
  }

  const CURLcode code = curl_easy_perform(curl);
  SendResult result;
  result.ok = code == CURLE_OK;
  if (!result.ok) result.error = error[0] != '\0' ? error : curl_easy_strerror(code);
  curl_slist_free_all(recipients);
  curl_easy_cleanup(curl);
  return result;
}

}  // namespace paylark::mail
