// Serial port on the Win32 communications API: the device "\\.\COMn" opened exclusively,
// binary mode, the line format, CTS flow control, DTR and RTS disabled, and time-outs that
// let every call wait as long as it needs. The port is opened for overlapped calls, each
// waited for at once, so that a stopped send can end a write that the line holds back.
#include <windows.h>

#include <cstdio>

#include "cutter/PortDiscovery.h"
#include "cutter/RS232.h"

std::string CRS232::DeviceName() const {
  if (!m_sDevice.empty()) return m_sDevice;
  return ComDeviceName(m_nPort);
}

int CRS232::OpenDevice() {
  const std::string device = DeviceName();
  HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
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

namespace {

// One read or write on the overlapped port, waited for until it ends or `timeout`
// milliseconds have passed (then it is cancelled): the bytes moved, also those of a call
// the time ran out on, or -1 with the system's error (ERROR_OPERATION_ABORTED for a write
// aborted from another thread) kept.
template <class TCall>
int Transfer(HANDLE handle, TCall call, DWORD timeout = INFINITE) {
  OVERLAPPED overlapped = {};
  overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (!overlapped.hEvent) return -1;
  DWORD moved = 0;
  bool done = call(&overlapped, &moved);
  bool late = false;
  if (!done && GetLastError() == ERROR_IO_PENDING) {
    late = WaitForSingleObject(overlapped.hEvent, timeout) == WAIT_TIMEOUT;
    if (late) CancelIoEx(handle, &overlapped);
    done = GetOverlappedResult(handle, &overlapped, &moved, TRUE) != FALSE;
  }
  const DWORD error = GetLastError();
  CloseHandle(overlapped.hEvent);
  SetLastError(error);
  return done || late ? static_cast<int>(moved) : -1;
}

}  // namespace

int CRS232::WriteDevice(const void* buffer, int count) {
  const HANDLE handle = reinterpret_cast<HANDLE>(m_hComm);
  const int written = Transfer(handle, [&](OVERLAPPED* overlapped, DWORD* moved) {
    return WriteFile(handle, buffer, static_cast<DWORD>(count), moved, overlapped) != FALSE;
  });
  return written < 0 ? Failed(-1) : written;
}

int CRS232::WriteDeviceWithin(const void* buffer, int count, int milliseconds) {
  const HANDLE handle = reinterpret_cast<HANDLE>(m_hComm);
  const int written = Transfer(
      handle,
      [&](OVERLAPPED* overlapped, DWORD* moved) {
        return WriteFile(handle, buffer, static_cast<DWORD>(count), moved, overlapped) != FALSE;
      },
      static_cast<DWORD>(milliseconds));
  return written < 0 ? Failed(-1) : written;
}

int CRS232::ReadDevice(void* buffer, int count) {
  const HANDLE handle = reinterpret_cast<HANDLE>(m_hComm);
  const int read = Transfer(handle, [&](OVERLAPPED* overlapped, DWORD* moved) {
    return ReadFile(handle, buffer, static_cast<DWORD>(count), moved, overlapped) != FALSE;
  });
  return read < 0 ? Failed(-1) : read;
}

void CRS232::AbortDeviceOutput() {
  const HANDLE handle = reinterpret_cast<HANDLE>(m_hComm);
  CancelIoEx(handle, nullptr);
  PurgeComm(handle, PURGE_TXABORT | PURGE_TXCLEAR);
}

void CRS232::CloseDevice() { CloseHandle(reinterpret_cast<HANDLE>(m_hComm)); }

bool CRS232::ReadDeviceModemLines(ModemLineStates& lines) const {
  DWORD status = 0;
  if (!GetCommModemStatus(reinterpret_cast<HANDLE>(m_hComm), &status)) return false;
  lines.cts = (status & MS_CTS_ON) != 0;
  lines.dsr = (status & MS_DSR_ON) != 0;
  lines.dcd = (status & MS_RLSD_ON) != 0;
  return true;
}

int CRS232::DeviceOutputPending() const {
  DWORD errors = 0;
  COMSTAT status = {};
  if (!ClearCommError(reinterpret_cast<HANDLE>(m_hComm), &errors, &status)) return -1;
  return static_cast<int>(status.cbOutQue);
}
