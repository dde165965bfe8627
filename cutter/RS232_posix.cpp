// Serial port on termios. The Windows settings map onto the tty: raw binary bytes, the
// line speed, data bits, parity and stop bits, CRTSCTS for CTS flow control, DTR and RTS
// dropped, and reads that wait for a byte without a time limit.
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

#include "cutter/PortDiscovery.h"
#include "cutter/RS232.h"

namespace {

speed_t SpeedOf(int baudRate) {
  switch (baudRate) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
  }
}

tcflag_t ByteSizeFlag(int byteSize) {
  switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    case 8: return CS8;
    default: return 0;  // nine data bits: no tty offers them
  }
}

// How often a write that the line holds back looks at its cancel flag.
const int CANCEL_LOOK_MS = 100;

// Writes `count` bytes as the line makes room for them, never blocking inside write(), so
// that a line that takes nothing (a paused cutter, a full buffer) holds the caller only
// until `milliseconds` have passed (-1: no limit) or `cancel` (when given) is set. The
// bytes written, fewer when the time ran out or the write was cancelled; -1 with errno set
// when a system call fails.
int WriteAsRoomComes(int fd, const char* bytes, int count, int milliseconds, const std::atomic<bool>* cancel) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
  int written = 0;
  while (written < count) {
    if (cancel && cancel->load()) break;
    int wait = CANCEL_LOOK_MS;
    if (milliseconds >= 0) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) break;
      if (left < wait) wait = static_cast<int>(left);
    }
    pollfd room = {fd, POLLOUT, 0};
    const int polled = poll(&room, 1, wait);
    if (polled < 0 && errno == EINTR) continue;
    if (polled < 0) return -1;
    if (polled == 0) continue;
    // Without blocking: a write takes no more than the room there is, and never waits.
    const int flags = fcntl(fd, F_GETFL);
    fcntl(fd, F_SETFL, flags | O_NONBLOCK);
    const ssize_t n = write(fd, bytes + written, count - written);
    const int error = errno;
    fcntl(fd, F_SETFL, flags);
    if (n < 0 && (error == EAGAIN || error == EINTR)) continue;
    if (n < 0) {
      errno = error;
      return -1;
    }
    written += static_cast<int>(n);
  }
  return written;
}

}  // namespace

std::string CRS232::DeviceName() const {
  if (!m_sDevice.empty()) return m_sDevice;
  return ComDeviceName(m_nPort);
}

int CRS232::OpenDevice() {
  const std::string device = DeviceName();
  // Non-blocking only while opening, so a port without carrier does not hold the open.
  const int fd = open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return Failed(0);
  // Exclusive: an advisory lock keeps out every other user of this class (root included),
  // and TIOCEXCL keeps out other programs that open the tty later. A lock held elsewhere is
  // told as what it is, a busy device, as an exclusive tty answers other programs.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EWOULDBLOCK) errno = EBUSY;
    Failed(0);
    close(fd);
    return 0;
  }
  ioctl(fd, TIOCEXCL);
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  m_hComm = fd;
  m_bOpen = 1;

  termios tio;
  if (tcgetattr(fd, &tio) != 0) return Failed(0);
  const speed_t speed = SpeedOf(m_nBaudRate);
  const tcflag_t size = ByteSizeFlag(m_nByteSize);
  // The line cannot take this speed or byte size: what the tty itself would answer.
  if (speed == B0 || size == 0) {
    errno = EINVAL;
    return Failed(0);
  }
  cfmakeraw(&tio);
  cfsetispeed(&tio, speed);
  cfsetospeed(&tio, speed);
  tio.c_cflag = (tio.c_cflag & ~CSIZE) | size | CREAD | CLOCAL;
  tio.c_cflag &= ~(PARENB | PARODD);
  if (m_nParity == 1) tio.c_cflag |= PARENB | PARODD;
  if (m_nParity == 2) tio.c_cflag |= PARENB;
  tio.c_iflag &= ~(INPCK | IGNPAR);
  // 1.5 stop bits is what a UART sends for "two" with five data bits; other values in
  // range leave the setting as it was.
  if (m_fStopBits == 1.0f) tio.c_cflag &= ~CSTOPB;
  if (m_fStopBits == 1.5f || m_fStopBits == 2.0f) tio.c_cflag |= CSTOPB;
  // Only CTS flow control exists on a tty; DSR flow control has no counterpart.
  if (m_nFlowControl == 1 || m_nFlowControl == 3) {
    tio.c_cflag |= CRTSCTS;
  } else {
    tio.c_cflag &= ~CRTSCTS;
  }
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return Failed(0);
  // DTR and RTS low; a pseudo-terminal has no such lines and refuses, which is fine.
  int lines = TIOCM_DTR | TIOCM_RTS;
  ioctl(fd, TIOCMBIC, &lines);
  return 1;
}

int CRS232::WriteDevice(const void* buffer, int count) {
  const int written =
      WriteAsRoomComes(static_cast<int>(m_hComm), static_cast<const char*>(buffer), count, -1, m_pCancel);
  return written < 0 ? Failed(-1) : written;
}

int CRS232::WriteDeviceWithin(const void* buffer, int count, int milliseconds) {
  const int written =
      WriteAsRoomComes(static_cast<int>(m_hComm), static_cast<const char*>(buffer), count, milliseconds, nullptr);
  return written < 0 ? Failed(-1) : written;
}

int CRS232::ReadDevice(void* buffer, int count) {
  for (;;) {
    const ssize_t n = read(static_cast<int>(m_hComm), buffer, count);
    if (n < 0 && errno == EINTR) continue;
    return n < 0 ? Failed(-1) : static_cast<int>(n);
  }
}

// The dropped bytes make room, so a write waiting for it returns.
void CRS232::AbortDeviceOutput() { tcflush(static_cast<int>(m_hComm), TCOFLUSH); }

void CRS232::CloseDevice() {
  // The exclusive mark belongs to the tty, not to this descriptor: lift it, or the port
  // stays closed to everyone while another descriptor (a cutter simulator) keeps it alive.
  ioctl(static_cast<int>(m_hComm), TIOCNXCL);
  close(static_cast<int>(m_hComm));
}

bool CRS232::ReadDeviceModemLines(ModemLineStates& lines) const {
  int bits = 0;
  if (ioctl(static_cast<int>(m_hComm), TIOCMGET, &bits) != 0) return false;
  lines.cts = (bits & TIOCM_CTS) != 0;
  lines.dsr = (bits & TIOCM_DSR) != 0;
  lines.dcd = (bits & TIOCM_CD) != 0;
  return true;
}

int CRS232::DeviceOutputPending() const {
  int pending = 0;
  return ioctl(static_cast<int>(m_hComm), TIOCOUTQ, &pending) == 0 ? pending : -1;
}
