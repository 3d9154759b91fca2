#include "mail/mail_program.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

extern char** environ;

namespace paylark::mail {

std::filesystem::path FindMailProgramLauncher() {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path != nullptr ? path : "/usr/local/bin:/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    if (dir.empty()) continue;
    const std::filesystem::path candidate = std::filesystem::path(dir) / "xdg-email";
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

SendResult HandToMailProgram(const std::filesystem::path& launcher, const MailMessage& message) {
  if (launcher.empty()) return {false, "xdg-email is not installed"};
  if (!message.to.empty() && message.to.front() == '-') return {false, "recipient address is not usable: " + message.to};

  std::vector<std::string> args{launcher.string(), "--subject", message.subject, "--body", message.body,
                                "--attach", message.attachment.string()};
  if (!message.to.empty()) args.push_back(message.to);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, launcher.c_str(), nullptr, nullptr, argv.data(), environ);
  if (spawned != 0) return {false, std::string("cannot start xdg-email: ") + std::strerror(spawned)};
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return {false, std::string("waitpid: ") + std::strerror(errno)};
  }
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return {true, {}};
  if (WIFEXITED(status)) return {false, "xdg-email ended with status " + std::to_string(WEXITSTATUS(status))};
  return {false, "xdg-email was stopped by a signal"};
}

}  // namespace paylark::mail
