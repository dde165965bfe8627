// Serial port on the Win32 communications API: the device "\\.\COMn" opened exclusively,
// binary mode, the line format, CTS flow control, DTR and RTS disabled, and time-outs that
// let every call wait as long as it needs.
#include <windows.h>

#include <cstdio>

#include "RS232.h"

int CRS232::OpenDevice() {
  char name[30];
  snprintf(name, sizeof name, "\\\\.\\COM%d", m_nPort);
  const std::string device = m_sDevice.empty() ? name : m_sDevice;
  HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return Failed(0);
  m_hComm = reinterpret_cast<intptr_t>(handle);
  m_bOpen = 1;

  COMMTIMEOUTS timeouts = {MAXDWORD, MAXDWORD, MAXDWORD, MAXDWORD, MAXDWORD};
  SetCommTimeouts(handle, &timeouts);
  if (!SetupComm(handle, m_nQueueSize, m_nQueueSize)) return Failed(0);
  DCB dcb = {};
  dcb.DCBlength = sizeof dcb;
  if (!GetCommState(handle, &dcb)) return Failed(0);
  dcb.BaudRate = m_nBaudRate;
  dcb.ByteSize = static_cast<BYTE>(m_nByteSize);
  if (m_fStopBits == 1.0f) dcb.StopBits = ONESTOPBIT;
  if (m_fStopBits == 1.5f) dcb.StopBits = ONE5STOPBITS;
  if (m_fStopBits == 2.0f) dcb.StopBits = TWOSTOPBITS;
  dcb.Parity = static_cast<BYTE>(m_nParity);
  dcb.fBinary = TRUE;
  dcb.fParity = FALSE;
  dcb.fDtrControl = DTR_CONTROL_DISABLE;
  dcb.fRtsControl = RTS_CONTROL_DISABLE;
  dcb.fOutxCtsFlow = m_nFlowControl == 1 || m_nFlowControl == 3;
  dcb.fOutxDsrFlow = m_nFlowControl == 2 || m_nFlowControl == 3;
  return SetCommState(handle, &dcb) ? 1 : Failed(0);
}

int CRS232::WriteDevice(const void* buffer, int count) {
  DWORD written = 0;
  if (!WriteFile(reinterpret_cast<HANDLE>(m_hComm), buffer, count, &written, nullptr)) return Failed(-1);
  return static_cast<int>(written);
}

int CRS232::ReadDevice(void* buffer, int count) {
  DWORD read = 0;
  if (!ReadFile(reinterpret_cast<HANDLE>(m_hComm), buffer, count, &read, nullptr)) return Failed(-1);
  return static_cast<int>(read);
}

void CRS232::AbortDeviceOutput() {
  const HANDLE handle = reinterpret_cast<HANDLE>(m_hComm);
  CancelIoEx(handle, nullptr);
  PurgeComm(handle, PURGE_TXABORT | PURGE_TXCLEAR);
}

void CRS232::CloseDevice() { CloseHandle(reinterpret_cast<HANDLE>(m_hComm)); }

ModemLines CRS232::QueryModemLines() const {
  DWORD status = 0;
  if (m_hComm == -1 || !GetCommModemStatus(reinterpret_cast<HANDLE>(m_hComm), &status)) return MODEM_STATUS_UNKNOWN;
  return (status & MS_CTS_ON) ? MODEM_CTS_ON : MODEM_CTS_OFF;
}
