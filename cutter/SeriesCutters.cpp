#include "SeriesCutters.h"

#include <cstring>

#include "CommandDialect.h"
#include "ModelTable.h"
#include "PollWait.h"

CLarkSeriesCutter::CLarkSeriesCutter() {
  m_nDialect = DialectOfProtocol(0);
  m_bSwapXY = true;
}

CPetrelSeriesCutter::CPetrelSeriesCutter() {
  m_nDialect = DialectOfProtocol(1);
  m_bSwapXY = true;
}

int CPetrelSeriesCutter::Open(int mode, int port, int baudRate) {
  Record(mode, port, baudRate);
  if (mode != MODE_USB_SERIAL && mode != MODE_SERIAL) return -1;
  return ConfigurePort(m_rs232);
}

int CPetrelSeriesCutter::Write(const void* buffer, int count, int waitReady) {
  if (waitReady && m_nMode == MODE_SERIAL && !m_rs232.WaitClearToSend(m_bCancel)) return -1;
  return m_rs232.Write(buffer, count);
}

CRobinSeriesCutter::CRobinSeriesCutter() { m_nDialect = DialectOfProtocol(4); }

CGannetSeriesCutter::CGannetSeriesCutter() {
  m_nDialect = DialectOfProtocol(2);
  m_bSwapXY = true;
}

int CGannetSeriesCutter::Open(int mode, int port, int baudRate) {
  Record(mode, port, baudRate);
  if (mode != MODE_SERIAL) return -1;
  return ConfigurePort(m_rs232);
}

int CGannetSeriesCutter::Write(const void* buffer, int count, int waitReady) {
  if (waitReady && !m_rs232.WaitClearToSend(m_bCancel)) return -1;
  return m_rs232.Write(buffer, count);
}

CWrenSeriesCutter::CWrenSeriesCutter() {
  m_nDialect = DialectOfProtocol(3);
  m_bSwapXY = true;
}

int CWrenSeriesCutter::Open(int mode, int port, int baudRate) {
  Record(mode, port, baudRate);
  if (mode == MODE_VENDOR_USB) return 1;
  if (mode == MODE_SERIAL) return ConfigurePort(m_rs232);
  return -1;
}

int CWrenSeriesCutter::Close() {
  if (m_nMode == MODE_VENDOR_USB) return 1;
  if (m_nMode == MODE_SERIAL) return ClosePort(m_rs232);
  return 0;
}

int CWrenSeriesCutter::Read(void* buffer, int count) {
  if (m_nMode == MODE_VENDOR_USB) return m_usb.Load() ? m_usb.Read(buffer, count) : -1;
  if (m_nMode == MODE_SERIAL) return m_rs232.Read(buffer, count);
  return 0;
}

int CWrenSeriesCutter::Write(const void* buffer, int count, int waitReady) {
  if (m_nMode == MODE_VENDOR_USB) {
    // Without the library there is nobody to wait for: fail rather than poll forever.
    if (!m_usb.Load()) return -1;
    if (waitReady && !WaitUsbReady()) return -1;
    return m_usb.Write(buffer, count);
  }
  if (m_nMode == MODE_SERIAL) {
    if (waitReady && !m_rs232.WaitClearToSend(m_bCancel)) return -1;
    return m_rs232.Write(buffer, count);
  }
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
