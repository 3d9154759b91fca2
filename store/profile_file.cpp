#include "store/profile_file.h"

#include <cerrno>
#include <charconv>
#include <stdexcept>
#include <system_error>

#include "store/atomic_file.h"
#include "store/sjis.h"

namespace paylark {
namespace {

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string RemoveEnclosingQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// One line of the file: its bytes as found (with the line end) and what it means.
struct Line {
  enum class Kind { Other, Section, Key };
  std::string raw;      // code page 932 bytes including "\r\n" or "\n" (none on a last line)
  Kind kind = Kind::Other;
  std::string name;     // section or key name, UTF-8, trimmed
  std::string value;    // key lines: the value, UTF-8, trimmed, quotes still on

  bool HasLineEnd() const { return !raw.empty() && raw.back() == '\n'; }
};

Line ParseLine(std::string raw) {
  Line line;
  std::string_view body = raw;
  if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
  if (!body.empty() && body.back() == '\r') body.remove_suffix(1);
  // Decoding first keeps the structure characters apart from double-byte characters: in code
  // page 932 a trail byte may be ']' or '[', in UTF-8 no byte of a multi-byte character is ASCII.
  const std::string text = FromSjis(body);
  std::string_view t = TrimBlanks(text);
  if (!t.empty() && t.front() == '[') {
    std::size_t close = t.find(']');
    if (close != std::string_view::npos) {
      line.kind = Line::Kind::Section;
      line.name = std::string(TrimBlanks(t.substr(1, close - 1)));
    }
  } else if (!t.empty() && t.front() != ';') {
    std::size_t eq = t.find('=');
    if (eq != std::string_view::npos) {
      std::string_view key = TrimBlanks(t.substr(0, eq));
      if (!key.empty()) {
        line.kind = Line::Kind::Key;
        line.name = std::string(key);
        line.value = std::string(TrimBlanks(t.substr(eq + 1)));
      }
    }
  }
  line.raw = std::move(raw);
  return line;
}

// The file as lines, for lookup and for a change that keeps every other line as it was.
class Document {
 public:
  explicit Document(const std::string& bytes) {
    std::size_t start = 0;
    while (start < bytes.size()) {
      std::size_t nl = bytes.find('\n', start);
      std::size_t end = nl == std::string::npos ? bytes.size() : nl + 1;
      lines_.push_back(ParseLine(bytes.substr(start, end - start)));
      start = end;
    }
    // The file's own line end, taken from its first line; CRLF for a new file.
    for (const Line& line : lines_) {
      if (line.HasLineEnd()) {
        eol_ = (line.raw.size() >= 2 && line.raw[line.raw.size() - 2] == '\r') ? "\r\n" : "\n";
        break;
      }
    }
  }

  static Document Load(const std::filesystem::path& path) {
    try {
      return Document(ReadWholeFile(path));
    } catch (const std::system_error& e) {
      if (e.code() == std::errc::no_such_file_or_directory || e.code() == std::errc::not_a_directory) {
        return Document(std::string());
      }
      throw;
    }
  }

  // Index of the first header of the section, or npos.
  std::size_t FindSection(std::string_view section) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      if (lines_[i].kind == Line::Kind::Section && EqualsIgnoringAsciiCase(lines_[i].name, section)) return i;
    }
    return npos;
  }

  // One past the last line of the section that starts at header.
  std::size_t SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Line::Kind::Section) ++i;
    return i;
  }

  std::vector<std::pair<std::string, std::string>> SectionEntries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> out;
    std::size_t header = FindSection(section);
    if (header == npos) return out;
    for (std::size_t i = header + 1, end = SectionEnd(header); i < end; ++i) {
      if (lines_[i].kind == Line::Kind::Key) out.emplace_back(lines_[i].name, RemoveEnclosingQuotes(lines_[i].value));
    }
    return out;
  }

  // section and key (UTF-8) find the place; the *Sjis arguments are what is written there.
  void Set(std::string_view section, std::string_view key, const std::string& sectionSjis,
           const std::string& keySjis, const std::string& valueSjis) {
    std::string newLine = keySjis + "=" + valueSjis;
    std::size_t header = FindSection(section);
    if (header == npos) {
      EndLastLine();
      lines_.push_back(ParseLine("[" + sectionSjis + "]" + eol_));
      lines_.push_back(ParseLine(newLine + eol_));
      return;
    }
    std::size_t end = SectionEnd(header);
    for (std::size_t i = header + 1; i < end; ++i) {
      if (lines_[i].kind == Line::Kind::Key && EqualsIgnoringAsciiCase(lines_[i].name, key)) {
        // The changed line keeps its own line end (none when it is the last line).
        const std::string& raw = lines_[i].raw;
        std::string ending = raw.ends_with("\r\n") ? "\r\n" : raw.ends_with("\n") ? "\n" : "";
        lines_[i] = ParseLine(newLine + ending);
        return;
      }
    }
    // A new key goes after the section's last non-blank line, so blank lines before the next
    // section stay where they are.
    std::size_t after = header;
    for (std::size_t i = header + 1; i < end; ++i) {
      if (!TrimBlanks(Body(lines_[i])).empty()) after = i;
    }
    if (!lines_[after].HasLineEnd()) lines_[after].raw += eol_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(after + 1), ParseLine(newLine + eol_));
  }

  std::string Bytes() const {
    std::string out;
    for (const Line& line : lines_) out += line.raw;
    return out;
  }

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

 private:
  static std::string_view Body(const Line& line) {
    std::string_view body = line.raw;
    while (!body.empty() && (body.back() == '\n' || body.back() == '\r')) body.remove_suffix(1);
    return body;
  }

  void EndLastLine() {
    if (!lines_.empty() && !lines_.back().HasLineEnd()) lines_.back().raw += eol_;
  }

  std::vector<Line> lines_;
  std::string eol_ = "\r\n";
};

void CheckName(std::string_view name, const char* what, char forbidden) {
  if (TrimBlanks(name).empty() || name.find_first_of("\r\n") != std::string_view::npos ||
      name.find(forbidden) != std::string_view::npos || TrimBlanks(name) != name) {
    throw std::invalid_argument(std::string("invalid settings ") + what + " name: " + std::string(name));
  }
}

struct EncodedEntry {
  const ProfileBatch::Entry* entry;
  std::string section, key, value;
};

}  // namespace

std::optional<int> ParseProfileInt(std::string_view text) {
  const std::string_view value = TrimBlanks(text);
  std::string_view digits = value;
  if (digits.starts_with('+')) digits.remove_prefix(1);
  if (digits.empty() || digits.front() == '+' || (digits.front() == '-' && value.front() == '+')) {
    return std::nullopt;
  }
  int result = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), result);
  if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return result;
}

std::optional<std::string> ProfileSection::Find(std::string_view key) const {
  for (const auto& [name, value] : entries_) {
    if (EqualsIgnoringAsciiCase(name, key)) return value;
  }
  return std::nullopt;
}

std::string ProfileSection::Text(std::string_view key, std::string_view def) const {
  std::optional<std::string> value = Find(key);
  return value ? *value : std::string(def);
}

int ProfileSection::Int(std::string_view key, int def) const {
  std::optional<std::string> value = Find(key);
  if (!value) return def;
  return ParseProfileInt(*value).value_or(def);
}

bool ProfileSection::Flag(std::string_view key, bool def) const { return Int(key, def ? 1 : 0) != 0; }

void ProfileBatch::Text(std::string_view section, std::string_view key, std::string_view value) {
  entries_.push_back({std::string(section), std::string(key), std::string(value)});
}

void ProfileBatch::Quoted(std::string_view section, std::string_view key, std::string_view value) {
  std::string quoted;
  quoted.reserve(value.size() + 2);
  quoted.push_back('"');
  quoted.append(value);
  quoted.push_back('"');
  Text(section, key, quoted);
}

void ProfileBatch::Int(std::string_view section, std::string_view key, int value) {
  Text(section, key, std::to_string(value));
}

void ProfileBatch::Flag(std::string_view section, std::string_view key, bool value) {
  Text(section, key, value ? "1" : "0");
}

ProfileSection ProfileFile::ReadSection(std::string_view section) const {
  return ProfileSection(Document::Load(path_).SectionEntries(section));
}

std::string ProfileFile::ReadText(std::string_view section, std::string_view key, std::string_view def) const {
  return ReadSection(section).Text(key, def);
}

int ProfileFile::ReadInt(std::string_view section, std::string_view key, int def) const {
  return ReadSection(section).Int(key, def);
}

bool ProfileFile::ReadFlag(std::string_view section, std::string_view key, bool def) const {
  return ReadSection(section).Flag(key, def);
}

void ProfileFile::WriteText(std::string_view section, std::string_view key, std::string_view value) {
  ProfileBatch batch;
  batch.Text(section, key, value);
  Write(batch);
}

void ProfileFile::WriteQuoted(std::string_view section, std::string_view key, std::string_view value) {
  ProfileBatch batch;
  batch.Quoted(section, key, value);
  Write(batch);
}

void ProfileFile::WriteInt(std::string_view section, std::string_view key, int value) {
  ProfileBatch batch;
  batch.Int(section, key, value);
  Write(batch);
}

void ProfileFile::WriteFlag(std::string_view section, std::string_view key, bool value) {
  ProfileBatch batch;
  batch.Flag(section, key, value);
  Write(batch);
}

void ProfileFile::Write(const ProfileBatch& batch) {
  // Everything is checked and encoded before the file is touched.
  std::vector<EncodedEntry> encoded;
  encoded.reserve(batch.Entries().size());
  for (const ProfileBatch::Entry& entry : batch.Entries()) {
    CheckName(entry.section, "section", ']');
    CheckName(entry.key, "key", '=');
    if (entry.key.front() == '[' || entry.key.front() == ';') {
      throw std::invalid_argument("invalid settings key name: " + entry.key);
    }
    if (entry.value.find_first_of("\r\n") != std::string::npos) {
      throw EncodingError("a settings value cannot hold a line break: " + entry.section + "/" + entry.key);
    }
    encoded.push_back({&entry, ToSjis(entry.section), ToSjis(entry.key), ToSjis(entry.value)});
  }
  if (encoded.empty()) return;
  Document document = Document::Load(path_);
  for (const EncodedEntry& e : encoded) {
    document.Set(e.entry->section, e.entry->key, e.section, e.key, e.value);
  }
  ReplaceFileContents(path_, document.Bytes());
}

}  // namespace paylark
