// One serial port: validated settings, an exclusive open in binary mode with hardware
// flow control, and plain writes and reads. Results: Open gives 1 or 0; Write and Read
// give the byte count, -1 when the system call fails, 0 for a null buffer. A failed system
// call leaves its error number with the port (LastError), so the reason can be told later
// and on another thread, whatever the system has done since.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

// What one modem-status query says about the clear-to-send line.
enum ModemLines {
  MODEM_CTS_ON,
  MODEM_CTS_OFF,
  MODEM_STATUS_UNKNOWN,  // the port cannot report its lines (pseudo-terminals, some adapters)
};

// The modem input lines, each true while the line is on.
struct ModemLineStates {
  bool cts = false;  // clear to send
  bool dsr = false;  // data set ready
  bool dcd = false;  // data carrier detect
};

class CRS232 {
 public:
  CRS232() = default;
  CRS232(const CRS232&) = delete;
  CRS232& operator=(const CRS232&) = delete;
  // Closes the port if it is still open.
  virtual ~CRS232();

  // Opens the port named by m_sDevice, or else COM port m_nPort, and applies the settings.
  // Returns 1 when open and configured; 0 when a setting is out of range (nothing is
  // opened), the device cannot be opened exclusively, or it refuses the settings (then the
  // port stays open until Close or destruction).
  int Open();
  // One write of the whole buffer: bytes written, -1 on failure, 0 for a null buffer. A
  // write the line holds back ends when m_pCancel is set, with the bytes written so far.
  int Write(const void* buffer, int count);
  // A write that gives up after `milliseconds`, for bytes that must not hold the caller up
  // on a line that takes nothing (a cancelled job's ending): the bytes written, fewer than
  // `count` when the time ran out; -1 on failure, 0 for a null buffer.
  int WriteWithin(const void* buffer, int count, int milliseconds);
  // Bytes read (at least one byte is waited for), -1 on failure, 0 for a null buffer.
  // With m_bEcho every byte read is written straight back.
  int Read(void* buffer, int count);
  // The device Open opens: m_sDevice when set, else the numbered port's ("\\.\COM3" on
  // Windows, /dev/ttyS2 for COM3 on Linux).
  std::string DeviceName() const;
  // Closes the port; nothing happens when it is not open.
  void Close();
  // For a send being stopped, from any thread: ends a write that the line holds back
  // (which then fails) and drops the bytes written but not yet sent, so the cutter gets no
  // more; nothing happens when the port is not open.
  void AbortOutput();
  // Why the last failed Open, Write or Read failed: the system's error number (errno, or
  // GetLastError on Windows) of the call that failed, kept from the moment it failed. 0
  // when that failure was no system call's (settings out of range, a port not open) or
  // nothing has failed since Open began. Calls that succeed leave it as it is.
  int LastError() const { return m_nError; }

  // Waits until the clear-to-send line is on. A port that cannot report its lines counts as
  // clear. Returns false only when `cancel` is set first.
  bool WaitClearToSend(const std::atomic<bool>& cancel);
  // Reads the CTS, DSR and DCD lines into `lines`. False, with `lines` untouched, when the
  // port is not open or cannot report them (a pseudo-terminal, some USB adapters).
  bool ReadModemLines(ModemLineStates& lines) const;
  // Waits until the port has put every byte it holds on the line, for at most
  // `milliseconds`. True when nothing is left to send, or when the port cannot say how much
  // is left; false when bytes remain (a line held back by CTS) or the port is not open.
  bool DrainWithin(int milliseconds);
  // Replaces the port's own modem-status query (for tests); an empty function restores it.
  void SetModemStatusSource(std::function<ModemLines()> source) { m_modemStatus = std::move(source); }

  int m_bOpen = 0;  // 1 while the port is open
  int m_nPort = 1;  // COM port number, 1..999
  int m_nBaudRate = 38400;
  int m_nByteSize = 8;       // 5..9
  int m_nParity = 0;         // 0 none, 1 odd, 2 even
  float m_fStopBits = 1.0f;  // 1.0, 1.5 or 2.0
  int m_nFlowControl = 1;    // 0 none, 1 CTS, 2 DSR, 3 CTS and DSR
  bool m_bEcho = false;
  // The device to open instead of the numbered COM port: a device path on Linux (where
  // COMn stands for /dev/ttyS(n-1)), or a full device name on Windows. Empty by default.
  std::string m_sDevice;
  int m_nQueueSize = 4096;  // input and output queue sizes requested from the driver
  // The send's cancel flag, looked at while a Write waits for the line to take its bytes;
  // null for none.
  const std::atomic<bool>* m_pCancel = nullptr;

 private:
  bool SettingsValid() const;
  // Platform parts. OpenDevice is steps from the device name on, after validation.
  int OpenDevice();
  int WriteDevice(const void* buffer, int count);
  int WriteDeviceWithin(const void* buffer, int count, int milliseconds);
  int ReadDevice(void* buffer, int count);
  void CloseDevice();
  void AbortDeviceOutput();
  bool ReadDeviceModemLines(ModemLineStates& lines) const;
  // The bytes the port holds unsent; -1 when it cannot tell.
  int DeviceOutputPending() const;
  ModemLines QueryModemLines() const;
  // Keeps the calling thread's last system error as the port's and returns `result`.
  int Failed(int result);
  // A read or write without an open port: -1, and no system reason.
  int NotOpen();

  intptr_t m_hComm = -1;  // HANDLE on Windows, file descriptor on Linux; -1 when closed
  std::function<ModemLines()> m_modemStatus;
  int m_nError = 0;
};
