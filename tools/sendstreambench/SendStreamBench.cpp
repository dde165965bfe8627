// send-stream-bench [KILOBYTES]: sends a job file of about KILOBYTES (256 by default)
// through the send session to a pseudo-terminal whose other end is drained as fast as it
// comes, once in token pieces (a plain serial port) and once in 511-byte pieces (the
// cutter's USB-serial port). Prints the processor time the streaming thread used per
// kilobyte, against the 267 ms a kilobyte takes on a 38400-baud line (3840 bytes a second).
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "cutter/Cutter.h"
#include "cutter/SendSession.h"
#include "pipeline/PlotJob.h"

namespace {

double ThreadSeconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec + now.tv_nsec / 1e9;
}

// A zigzag (no two strokes in line, so none is simplified away) of about `bytes` bytes of
// commands once encoded.
void WriteExchangeFile(const std::string& path, long bytes) {
  std::ofstream out(path);
  out << "IN;SP1;PU0,0;";
  for (long i = 0; i * 12 < bytes; ++i) out << "PD" << (i % 2 ? 4000 : 100) << "," << (i % 4000) << ";";
  out << "SP0;";
}

void Run(const char* label, const char* model, const std::string& device, const std::string& exchangeFile,
         const std::string& jobFile, const char* usbSerialPort) {
  CPlotJob job;
  job.LoadJob(exchangeFile.c_str());
  CSendSession session;
  const int index = FindModel(model);
  if (index < 0 || session.Open(ModelTable[index], device, usbSerialPort) != SEND_DONE ||
      session.WriteJobFile(job, jobFile, OffsetOptions()) != SEND_DONE) {
    fprintf(stderr, "send-stream-bench: cannot open %s for %s\n", device.c_str(), model);
    return;
  }
  const double cpuBefore = ThreadSeconds();
  const auto start = std::chrono::steady_clock::now();
  const SendOutcome outcome = session.Stream([](int) {});
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  const double cpu = ThreadSeconds() - cpuBefore;
  const double kilobytes = std::filesystem::file_size(jobFile) / 1024.0;
  const double lineSeconds = kilobytes * 1024 / 3840;
  printf("%s: %.0f KB in %.2f s wall; streaming thread %.1f us CPU per KB (%.3f%% of the line's %.0f ms per KB)%s\n",
         label, kilobytes, wall.count(), cpu / kilobytes * 1e6, cpu / lineSeconds * 100, 1024.0 / 3840 * 1000,
         outcome == SEND_DONE ? "" : " [send failed]");
}

}  // namespace

int main(int argc, char** argv) {
  const long kilobytes = argc > 1 ? atol(argv[1]) : 256;
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    perror("send-stream-bench: pseudo-terminal");
    return 1;
  }
  const std::string device = ptsname(master);
  // Held open so that the terminal outlives each send's close of its serial end.
  const int serialEnd = open(device.c_str(), O_RDWR | O_NOCTTY);
  std::atomic<bool> done{false};
  std::thread drain([&] {
    char buffer[65536];
    while (!done) {
      pollfd wait = {master, POLLIN, 0};
      if (poll(&wait, 1, 50) > 0 && read(master, buffer, sizeof buffer) < 0) break;
    }
  });
  const std::filesystem::path dir = std::filesystem::temp_directory_path();
  const std::string exchangeFile = (dir / ("send-stream-bench-" + std::to_string(getpid()) + ".plt")).string();
  const std::string jobFile = (dir / ("send-stream-bench-" + std::to_string(getpid()) + ".hb")).string();
  WriteExchangeFile(exchangeFile, kilobytes * 1024);
  // A serial HPGL model sends token by token; Plover on its own USB-serial port in big pieces.
  Run("token pieces (serial port)", "Egret-Series", device, exchangeFile, jobFile, "");
  Run("511-byte pieces (USB-serial port)", "Plover", device, exchangeFile, jobFile, device.c_str());
  done = true;
  drain.join();
  close(serialEnd);
  std::filesystem::remove(exchangeFile);
  std::filesystem::remove(jobFile);
  return 0;
}
