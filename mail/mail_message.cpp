#include "mail/mail_message.h"

#include <ctime>
#include <cstdio>

#include "store/atomic_file.h"

namespace paylark::mail {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

bool PlainAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c < 0x20 || c >= 0x7f) return false;
  return true;
}

// Base64 cut into lines of 76 characters, each ended by CRLF.
std::string Base64Lines(std::string_view bytes) {
  const std::string all = Base64(bytes);
  std::string lines;
  for (std::size_t i = 0; i < all.size(); i += 76) lines += all.substr(i, 76) + "\r\n";
  return lines;
}

// Every line end as CRLF; a lone "\r" (the program's message line break) counts as one too.
std::string CrLf(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] == '\n') {
      out += "\r\n";
    } else {
      out += text[i];
    }
  }
  return out;
}

// Header values must not carry line breaks (a typed subject could otherwise add headers).
std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) out += (c == '\r' || c == '\n') ? ' ' : c;
  return out;
}

}  // namespace

std::string Base64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  std::size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(bytes[i]) << 16) | (static_cast<unsigned char>(bytes[i + 1]) << 8) |
                       static_cast<unsigned char>(bytes[i + 2]);
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += kAlphabet[(v >> 6) & 63];
    out += kAlphabet[v & 63];
  }
  if (i < bytes.size()) {
    unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) v |= static_cast<unsigned char>(bytes[i + 1]) << 8;
    out += kAlphabet[(v >> 18) & 63];
    out += kAlphabet[(v >> 12) & 63];
    out += i + 1 < bytes.size() ? kAlphabet[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string EncodedWord(std::string_view utf8) {
  if (PlainAscii(utf8)) return std::string(utf8);
  return "=?UTF-8?B?" + Base64(utf8) + "?=";
}

std::string ComposeMime(const MailMessage& message, const std::string& date, const std::string& boundary) {
  const std::string picture = ReadWholeFile(message.attachment);
  const std::string name = EncodedWord(message.attachment.filename().string());

  std::string m;
  if (!message.from.empty()) m += "From: " + OneLine(message.from) + "\r\n";
  m += "To: " + OneLine(message.to) + "\r\n";
  m += "Subject: " + EncodedWord(OneLine(message.subject)) + "\r\n";
  m += "Date: " + date + "\r\n";
  m += "MIME-Version: 1.0\r\n";
  m += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
  m += "--" + boundary + "\r\n";
  m += "Content-Type: text/plain; charset=UTF-8\r\nContent-Transfer-Encoding: base64\r\n\r\n";
  m += Base64Lines(CrLf(message.body));
  m += "--" + boundary + "\r\n";
  m += "Content-Type: image/jpeg; name=\"" + name + "\"\r\n";
  m += "Content-Transfer-Encoding: base64\r\n";
  m += "Content-Disposition: attachment; filename=\"" + name + "\"\r\n\r\n";
  m += Base64Lines(picture);
  m += "--" + boundary + "--\r\n";
  return m;
}

std::string MailDateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  static const char* const kDays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  char zone[8];
  std::strftime(zone, sizeof zone, "%z", &local);
  char text[64];
  std::snprintf(text, sizeof text, "%s, %02d %s %04d %02d:%02d:%02d %s", kDays[local.tm_wday], local.tm_mday,
                kMonths[local.tm_mon], local.tm_year + 1900, local.tm_hour, local.tm_min, local.tm_sec, zone);
  return text;
}

}  // namespace paylark::mail
