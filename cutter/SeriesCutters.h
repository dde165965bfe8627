// The five cutter drivers, one per protocol. Each fixes the command dialect its cutters
// understand and the transfer modes it serves; the serial ones hold their port by value.
#pragma once

#include "Cutter.h"
#include "RS232.h"
#include "VornLib.h"

// Protocol 0: the maker's USB link, served by the separate sender program. Opening
// succeeds without touching anything; the driver never counts as open.
class CLarkSeriesCutter : public CCutter {
 public:
  CLarkSeriesCutter();
  int Close() override { return 1; }
};

// Protocol 1 (DM/PL): the cutter's USB-serial port (mode 1) or a plain COM port (mode 2).
// Only mode 2 waits for CTS.
class CPetrelSeriesCutter : public CCutter {
 public:
  CPetrelSeriesCutter();
  int Open(int mode, int port, int baudRate) override;
  int Close() override { return ClosePort(m_rs232); }
  int Read(void* buffer, int count) override { return m_rs232.Read(buffer, count); }
  int Write(const void* buffer, int count, int waitReady) override;

  CRS232 m_rs232;
};

// Protocol 4: behaves exactly as protocol 1 but writes HPGL.
class CRobinSeriesCutter : public CPetrelSeriesCutter {
 public:
  CRobinSeriesCutter();
};

// Protocol 2 (DM/PL, 9600 baud firmwares): a plain COM port; waits for CTS in any mode.
class CGannetSeriesCutter : public CCutter {
 public:
  CGannetSeriesCutter();
  int Open(int mode, int port, int baudRate) override;
  int Close() override { return ClosePort(m_rs232); }
  int Read(void* buffer, int count) override { return m_rs232.Read(buffer, count); }
  int Write(const void* buffer, int count, int waitReady) override;

  CRS232 m_rs232;
};

// Protocol 3 (HPGL): a plain COM port (mode 2) or the maker's USB library (mode 0), where
// the cutter answers "EEE" when it is ready for data.
class CWrenSeriesCutter : public CCutter {
 public:
  CWrenSeriesCutter();
  int Open(int mode, int port, int baudRate) override;
  int Close() override;
  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count, int waitReady) override;

  CRS232 m_rs232;
  CVornLib m_usb;

 private:
  bool WaitUsbReady();
};
