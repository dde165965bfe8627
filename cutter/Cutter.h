// The cutter drivers' common base: what the send flow asks of every driver, whatever the
// protocol. Results: nonzero (or a byte count) for success, 0 or -1 for failure.
#pragma once

#include <atomic>
#include <string>

// TransferMode: how a driver reaches the cutter.
const int MODE_VENDOR_USB = 0;  // the maker's USB library carries the data
const int MODE_USB_SERIAL = 1;  // the cutter's own USB-serial COM port: big pieces, no CTS wait
const int MODE_SERIAL = 2;      // an ordinary COM port: one token at a time, CTS before each

// The message shown when a model names no known protocol.
const char* const UNKNOWN_CUTTER_TEXT = "Unknow Cutter type!\n";

class CCutter {
 public:
  CCutter() = default;
  CCutter(const CCutter&) = delete;
  CCutter& operator=(const CCutter&) = delete;
  virtual ~CCutter() = default;

  // Makes the driver ready for `mode` on COM port `port` (or m_sDevice). Nonzero when
  // ready, 0 when the port cannot be opened, -1 for a mode the class does not serve.
  virtual int Open(int mode, int port, int baudRate);
  virtual int Close();
  // Bytes read, -1 on a read error, 0 for a null buffer or an unserved mode.
  virtual int Read(void* buffer, int count);
  // Bytes written, -1 on a write error or a cancelled wait, 0 for a null buffer or an
  // unserved mode; after a cancel, also the bytes a write the line held back had taken so
  // far. With `waitReady` the driver first waits until the cutter can take data.
  virtual int Write(const void* buffer, int count, int waitReady);
  // A write without waiting for the cutter that gives up after `milliseconds` where the
  // driver's line can be stuck: the bytes written (fewer when the time ran out), -1 on a
  // write error. The base writes as Write without waiting.
  virtual int WriteWithin(const void* buffer, int count, int milliseconds);
  virtual int IsOpen() { return m_bOpen; }

  // Why the last failed Open or Write failed: the system's error number kept by the port
  // (see CRS232::LastError); 0 for a driver without a port or a failure of no system call.
  virtual int LastError() const { return 0; }

  // Ends a wait inside Write (from another thread); that Write then fails, or gives the
  // bytes the line has taken when it held the rest back.
  void Cancel() { m_bCancel = true; }
  bool Cancelled() const { return m_bCancel.load(); }
  // For a send that a cancel has not stopped in time, from any thread: ends a write the
  // line holds back (which then fails) and drops what the port holds unsent.
  virtual void AbortOutput() {}

  int m_bOpen = 0;
  int m_nMode = 0;
  int m_nPort = 0;
  int m_nBaudRate = 0;
  // The protocol's JobFormat: the CommandDialect written for this cutter and the
  // coordinate order of the job file.
  int m_nDialect = 0;
  bool m_bSwapXY = false;
  // The device opened instead of COM port m_nPort (a device path on Linux); empty for the
  // numbered port.
  std::string m_sDevice;

 protected:
  // A driver of `protocol`, writing the job in JobFormatOf(protocol).
  explicit CCutter(int protocol);
  void Record(int mode, int port, int baudRate);

  std::atomic<bool> m_bCancel{false};
};
