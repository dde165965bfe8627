// A real pseudo-terminal pair for serial tests: the test plays the cutter on the master
// side; the port under test opens the serial end by its path.
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>

class PseudoTerminal {
 public:
  PseudoTerminal() {
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master >= 0 && grantpt(m_master) == 0 && unlockpt(m_master) == 0) m_path = ptsname(m_master);
    // Held open so the terminal lives on between the clients under test.
    if (!m_path.empty()) m_serialEnd = open(m_path.c_str(), O_RDWR | O_NOCTTY);
  }
  ~PseudoTerminal() {
    if (m_serialEnd >= 0) close(m_serialEnd);
    if (m_master >= 0) close(m_master);
  }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& Path() const { return m_path; }
  int Master() const { return m_master; }

  // What the cutter received: reads until `count` bytes have come or nothing more arrives
  // for two seconds.
  std::string Receive(size_t count) const {
    std::string bytes;
    while (bytes.size() < count) {
      pollfd wait = {m_master, POLLIN, 0};
      if (poll(&wait, 1, 2000) <= 0) break;
      char buffer[4096];
      const ssize_t n = read(m_master, buffer, sizeof buffer);
      if (n <= 0) break;
      bytes.append(buffer, n);
    }
    return bytes;
  }

 private:
  int m_master = -1;
  int m_serialEnd = -1;
  std::string m_path;
};
