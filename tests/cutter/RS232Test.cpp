#include <gtest/gtest.h>

#include "cutter/RS232.h"

namespace {

// Settings out of range: Open gives 0 before anything is opened. m_sDevice names a device
// that must never be reached (it does not exist either).
TEST(RS232, SettingsOutOfRangeAreRefused) {
  struct Case {
    const char* what;
    void (*change)(CRS232&);
  };
  const Case cases[] = {
      {"port 0", [](CRS232& p) { p.m_nPort = 0; }},
      {"port 1000", [](CRS232& p) { p.m_nPort = 1000; }},
      {"baud 0", [](CRS232& p) { p.m_nBaudRate = 0; }},
      {"data bits 4", [](CRS232& p) { p.m_nByteSize = 4; }},
      {"data bits 10", [](CRS232& p) { p.m_nByteSize = 10; }},
      {"parity 3", [](CRS232& p) { p.m_nParity = 3; }},
      {"parity -1", [](CRS232& p) { p.m_nParity = -1; }},
      {"stop bits 0.5", [](CRS232& p) { p.m_fStopBits = 0.5f; }},
      {"stop bits 2.5", [](CRS232& p) { p.m_fStopBits = 2.5f; }},
  };
  for (const Case& c : cases) {
    CRS232 port;
    c.change(port);
    EXPECT_EQ(port.Open(), 0) << c.what;
    EXPECT_EQ(port.m_bOpen, 0) << c.what;
    EXPECT_EQ(port.LastError(), 0) << c.what;  // no system call was made to fail
  }
}

TEST(RS232, ConstructedWithTheDriversSettings) {
  CRS232 port;
  EXPECT_EQ(port.m_bOpen, 0);
  EXPECT_EQ(port.m_nPort, 1);
  EXPECT_EQ(port.m_nBaudRate, 38400);
  EXPECT_EQ(port.m_nByteSize, 8);
  EXPECT_EQ(port.m_nParity, 0);
  EXPECT_EQ(port.m_fStopBits, 1.0f);
  EXPECT_EQ(port.m_nFlowControl, 1);
  EXPECT_FALSE(port.m_bEcho);
  EXPECT_EQ(port.m_nQueueSize, 4096);
}

TEST(RS232, NullBuffersAndMissingDevices) {
  CRS232 port;
  EXPECT_EQ(port.Write(nullptr, 5), 0);
  EXPECT_EQ(port.Read(nullptr, 5), 0);
  port.m_sDevice = "no-such-serial-device-here";
  EXPECT_EQ(port.Open(), 0);
  EXPECT_EQ(port.m_bOpen, 0);
  EXPECT_NE(port.LastError(), 0);  // the system's reason for the failed open
  port.Close();                    // closing a closed port is harmless
}

}  // namespace
