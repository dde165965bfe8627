#include "cutter/SeriesCutters.h"

#include <cstring>

#include "cutter/PollWait.h"

int CWrenSeriesCutter::Open(int mode, int port, int baudRate) {
  if (mode != MODE_VENDOR_USB) return CSerialCutter::Open(mode, port, baudRate);
  Record(mode, port, baudRate);
  return 1;
}

int CWrenSeriesCutter::Close() {
  if (m_nMode == MODE_SERIAL) return CSerialCutter::Close();
  return m_nMode == MODE_VENDOR_USB ? 1 : 0;
}

int CWrenSeriesCutter::Read(void* buffer, int count) {
  if (m_nMode == MODE_VENDOR_USB) return m_usb.Load() ? m_usb.Read(buffer, count) : -1;
  if (m_nMode == MODE_SERIAL) return CSerialCutter::Read(buffer, count);
  return 0;
}

int CWrenSeriesCutter::Write(const void* buffer, int count, int waitReady) {
  if (m_nMode == MODE_VENDOR_USB) {
    // Without the library there is nobody to wait for: fail rather than poll forever.
    if (!m_usb.Load()) return -1;
    if (waitReady && !WaitUsbReady()) return -1;
    return m_usb.Write(buffer, count);
  }
  if (m_nMode == MODE_SERIAL) return CSerialCutter::Write(buffer, count, waitReady);
  return 0;
}

bool CWrenSeriesCutter::WaitUsbReady() {
  return PollUntil(
      [this] {
        unsigned char reply[6];
        memset(reply, 0, sizeof reply);
        return m_usb.Read(reply, 6) == 1 && reply[0] == 'E' && reply[1] == 'E' && reply[2] == 'E';
      },
      m_bCancel);
}

CCutter* CreateCutter(int protocol) {
  switch (protocol) {
    case 0: return new CLarkSeriesCutter;
    case 1: return new CPetrelSeriesCutter;
    case 2: return new CGannetSeriesCutter;
    case 3: return new CWrenSeriesCutter;
    case 4: return new CRobinSeriesCutter;
    default: return nullptr;
  }
}
