// Root passes permission checks and exclusive opens that stop everyone else, and the
// tests run as root here: cases that depend on such a check run in a child process that
// has given up root for the unprivileged "nobody" account. POSIX only.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <functional>

// Runs `check` in a child without root rights and returns its result: 0 for success,
// another number for the first check that failed; -1 when rights could not be dropped.
inline int RunUnprivileged(const std::function<int()>& check) {
  const uid_t nobody = 65534;
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0)) _exit(100);
    _exit(check());
  }
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status)) return -2;
  return WEXITSTATUS(status) == 100 ? -1 : WEXITSTATUS(status);
}
