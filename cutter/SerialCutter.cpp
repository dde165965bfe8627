#include "cutter/SerialCutter.h"

int CSerialCutter::Open(int mode, int port, int baudRate) {
  Record(mode, port, baudRate);
  if (!Serves(mode)) return -1;
  m_rs232.m_nPort = m_nPort;
  m_rs232.m_nBaudRate = m_nBaudRate;
  m_rs232.m_nByteSize = 8;
  m_rs232.m_nParity = 0;
  m_rs232.m_fStopBits = 1.0f;
  m_rs232.m_nFlowControl = 1;
  m_rs232.m_sDevice = m_sDevice;
  m_rs232.m_pCancel = &m_bCancel;
  const int result = m_rs232.Open();
  if (result) m_bOpen = 1;
  return result;
}

int CSerialCutter::Close() {
  m_rs232.Close();
  m_bOpen = 0;
  return 0;
}

int CSerialCutter::Write(const void* buffer, int count, int waitReady) {
  if (waitReady && WaitsForClearToSend(m_nMode) && !m_rs232.WaitClearToSend(m_bCancel)) return -1;
  return m_rs232.Write(buffer, count);
}
