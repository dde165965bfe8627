#include "cutter/RS232.h"

#include <chrono>

#include "base/SystemError.h"
#include "cutter/PollWait.h"

CRS232::~CRS232() { Close(); }

bool CRS232::SettingsValid() const {
  // A named device needs no port number.
  if (m_sDevice.empty() && (m_nPort < 1 || m_nPort > 999)) return false;
  return m_nBaudRate >= 1 && m_nByteSize >= 5 && m_nByteSize <= 9 && m_nParity >= 0 && m_nParity <= 2 &&
         m_fStopBits >= 1.0f && m_fStopBits <= 2.0f;
}

int CRS232::Open() {
  m_nError = 0;
  if (!SettingsValid()) return 0;
  // Reopening must not leak the handle of an earlier open.
  Close();
  return OpenDevice();
}

void CRS232::AbortOutput() {
  if (m_hComm != -1) AbortDeviceOutput();
}

int CRS232::Write(const void* buffer, int count) {
  if (!buffer) return 0;
  if (m_hComm == -1) return NotOpen();
  return WriteDevice(buffer, count);
}

int CRS232::WriteWithin(const void* buffer, int count, int milliseconds) {
  if (!buffer) return 0;
  if (m_hComm == -1) return NotOpen();
  return WriteDeviceWithin(buffer, count, milliseconds);
}

int CRS232::Read(void* buffer, int count) {
  if (!buffer) return 0;
  if (m_hComm == -1) return NotOpen();
  if (!m_bEcho) return ReadDevice(buffer, count);
  unsigned char* bytes = static_cast<unsigned char*>(buffer);
  for (int i = 0; i < count; ++i) {
    if (ReadDevice(bytes + i, 1) < 0 || WriteDevice(bytes + i, 1) < 0) return -1;
  }
  return count;
}

void CRS232::Close() {
  if (m_hComm != -1) CloseDevice();
  m_hComm = -1;
  m_bOpen = 0;
}

int CRS232::Failed(int result) {
  m_nError = LastSystemError();
  return result;
}

int CRS232::NotOpen() {
  m_nError = 0;
  return -1;
}

bool CRS232::WaitClearToSend(const std::atomic<bool>& cancel) {
  return PollUntil(
      [this] {
        const ModemLines lines = m_modemStatus ? m_modemStatus() : QueryModemLines();
        return lines != MODEM_CTS_OFF;
      },
      cancel);
}

bool CRS232::ReadModemLines(ModemLineStates& lines) const { return m_hComm != -1 && ReadDeviceModemLines(lines); }

ModemLines CRS232::QueryModemLines() const {
  ModemLineStates lines;
  if (!ReadModemLines(lines)) return MODEM_STATUS_UNKNOWN;
  return lines.cts ? MODEM_CTS_ON : MODEM_CTS_OFF;
}

bool CRS232::DrainWithin(int milliseconds) {
  if (m_hComm == -1) return false;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  const std::atomic<bool> never{false};
  int pending = 0;
  PollUntil(
      [&] {
        pending = DeviceOutputPending();
        return pending <= 0 || std::chrono::steady_clock::now() >= deadline;
      },
      never);
  return pending <= 0;
}
