#include "cutter/Cutter.h"

#include "cutter/ModelTable.h"

CCutter::CCutter(int protocol) : m_nDialect(JobFormatOf(protocol).dialect), m_bSwapXY(JobFormatOf(protocol).swapXY) {}

int CCutter::Open(int, int, int) { return 1; }

int CCutter::Close() { return 0; }

int CCutter::Read(void*, int) { return 0; }

int CCutter::Write(const void*, int, int) { return 0; }

int CCutter::WriteWithin(const void* buffer, int count, int) { return Write(buffer, count, 0); }

void CCutter::Record(int mode, int port, int baudRate) {
  m_nMode = mode;
  m_nPort = port;
  m_nBaudRate = baudRate;
}
