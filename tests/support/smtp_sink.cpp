#include "support/smtp_sink.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

extern char** environ;

namespace paylark::testing {

namespace {

std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

SmtpSink::SmtpSink(const std::filesystem::path& folder) : folder_(folder) {
  int toChild[2];
  int fromChild[2];
  if (pipe(toChild) != 0) return;
  if (pipe(fromChild) != 0) {
    close(toChild[0]);
    close(toChild[1]);
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
  posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
  posix_spawn_file_actions_addclose(&actions, toChild[1]);
  posix_spawn_file_actions_addclose(&actions, fromChild[0]);
  std::string script = std::string(PAYLARK_TEST_SUPPORT_DIR) + "/smtp_sink.py";
  // Debian's python3-aiosmtpd belongs to the system interpreter, which may not be first on PATH.
  std::string python = std::filesystem::exists("/usr/bin/python3") ? "/usr/bin/python3" : "python3";
  std::string dir = folder.string();
  char* argv[] = {python.data(), script.data(), dir.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawnp(&pid, python.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(toChild[0]);
  close(fromChild[1]);
  if (spawned != 0) {
    close(toChild[1]);
    close(fromChild[0]);
    return;
  }
  pid_ = pid;
  stdinFd_ = toChild[1];
  std::string line;
  char c = 0;
  while (read(fromChild[0], &c, 1) == 1 && c != '\n') line += c;
  close(fromChild[0]);
  port_ = line.empty() ? 0 : std::stoi(line);
}

SmtpSink::~SmtpSink() {
  if (stdinFd_ >= 0) close(stdinFd_);
  if (pid_ > 0) {
    int status = 0;
    // The server ends when its stdin closes; a stuck one is stopped after two seconds.
    for (int i = 0; i < 200 && waitpid(pid_, &status, WNOHANG) == 0; ++i) usleep(10000);
    if (waitpid(pid_, &status, WNOHANG) == 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
    }
  }
}

std::vector<ReceivedMail> SmtpSink::Received() const {
  std::vector<ReceivedMail> mails;
  for (int k = 1; std::filesystem::exists(folder_ / (std::to_string(k) + ".to")); ++k) {
    const std::string base = std::to_string(k);
    ReceivedMail m;
    m.to = ReadText(folder_ / (base + ".to"));
    m.subject = ReadText(folder_ / (base + ".subject"));
    m.body = ReadText(folder_ / (base + ".body"));
    m.attachmentName = ReadText(folder_ / (base + ".name"));
    m.attachment = ReadText(folder_ / (base + ".jpg"));
    mails.push_back(std::move(m));
  }
  return mails;
}

}  // namespace paylark::testing
