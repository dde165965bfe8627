// The drivers' rules that hold without a port: dialects, served modes, the Lark rules,
// port settings, and waiting for the cutter.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "cutter/PortDiscovery.h"
#include "cutter/PortSettings.h"
#include "cutter/SeriesCutters.h"
#include "pipeline/CommandDialect.h"

namespace {

std::unique_ptr<CCutter> Create(int protocol) { return std::unique_ptr<CCutter>(CreateCutter(protocol)); }

TEST(CreateCutter, EachProtocolGetsItsClassAndDialect) {
  EXPECT_NE(dynamic_cast<CLarkSeriesCutter*>(Create(0).get()), nullptr);
  EXPECT_NE(dynamic_cast<CPetrelSeriesCutter*>(Create(1).get()), nullptr);
  EXPECT_NE(dynamic_cast<CGannetSeriesCutter*>(Create(2).get()), nullptr);
  EXPECT_NE(dynamic_cast<CWrenSeriesCutter*>(Create(3).get()), nullptr);
  EXPECT_NE(dynamic_cast<CRobinSeriesCutter*>(Create(4).get()), nullptr);
  // The one table of each protocol's dialect: protocols 1 and 2 (the USB-serial models and
  // the 8.8-and-before firmwares) speak DM/PL, the rest HPGL.
  const int dialects[] = {DialectHpgl, DialectDmpl, DialectDmpl, DialectHpgl, DialectHpgl};
  for (int protocol = 0; protocol < 5; ++protocol) {
    auto cutter = Create(protocol);
    EXPECT_EQ(cutter->m_nDialect, dialects[protocol]) << protocol;
    EXPECT_TRUE(cutter->m_bSwapXY) << protocol;
    EXPECT_EQ(cutter->m_bOpen, 0);
    EXPECT_EQ(cutter->m_nMode, 0);
  }
}

TEST(CreateCutter, UnknownProtocolGivesNoDriver) {
  EXPECT_EQ(Create(5), nullptr);
  EXPECT_EQ(Create(-1), nullptr);
  EXPECT_STREQ(UNKNOWN_CUTTER_TEXT, "Unknow Cutter type!\n");
}

TEST(LarkSeriesCutter, OpensWithoutAPortAndNeverCountsAsOpen) {
  CLarkSeriesCutter lark;
  EXPECT_EQ(lark.Open(MODE_VENDOR_USB, 0, 38400), 1);
  EXPECT_EQ(lark.IsOpen(), 0);
  EXPECT_EQ(lark.m_nMode, 0);
  EXPECT_EQ(lark.m_nPort, 0);
  EXPECT_EQ(lark.Close(), 1);
  char byte = 'x';
  EXPECT_EQ(lark.Write(&byte, 1, 1), 0);
  EXPECT_EQ(lark.Read(&byte, 1), 0);
}

TEST(SerialCutters, UnservedModesGiveMinusOneAndOpenNothing) {
  CPetrelSeriesCutter petrel;
  EXPECT_EQ(petrel.Open(MODE_VENDOR_USB, 3, 38400), -1);
  CRobinSeriesCutter robin;
  EXPECT_EQ(robin.Open(7, 3, 38400), -1);
  CGannetSeriesCutter gannet;
  EXPECT_EQ(gannet.Open(MODE_USB_SERIAL, 3, 9600), -1);
  CWrenSeriesCutter wren;
  EXPECT_EQ(wren.Open(MODE_USB_SERIAL, 3, 38400), -1);
  EXPECT_EQ(wren.m_nMode, MODE_USB_SERIAL);  // recorded all the same
  EXPECT_EQ(wren.Close(), 0);
  for (CCutter* cutter : {static_cast<CCutter*>(&petrel), static_cast<CCutter*>(&robin), static_cast<CCutter*>(&gannet),
                          static_cast<CCutter*>(&wren)}) {
    EXPECT_EQ(cutter->IsOpen(), 0);
  }
}

TEST(SerialCutters, AnInvalidPortFailsToOpen) {
  CGannetSeriesCutter gannet;
  EXPECT_EQ(gannet.Open(MODE_SERIAL, 0, 9600), 0);  // "VORN_USB" has port number 0
  EXPECT_EQ(gannet.IsOpen(), 0);
  EXPECT_EQ(gannet.m_nBaudRate, 9600);
}

TEST(WrenSeriesCutter, UsbModeNeedsTheMakersLibrary) {
  CWrenSeriesCutter wren;
  EXPECT_EQ(wren.Open(MODE_VENDOR_USB, 0, 38400), 1);
  EXPECT_EQ(wren.IsOpen(), 0);
  // Neither this build nor the test folder has the library: writing fails at once
  // instead of waiting for a ready reply that cannot come.
  char byte = 'x';
  EXPECT_EQ(wren.Write(&byte, 1, 1), -1);
  EXPECT_EQ(wren.Close(), 1);
}

TEST(GetPortSettings, FollowsTheProtocol) {
  PortSettings s = GetPortSettings(0, "VORN_USB", "");
  EXPECT_EQ(s.mode, MODE_VENDOR_USB);
  EXPECT_EQ(s.port, 0);
  EXPECT_EQ(s.baudRate, 38400);
  s = GetPortSettings(2, "COM4", "");
  EXPECT_EQ(s.mode, MODE_SERIAL);
  EXPECT_EQ(s.port, 4);
  EXPECT_EQ(s.baudRate, 9600);
  EXPECT_EQ(s.device, "");
  for (int protocol : {3, 4, 9}) {
    s = GetPortSettings(protocol, "COM12", "COM12");
    EXPECT_EQ(s.mode, MODE_SERIAL) << protocol;
    EXPECT_EQ(s.port, 12);
    EXPECT_EQ(s.baudRate, 38400);
  }
}

TEST(GetPortSettings, UsbSerialModeOnlyOnTheCuttersOwnPort) {
  EXPECT_EQ(GetPortSettings(1, "COM5", "COM5").mode, MODE_USB_SERIAL);
  EXPECT_EQ(GetPortSettings(1, "COM5", "COM05").mode, MODE_USB_SERIAL);
  EXPECT_EQ(GetPortSettings(1, "COM6", "COM5").mode, MODE_SERIAL);
  EXPECT_EQ(GetPortSettings(1, "/dev/ttyACM0", "/dev/ttyACM0").mode, MODE_USB_SERIAL);
  EXPECT_EQ(GetPortSettings(1, "/dev/ttyUSB0", "/dev/ttyACM0").mode, MODE_SERIAL);
  // Nothing found is not the chosen port, not even "VORN_USB" (both would count as 0).
  EXPECT_EQ(GetPortSettings(1, "VORN_USB", "").mode, MODE_SERIAL);
  EXPECT_EQ(GetPortSettings(1, "/dev/pts/3", "").mode, MODE_SERIAL);
}

TEST(GetPortSettings, DevicePathsTravelAsDevices) {
  const PortSettings s = GetPortSettings(4, "/dev/pts/7", "");
  EXPECT_EQ(s.port, 0);
  EXPECT_EQ(s.device, "/dev/pts/7");
}

// A modem-status source that holds CTS off for a number of queries.
struct HeldLine {
  int offQueries;
  int queries = 0;
  ModemLines operator()() { return ++queries <= offQueries ? MODEM_CTS_OFF : MODEM_CTS_ON; }
};

TEST(ClearToSend, TheWaitEndsWhenTheLineComesOn) {
  CRS232 port;
  auto line = std::make_shared<HeldLine>(HeldLine{5});
  port.SetModemStatusSource([line] { return (*line)(); });
  std::atomic<bool> cancel{false};
  EXPECT_TRUE(port.WaitClearToSend(cancel));
  EXPECT_EQ(line->queries, 6);
}

TEST(ClearToSend, APortWithoutModemStatusIsClear) {
  CRS232 port;
  int queries = 0;
  port.SetModemStatusSource([&] {
    ++queries;
    return MODEM_STATUS_UNKNOWN;
  });
  std::atomic<bool> cancel{false};
  EXPECT_TRUE(port.WaitClearToSend(cancel));
  EXPECT_EQ(queries, 1);
  // A port that is not open cannot report either.
  CRS232 closed;
  EXPECT_TRUE(closed.WaitClearToSend(cancel));
}

TEST(ClearToSend, CancellingEndsTheWaitAndFailsTheWrite) {
  CGannetSeriesCutter gannet;
  std::atomic<int> queries{0};
  gannet.m_rs232.SetModemStatusSource([&] {
    ++queries;
    return MODEM_CTS_OFF;
  });
  std::thread canceller([&] {
    while (queries < 3) std::this_thread::yield();
    gannet.Cancel();
  });
  EXPECT_EQ(gannet.Write("PU0,0;", 6, 1), -1);
  canceller.join();
  EXPECT_TRUE(gannet.Cancelled());
}

TEST(ClearToSend, WhichWritesWait) {
  // Mode 2 waits; with a null buffer the wait still comes first, then 0.
  int queries = 0;
  auto counting = [&] {
    ++queries;
    return MODEM_CTS_ON;
  };
  CRobinSeriesCutter robin;
  robin.m_nMode = MODE_SERIAL;
  robin.m_rs232.SetModemStatusSource(counting);
  EXPECT_EQ(robin.Write(nullptr, 6, 1), 0);
  EXPECT_EQ(queries, 1);
  // Mode 1 and writes without waitReady do not ask.
  robin.m_nMode = MODE_USB_SERIAL;
  EXPECT_EQ(robin.Write(nullptr, 6, 1), 0);
  robin.m_nMode = MODE_SERIAL;
  EXPECT_EQ(robin.Write(nullptr, 6, 0), 0);
  EXPECT_EQ(queries, 1);
  // Gannet waits whatever the mode.
  CGannetSeriesCutter gannet;
  gannet.m_nMode = MODE_USB_SERIAL;
  gannet.m_rs232.SetModemStatusSource(counting);
  EXPECT_EQ(gannet.Write(nullptr, 6, 1), 0);
  EXPECT_EQ(queries, 2);
  // Wren waits in mode 2 only.
  CWrenSeriesCutter wren;
  wren.m_nMode = MODE_SERIAL;
  wren.m_rs232.SetModemStatusSource(counting);
  EXPECT_EQ(wren.Write(nullptr, 6, 1), 0);
  EXPECT_EQ(queries, 3);
}

}  // namespace
