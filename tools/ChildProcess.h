// Runs a program as a child process and measures it, for the benchmarks that time whole
// `plotgate` runs. POSIX calls: the benchmarks that include it are built on Linux only.
#pragma once

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

struct ProcessCost {
  double cpuMs;
  double peakMiB;
};

// Runs the program with `args` and measures its user plus system time and peak resident
// memory; ends this process, after a message, when the program fails.
inline ProcessCost RunProcess(const std::vector<std::string>& args) {
  std::vector<char*> argv;
  for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  wait4(child, &status, 0, &usage);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    fprintf(stderr, "%s failed\n", argv[0]);
    exit(1);
  }
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ProcessCost{ms(usage.ru_utime) + ms(usage.ru_stime), usage.ru_maxrss / 1024.0};
}
