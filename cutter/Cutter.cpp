#include "Cutter.h"

#include "RS232.h"
#include "SeriesCutters.h"

int CCutter::Open(int, int, int) { return 1; }

int CCutter::Close() { return 0; }

int CCutter::Read(void*, int) { return 0; }

int CCutter::Write(const void*, int, int) { return 0; }

void CCutter::Record(int mode, int port, int baudRate) {
  m_nMode = mode;
  m_nPort = port;
  m_nBaudRate = baudRate;
}

int CCutter::ConfigurePort(CRS232& port) {
  port.m_nPort = m_nPort;
  port.m_nBaudRate = m_nBaudRate;
  port.m_nByteSize = 8;
  port.m_nParity = 0;
  port.m_fStopBits = 1.0f;
  port.m_nFlowControl = 1;
  port.m_sDevice = m_sDevice;
  const int result = port.Open();
  if (result) m_bOpen = 1;
  return result;
}

int CCutter::ClosePort(CRS232& port) {
  port.Close();
  m_bOpen = 0;
  return 0;
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
