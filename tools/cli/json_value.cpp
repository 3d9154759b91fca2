#include "tools/cli/json_value.h"

#include <cctype>

namespace paylark::cli {
namespace {

class Parser {
 public:
  explicit Parser(const std::string& text) : s_(text) {}

  JsonValue Document() {
    JsonValue v = Value(0);
    Space();
    if (pos_ != s_.size()) Fail("text after the document");
    return v;
  }

 private:
  [[noreturn]] void Fail(const std::string& why) const {
    throw JsonError("JSON at byte " + std::to_string(pos_) + ": " + why);
  }
  void Space() {
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r')) ++pos_;
  }
  bool Take(char c) {
    Space();
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Take(c)) Fail(std::string("'") + c + "' expected");
  }
  bool Word(const char* w) {
    const std::string word(w);
    if (s_.compare(pos_, word.size(), word) != 0) return false;
    pos_ += word.size();
    return true;
  }

  JsonValue Value(int depth) {
    if (depth > 32) Fail("nested too deeply");
    Space();
    if (pos_ >= s_.size()) Fail("a value expected");
    JsonValue v;
    const char c = s_[pos_];
    if (c == '{') {
      ++pos_;
      v.kind = JsonValue::Kind::Object;
      if (Take('}')) return v;
      do {
        Space();
        if (pos_ >= s_.size() || s_[pos_] != '"') Fail("a member name expected");
        std::string name = String();
        Expect(':');
        if (!v.members.emplace(name, Value(depth + 1)).second) Fail("member given twice: " + name);
      } while (Take(','));
      Expect('}');
    } else if (c == '[') {
      ++pos_;
      v.kind = JsonValue::Kind::Array;
      if (Take(']')) return v;
      do v.items.push_back(Value(depth + 1));
      while (Take(','));
      Expect(']');
    } else if (c == '"') {
      v.kind = JsonValue::Kind::String;
      v.text = String();
    } else if (Word("true")) {
      v.kind = JsonValue::Kind::Bool;
      v.boolean = true;
    } else if (Word("false")) {
      v.kind = JsonValue::Kind::Bool;
    } else if (Word("null")) {
      v.kind = JsonValue::Kind::Null;
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      v.kind = JsonValue::Kind::Integer;
      v.integer = Integer();
    } else {
      Fail("a value expected");
    }
    return v;
  }

  std::int64_t Integer() {
    const bool negative = s_[pos_] == '-';
    if (negative) ++pos_;
    if (pos_ >= s_.size() || !std::isdigit(static_cast<unsigned char>(s_[pos_]))) Fail("a digit expected");
    std::int64_t v = 0;
    while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
      if (v > 100'000'000'000LL) Fail("number too large");
      v = v * 10 + (s_[pos_++] - '0');
    }
    if (pos_ < s_.size() && (s_[pos_] == '.' || s_[pos_] == 'e' || s_[pos_] == 'E'))
      Fail("only whole numbers are accepted");
    return negative ? -v : v;
  }

  unsigned Hex4() {
    if (pos_ + 4 > s_.size()) Fail("\\u needs four hex digits");
    unsigned v = 0;
    for (int i = 0; i < 4; ++i) {
      const char h = s_[pos_++];
      v <<= 4;
      if (h >= '0' && h <= '9') v |= h - '0';
      else if (h >= 'a' && h <= 'f') v |= h - 'a' + 10;
      else if (h >= 'A' && h <= 'F') v |= h - 'A' + 10;
      else Fail("\\u needs four hex digits");
    }
    return v;
  }

  static void PutUtf8(std::string& out, unsigned cp) {
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }

  std::string String() {
    ++pos_;  // opening quote
    std::string out;
    while (true) {
      if (pos_ >= s_.size()) Fail("unterminated string");
      const char c = s_[pos_++];
      if (c == '"') return out;
      if (static_cast<unsigned char>(c) < 0x20) Fail("control character in a string");
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= s_.size()) Fail("unterminated string");
      const char e = s_[pos_++];
      switch (e) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case '/': out += '/'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'u': {
          unsigned cp = Hex4();
          if (cp >= 0xD800 && cp < 0xDC00) {
            if (!Word("\\u")) Fail("lone surrogate");
            const unsigned low = Hex4();
            if (low < 0xDC00 || low >= 0xE000) Fail("lone surrogate");
            cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
          } else if (cp >= 0xDC00 && cp < 0xE000) {
            Fail("lone surrogate");
          }
          PutUtf8(out, cp);
          break;
        }
        default: Fail("unknown escape");
      }
    }
  }

  const std::string& s_;
  std::size_t pos_ = 0;
};

}  // namespace

JsonValue ParseJson(const std::string& text) { return Parser(text).Document(); }

}  // namespace paylark::cli
