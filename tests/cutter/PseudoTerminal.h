// A real pseudo-terminal pair for serial tests: the test plays the cutter on the master
// side; the port under test opens the serial end by its path.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "cutter/RS232.h"

class PseudoTerminal {
 public:
  PseudoTerminal() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) m_path = ptsname(m_master);
    // Held open so the terminal lives on between the clients under test.
    if (!m_path.empty()) m_serialEnd = open(m_path.c_str(), O_RDWR | O_NOCTTY);
  }
  ~PseudoTerminal() { Hangup(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& Path() const { return m_path; }
  // The cutter goes away: both ends the test holds are closed, and every later write to
  // the serial end fails as a hung-up line does (EIO).
  void Hangup() {
    if (m_serialEnd >= 0) close(m_serialEnd);
    if (m_master >= 0) close(m_master);
    m_serialEnd = -1;
    m_master = -1;
  }
  int Master() const { return m_master; }

  // What the cutter received: reads until `count` bytes have come or nothing more arrives
  // for two seconds.
  std::string Receive(size_t count) const { return ReceiveWithin(count, 2000); }
  // What has arrived already, without waiting.
  std::string Arrived() const { return ReceiveWithin(4096, 0); }

 private:
  std::string ReceiveWithin(size_t count, int milliseconds) const {
    std::string bytes;
    while (bytes.size() < count) {
      pollfd wait = {m_master, POLLIN, 0};
      if (poll(&wait, 1, milliseconds) <= 0) break;
      char buffer[4096];
      const ssize_t n = read(m_master, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, n);
    }
    return bytes;
  }

  int m_master = -1;
  int m_serialEnd = -1;
  std::string m_path;
};

// True when nothing holds `device` any more: another port object can open it.
inline bool NobodyHolds(const std::string& device) {
  CRS232 other;
  other.m_sDevice = device;
  return other.Open() == 1;
}
