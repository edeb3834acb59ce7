#pragma once
// Runs a piece of a test in a child process that may change what the test
// process must not: its user (nobody), its file-size limit, its umask. The
// child's answer comes back as text through a pipe; a child that hangs is
// killed by an alarm instead of holding up the whole run.
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "platform/Files.h"

namespace testchild {

constexpr uid_t kNobody = 65534;

struct Setup {
  bool AsNobody = false;
  rlim_t FileLimit = RLIM_INFINITY;
  mode_t Umask = 022;
  unsigned AlarmSeconds = 20;
};

struct Outcome {
  bool Ran = false;       // the child became what Setup asked for
  bool Finished = false;  // and its function returned (no hang, no crash)
  std::string Answer;     // what the function returned
};

inline Outcome Run(const Setup& setup, const std::function<std::string()>& fn) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return {};
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(pipeFds[0]);
    ::alarm(setup.AlarmSeconds);
    ::umask(setup.Umask);
    char status = 'S';  // started, or 'X' could not become what was asked
    if (setup.FileLimit != RLIM_INFINITY) {
      const rlimit limit{setup.FileLimit, setup.FileLimit};
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) status = 'X';
      platform::IgnoreFileSizeSignal();
    }
    if (setup.AsNobody &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
      status = 'X';
    std::string message(1, status);
    if (status == 'S') message += fn();
    for (std::size_t done = 0; done < message.size();) {
      const ssize_t n = ::write(pipeFds[1], message.data() + done, message.size() - done);
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    ::_exit(0);
  }
  ::close(pipeFds[1]);
  std::string message;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) message.append(buffer, static_cast<std::size_t>(n));
  ::close(pipeFds[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  Outcome outcome;
  outcome.Ran = !message.empty() && message[0] == 'S';
  outcome.Finished = outcome.Ran && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  if (outcome.Ran) outcome.Answer = message.substr(1);
  return outcome;
}

}  // namespace testchild
