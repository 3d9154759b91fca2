// What the fuzz targets share: a private scratch folder per process, whole-file writes and reads,
// and the check that turns a broken property into a finding (an abort libFuzzer reports with the
// input that caused it).
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

namespace paylark::fuzz {

// A property of the code under test did not hold: report it and abort.
[[noreturn]] inline void Finding(const char* what) {
  std::fprintf(stderr, "PROPERTY BROKEN: %s\n", what);
  std::abort();
}

inline void Require(bool holds, const char* what) {
  if (!holds) Finding(what);
}

// A folder of this process under $TMPDIR (or /tmp), removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/paylark-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) Finding("cannot create the scratch folder");
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  std::filesystem::path operator/(const std::filesystem::path& name) const { return path_ / name; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) Finding("cannot write the scratch file");
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace paylark::fuzz
