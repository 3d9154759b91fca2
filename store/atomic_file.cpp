#include "store/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace paylark {
namespace {

[[noreturn]] void Fail(int err, const std::filesystem::path& path, const char* step) {
  throw std::system_error(err, std::generic_category(), std::string(step) + " " + path.string());
}

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int Get() const { return fd_; }
  int Release() {
    int f = fd_;
    fd_ = -1;
    return f;
  }

 private:
  int fd_;
};

}  // namespace

void ReplaceFileContents(const std::filesystem::path& path, std::string_view contents) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  std::string name(1, '.');
  name.append(path.filename().string());
  name.append(".tmp-XXXXXX");
  std::string pattern = (folder / name).string();
  int raw = ::mkstemp(pattern.data());
  if (raw < 0) Fail(errno, path, "create temporary file for");
  Fd fd(raw);
  const std::filesystem::path temp = pattern;
  auto cleanup = [&](int err, const char* step) {
    ::close(fd.Release());
    ::unlink(temp.c_str());
    Fail(err, path, step);
  };

  // Keep the permission bits of the file being replaced (mkstemp creates 0600).
  struct stat st {};
  mode_t mode = 0644;
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
  if (::fchmod(fd.Get(), mode) != 0) cleanup(errno, "set mode of");

  const char* p = contents.data();
  std::size_t left = contents.size();
  while (left > 0) {
    ssize_t n = ::write(fd.Get(), p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      cleanup(errno, "write");
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fsync(fd.Get()) != 0) cleanup(errno, "flush");
  if (::close(fd.Release()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    Fail(err, path, "close");
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    int err = errno;
    ::unlink(temp.c_str());
    Fail(err, path, "replace");
  }
  // Make the rename itself durable.
  int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

std::string ReadWholeFile(const std::filesystem::path& path) {
  Fd fd(::open(path.c_str(), O_RDONLY));
  if (fd.Get() < 0) Fail(errno, path, "open");
  std::string out;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      Fail(errno, path, "read");
    }
    if (n == 0) break;
    out.append(buffer, static_cast<std::size_t>(n));
  }
  return out;
}

}  // namespace paylark
