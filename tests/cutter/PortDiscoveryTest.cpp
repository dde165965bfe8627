#include <gtest/gtest.h>

#include <fstream>

#include "TempDir.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"

namespace {

TEST(MatchSerialPort, PrefixCaseAndLastMatch) {
  EXPECT_EQ(MatchSerialPort({{"\\Device\\VCP0", "COM7"}}, VCP_PREFIX), "COM7");
  // Both begin with the prefix; the later one wins.
  EXPECT_EQ(MatchSerialPort({{"\\Device\\VCP0", "COM4"}, {"\\Device\\VCP01", "COM9"}}, VCP_PREFIX), "COM9");
  EXPECT_EQ(MatchSerialPort({{"\\device\\usbser000", "COM3"}}, USB_SERIAL_PREFIX), "COM3");
  EXPECT_EQ(MatchSerialPort({{"\\Device\\Serial0", "COM1"}, {"\\Device\\VCP", "COM2"}}, VCP_PREFIX), "");
  EXPECT_EQ(MatchSerialPort({}, VCP_PREFIX), "");
  // A later match whose data is no port name leaves the earlier one standing.
  EXPECT_EQ(MatchSerialPort({{"\\Device\\VCP0", "COM4"}, {"\\Device\\VCP02", "garbage"}}, VCP_PREFIX), "COM4");
  EXPECT_EQ(MatchSerialPort({{"\\Device\\USBSER000", "/dev/ttyACM0"}}, USB_SERIAL_PREFIX), "/dev/ttyACM0");
}

TEST(ChoosePort, WhatTheDialogSelectsPerModel) {
  const std::vector<SerialDevice> devices = {{"\\Device\\VCP0", "COM7"}, {"\\Device\\USBSER000", "COM3"}};
  EXPECT_EQ(ChoosePort(ModelTable[FindModel("Wren-Series")].ProtocolNumber, devices), "COM7");
  EXPECT_EQ(ChoosePort(ModelTable[FindModel("Heron(V8.8 or before)")].ProtocolNumber, devices), "COM7");
  EXPECT_EQ(ChoosePort(ModelTable[FindModel("Plover")].ProtocolNumber, devices), "COM3");
  EXPECT_EQ(ChoosePort(ModelTable[FindModel("Lark-Series")].ProtocolNumber, devices), "VORN_USB");
  EXPECT_EQ(ChoosePort(4, {}), "COM1");
  EXPECT_EQ(ChoosePort(7, devices), "COM1");
  // "COM0" is found but is no entry of the Port list.
  EXPECT_EQ(ChoosePort(4, {{"\\Device\\VCP0", "COM0"}}), "COM1");
  // Numbers above 30 are kept rather than dropped.
  EXPECT_EQ(ChoosePort(4, {{"\\Device\\VCP0", "COM42"}}), "COM42");
  EXPECT_EQ(ChoosePort(1, {{"\\Device\\USBSER000", "/dev/ttyACM0"}}), "/dev/ttyACM0");
}

TEST(PortNumber, ParsesComNames) {
  EXPECT_EQ(PortNumber("COM3"), 3);
  EXPECT_EQ(PortNumber("COM30"), 30);
  EXPECT_EQ(PortNumber("VORN_USB"), 0);
  EXPECT_EQ(PortNumber("com3"), 0);
  EXPECT_EQ(PortNumber("/dev/ttyS0"), 0);
}

TEST(WindowsDeviceNameOf, LinuxTtysGetTheNamesOfTheirWindowsDrivers) {
  EXPECT_EQ(WindowsDeviceNameOf("ttyACM0"), "\\Device\\USBSER000");
  EXPECT_EQ(WindowsDeviceNameOf("ttyACM12"), "\\Device\\USBSER012");
  EXPECT_EQ(WindowsDeviceNameOf("ttyUSB0"), "\\Device\\VCP0");
  EXPECT_EQ(WindowsDeviceNameOf("ttyUSB10"), "\\Device\\VCP10");
  EXPECT_EQ(WindowsDeviceNameOf("ttyS1"), "\\Device\\Serial1");
  EXPECT_EQ(WindowsDeviceNameOf("tty0"), "");
  EXPECT_EQ(WindowsDeviceNameOf("ttyUSB"), "");
  EXPECT_EQ(WindowsDeviceNameOf("ptmx"), "");
}

TEST(ListTtyDevices, ReadsASysfsTree) {
  TempDir sys;
  auto tty = [&](const std::string& name, bool device, const char* type) {
    std::filesystem::create_directories(sys.Path() / name);
    if (device) std::filesystem::create_directories(sys.Path() / name / "device");
    if (type) std::ofstream(sys.Path() / name / "type") << type << "\n";
  };
  tty("ttyUSB10", true, nullptr);
  tty("ttyUSB2", true, nullptr);
  tty("ttyACM0", true, nullptr);
  tty("ttyS0", true, "4");
  tty("ttyS1", true, "0");      // a UART slot without hardware
  tty("tty3", false, nullptr);  // a virtual console
  tty("ttyUSB5", false, nullptr);
  const std::vector<SerialDevice> devices = ListTtyDevices(sys.Path());
  ASSERT_EQ(devices.size(), 4u);
  EXPECT_EQ(devices[0].name, "\\Device\\USBSER000");
  EXPECT_EQ(devices[0].port, "/dev/ttyACM0");
  EXPECT_EQ(devices[1].name, "\\Device\\Serial0");
  EXPECT_EQ(devices[2].port, "/dev/ttyUSB2");
  EXPECT_EQ(devices[3].port, "/dev/ttyUSB10");
  EXPECT_EQ(MatchSerialPort(devices, VCP_PREFIX), "");  // VCP2 and VCP10, not VCP0
  EXPECT_TRUE(ListTtyDevices(sys.Path() / "missing").empty());
}

}  // namespace
