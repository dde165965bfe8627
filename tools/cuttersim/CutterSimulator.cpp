// cutter-sim: a cutter on a pseudo-terminal, for tests and for trying Plotgate without a
// cutter. It prints the device path of its serial end on the first line of standard
// output, records every byte it receives to a file, and exits 0 once the job's terminator
// ("SP0;@" in HPGL, "@ " in DM/PL) has arrived, or 1 after the time-out. With --rate it
// takes no more than that many bytes a second, as a line of that speed would (38400 baud
// carries 3840), so that a sender is held back once the terminal's buffer is full. With
// --stall-after it stops reading after that many bytes, as a cutter whose buffer is full
// and that holds the line back for good.
//
//   cutter-sim --record received.hb [--timeout 30] [--rate BYTES_PER_SECOND] [--stall-after BYTES]
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

bool EndsWith(const std::string& text, const char* tail) {
  const size_t n = strlen(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

int Usage() {
  fprintf(stderr,
          "usage: cutter-sim --record FILE [--timeout SECONDS] [--rate BYTES_PER_SECOND] [--stall-after BYTES]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  const char* recordPath = nullptr;
  int timeoutSeconds = 30;
  long rate = 0;         // bytes a second; 0: as fast as they come
  long stallAfter = -1;  // bytes read before reading stops; -1: never stops
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "--record") == 0 && i + 1 < argc) {
      recordPath = argv[++i];
    } else if (strcmp(argv[i], "--timeout") == 0 && i + 1 < argc) {
      timeoutSeconds = atoi(argv[++i]);
    } else if (strcmp(argv[i], "--rate") == 0 && i + 1 < argc) {
      rate = atol(argv[++i]);
      if (rate <= 0) return Usage();
    } else if (strcmp(argv[i], "--stall-after") == 0 && i + 1 < argc) {
      stallAfter = atol(argv[++i]);
      if (stallAfter < 0) return Usage();
    } else {
      return Usage();
    }
  }
  if (!recordPath || timeoutSeconds <= 0) return Usage();

  FILE* record = fopen(recordPath, "wb");
  if (!record) {
    fprintf(stderr, "cutter-sim: cannot write %s: %s\n", recordPath, strerror(errno));
    return 1;
  }
  const int master = posix_openpt(O_RDWR | O_NOCTTY);
  if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
    fprintf(stderr, "cutter-sim: cannot create a pseudo-terminal: %s\n", strerror(errno));
    return 1;
  }
  const std::string device = ptsname(master);
  // Holding the serial end open keeps the terminal alive between clients; raw so that
  // nothing is translated even before a client sets the line up.
  const int serialEnd = open(device.c_str(), O_RDWR | O_NOCTTY);
  termios tio;
  if (serialEnd >= 0 && tcgetattr(serialEnd, &tio) == 0) {
    cfmakeraw(&tio);
    tcsetattr(serialEnd, TCSANOW, &tio);
  }
  printf("%s\n", device.c_str());
  fflush(stdout);

  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  std::string tail;
  long taken = 0;
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    if (stallAfter >= 0 && taken >= stallAfter) {
      std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(100)));
      continue;
    }
    pollfd wait = {master, POLLIN, 0};
    if (poll(&wait, 1, static_cast<int>(left.count())) <= 0) continue;
    char buffer[4096];
    // At a limited rate: pieces of a twentieth of a second's worth, each followed by its
    // time on the line.
    size_t room = rate > 0 && rate / 20 < static_cast<long>(sizeof buffer) ? rate / 20 + 1 : sizeof buffer;
    if (stallAfter >= 0 && stallAfter - taken < static_cast<long>(room)) room = stallAfter - taken;
    const ssize_t n = read(master, buffer, room);
    if (n <= 0) continue;
    taken += n;
    if (rate > 0) std::this_thread::sleep_for(std::chrono::microseconds(n * 1000000 / rate));
    fwrite(buffer, 1, n, record);
    fflush(record);
    tail.append(buffer, n);
    if (EndsWith(tail, "SP0;@") || EndsWith(tail, "@ ")) {
      fclose(record);
      return 0;
    }
    if (tail.size() > 16) tail.erase(0, tail.size() - 16);
  }
  fclose(record);
  fprintf(stderr, "cutter-sim: no job terminator within %d s\n", timeoutSeconds);
  return 1;
}
