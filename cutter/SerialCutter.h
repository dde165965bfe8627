// The drivers that reach their cutter through a COM port of their own. The port is
// opened for the recorded port number and baud rate with 8 data bits, no parity, one stop
// bit and CTS flow control; a write that is asked to wait for the cutter first waits for
// clear-to-send in the modes where the class does. Each class says only which modes it
// serves and in which it waits.
#pragma once

#include "cutter/Cutter.h"
#include "cutter/RS232.h"

class CSerialCutter : public CCutter {
 public:
  // Records the mode, port and baud rate; opens the port for a served mode (1 or 0, with
  // m_bOpen set on success) and gives -1 for any other.
  int Open(int mode, int port, int baudRate) override;
  // Closes the port and clears m_bOpen, whatever the mode. Returns 0.
  int Close() override;
  int Read(void* buffer, int count) override { return m_rs232.Read(buffer, count); }
  // With `waitReady` in a waiting mode: the CTS wait first (-1 when it is cancelled); then
  // the port's write: bytes written (fewer when a cancel ends a write the line holds
  // back), -1 on failure, 0 for a null buffer.
  int Write(const void* buffer, int count, int waitReady) override;
  // The port's bounded write, without the CTS wait.
  int WriteWithin(const void* buffer, int count, int milliseconds) override {
    return m_rs232.WriteWithin(buffer, count, milliseconds);
  }
  int LastError() const override { return m_rs232.LastError(); }
  void AbortOutput() override { m_rs232.AbortOutput(); }

  CRS232 m_rs232;

 protected:
  explicit CSerialCutter(int protocol) : CCutter(protocol) {}
  // Whether Open opens the port for `mode`.
  virtual bool Serves(int mode) const = 0;
  // Whether a write that waits for the cutter waits for CTS in `mode`.
  virtual bool WaitsForClearToSend(int mode) const = 0;
};
