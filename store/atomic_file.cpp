#include "store/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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

// The temporary file beside `path`, filled by `fill` and renamed over `path`.
template <typename Fill>
void ReplaceFile(const std::filesystem::path& path, Fill fill) {
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

  if (const auto [err, step] = fill(fd.Get()); err != 0) cleanup(err, step);
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

struct StepError {
  int err = 0;
  const char* step = nullptr;
};

// Writes all of `bytes` at `offset`; the errno on failure.
int WriteAt(int fd, std::string_view bytes, off_t offset) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::pwrite(fd, p, left, offset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += n;
    offset += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

// Copies `size` bytes of `in` to the start of `out`: in the kernel where the file system can,
// else through a buffer.
StepError CopyFile(int in, int out, std::uint64_t size) {
  off_t inOffset = 0;
  off_t outOffset = 0;
  bool kernelCopy = true;
  char buffer[65536];
  while (static_cast<std::uint64_t>(inOffset) < size) {
    const std::size_t want = static_cast<std::size_t>(size - static_cast<std::uint64_t>(inOffset));
    if (kernelCopy) {
      ssize_t n = ::copy_file_range(in, &inOffset, out, &outOffset, want, 0);
      if (n > 0) continue;
      if (n == 0) break;  // the file became shorter
      if (errno == EINTR) continue;
      if (errno != EXDEV && errno != ENOSYS && errno != EINVAL && errno != EOPNOTSUPP) return {errno, "copy"};
      kernelCopy = false;
    }
    ssize_t n = ::pread(in, buffer, std::min(want, sizeof buffer), inOffset);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {errno, "read"};
    }
    if (n == 0) break;
    if (int err = WriteAt(out, std::string_view(buffer, static_cast<std::size_t>(n)), outOffset)) return {err, "write"};
    inOffset += n;
    outOffset += n;
  }
  return {};
}

}  // namespace

void ReplaceFileContents(const std::filesystem::path& path, std::string_view contents) {
  ReplaceFile(path, [contents](int fd) -> StepError {
    if (int err = WriteAt(fd, contents, 0)) return {err, "write"};
    return {};
  });
}

void ReplaceFilePatched(const std::filesystem::path& path, std::uint64_t needed, std::uint64_t extendTo,
                        std::initializer_list<FilePatch> patches) {
  Fd original(::open(path.c_str(), O_RDONLY));
  if (original.Get() < 0) Fail(errno, path, "open");
  struct stat st {};
  if (::fstat(original.Get(), &st) != 0) Fail(errno, path, "read");
  const auto size = static_cast<std::uint64_t>(st.st_size);
  ReplaceFile(path, [&](int fd) -> StepError {
    if (const StepError e = CopyFile(original.Get(), fd, size); e.err != 0) return e;
    if (size < needed && size < extendTo && ::ftruncate(fd, static_cast<off_t>(extendTo)) != 0) {
      return {errno, "write"};
    }
    for (const FilePatch& patch : patches) {
      if (int err = WriteAt(fd, patch.bytes, static_cast<off_t>(patch.offset))) return {err, "write"};
    }
    return {};
  });
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
