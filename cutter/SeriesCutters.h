// The five cutter drivers, one per protocol, and CreateCutter, which makes the one a
// protocol needs. Each driver fixes the command dialect its cutters understand, the
// transfer modes it serves and, for the serial ones, the modes in which a write waits for
// clear-to-send.
#pragma once

#include "cutter/Cutter.h"
#include "cutter/SerialCutter.h"
#include "cutter/VornLib.h"

// Protocol 0: the maker's USB link, served by the separate sender program. Opening
// succeeds without touching anything; the driver never counts as open.
class CLarkSeriesCutter : public CCutter {
 public:
  CLarkSeriesCutter() : CCutter(0) {}
  int Close() override { return 1; }
};

// Protocol 1 (DM/PL): the cutter's USB-serial port (mode 1) or a plain COM port (mode 2).
// Only mode 2 waits for CTS.
class CPetrelSeriesCutter : public CSerialCutter {
 public:
  CPetrelSeriesCutter() : CSerialCutter(1) {}

 protected:
  explicit CPetrelSeriesCutter(int protocol) : CSerialCutter(protocol) {}
  bool Serves(int mode) const override { return mode == MODE_USB_SERIAL || mode == MODE_SERIAL; }
  bool WaitsForClearToSend(int mode) const override { return mode == MODE_SERIAL; }
};

// Protocol 4: behaves exactly as protocol 1 but writes HPGL.
class CRobinSeriesCutter : public CPetrelSeriesCutter {
 public:
  CRobinSeriesCutter() : CPetrelSeriesCutter(4) {}
};

// Protocol 2 (DM/PL, 9600 baud firmwares): a plain COM port; waits for CTS in any mode.
class CGannetSeriesCutter : public CSerialCutter {
 public:
  CGannetSeriesCutter() : CSerialCutter(2) {}

 protected:
  bool Serves(int mode) const override { return mode == MODE_SERIAL; }
  bool WaitsForClearToSend(int) const override { return true; }
};

// Protocol 3 (HPGL): a plain COM port (mode 2) or the maker's USB library (mode 0), where
// the cutter answers "EEE" when it is ready for data. Modes it does not serve read and
// write nothing (0).
class CWrenSeriesCutter : public CSerialCutter {
 public:
  CWrenSeriesCutter() : CSerialCutter(3) {}
  // Mode 0 has nothing to open and gives 1; mode 2 opens the port.
  int Open(int mode, int port, int baudRate) override;
  // Mode 0 gives 1; mode 2 closes the port (0); other modes give 0.
  int Close() override;
  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count, int waitReady) override;

  CVornLib m_usb;

 protected:
  bool Serves(int mode) const override { return mode == MODE_SERIAL; }
  bool WaitsForClearToSend(int) const override { return true; }

 private:
  bool WaitUsbReady();
};

// A new driver for protocol 0..4, owned by the caller; null for any other number (the
// caller then shows UNKNOWN_CUTTER_TEXT).
CCutter* CreateCutter(int protocol);
