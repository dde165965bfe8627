// A write that fails half way, as on a full disk or over a quota: the case runs in a child
// process whose files may not grow past a size, so a write past it fails with EFBIG.
// POSIX only.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <functional>

// Runs `action` in a child whose files may not grow past `limit` bytes and returns its
// result (0 to 255); -1 when the child did not report.
inline int RunUnderSizeLimit(rlim_t limit, const std::function<int()>& action) {
  const pid_t child = fork();
  if (child == 0) {
    signal(SIGXFSZ, SIG_IGN);  // the write fails with EFBIG instead of ending the process
    const rlimit cap = {limit, limit};
    setrlimit(RLIMIT_FSIZE, &cap);
    _exit(action() & 0xFF);
  }
  int status = 0;
  if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}
