// cts-wait-bench [SECONDS]: a serial driver waits for clear-to-send on a modem-status
// source that holds CTS off for SECONDS (3 by default), then writes one token. Prints the
// wall time of the wait and the processor time the process used meanwhile.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "cutter/SeriesCutters.h"

namespace {

double ProcessSeconds() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
  const double holdSeconds = argc > 1 ? atof(argv[1]) : 3.0;
  CGannetSeriesCutter cutter;
  int queries = 0;
  const auto start = std::chrono::steady_clock::now();
  cutter.m_rs232.SetModemStatusSource([&] {
    ++queries;
    const std::chrono::duration<double> held = std::chrono::steady_clock::now() - start;
    return held.count() < holdSeconds ? MODEM_CTS_OFF : MODEM_CTS_ON;
  });
  const double cpuBefore = ProcessSeconds();
  // The port is not open, so the write after the wait fails; only the wait is measured.
  cutter.Write("PU0,0;", 6, 1);
  const double cpu = ProcessSeconds() - cpuBefore;
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  printf("CTS wait: %.2f s wall, %.4f s CPU (%.3f%%), %d modem-status queries\n", wall.count(), cpu,
         cpu / wall.count() * 100.0, queries);
  return 0;
}
