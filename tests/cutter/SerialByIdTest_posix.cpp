// The stable names udev gives serial devices in /dev/serial/by-id, found for the ttys of a
// sysfs tree: a fake /sys/class/tty and a fake /dev with real symbolic links, as udev
// makes them.
#include <gtest/gtest.h>

#include <fstream>

#include "TempDir.h"
#include "cutter/PortDiscovery.h"

namespace {

TEST(ListTtyDevices, ByIdLinksBelongToTheTtyTheyPointAt) {
  TempDir root;
  const std::filesystem::path sys = root.Path() / "sys";
  const std::filesystem::path dev = root.Path() / "dev";
  for (const char* tty : {"ttyUSB0", "ttyUSB1", "ttyACM0"}) {
    std::filesystem::create_directories(sys / tty / "device");
    std::ofstream(dev / tty);
  }
  const std::filesystem::path byId = dev / "serial" / "by-id";
  std::filesystem::create_directories(byId);
  std::filesystem::create_symlink("../../ttyUSB0", byId / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
  std::filesystem::create_symlink("../../ttyUSB0", byId / "usb-Adapter_Second_Name-if00-port0");
  std::filesystem::create_symlink("../../ttyACM0", byId / "usb-Vorn_Cutter_0001-if00");
  std::filesystem::create_symlink(dev / "ttyUSB1", byId / "usb-Absolute_Target-if00-port0");
  // A link to a tty that is gone, and a file that is no link: neither belongs to a device.
  std::filesystem::create_symlink("../../ttyUSB7", byId / "usb-Unplugged-if00-port0");
  std::ofstream(byId / "not-a-link");

  const std::vector<SerialDevice> devices = ListTtyDevices(sys, dev);
  ASSERT_EQ(devices.size(), 3u);
  EXPECT_EQ(devices[0].name, "\\Device\\USBSER000");
  EXPECT_EQ(devices[0].port, (dev / "ttyACM0").string());
  EXPECT_EQ(devices[0].links, std::vector<std::string>{(byId / "usb-Vorn_Cutter_0001-if00").string()});
  EXPECT_EQ(devices[1].port, (dev / "ttyUSB0").string());
  EXPECT_EQ(devices[1].links,
            (std::vector<std::string>{(byId / "usb-Adapter_Second_Name-if00-port0").string(),
                                      (byId / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0").string()}));
  EXPECT_EQ(devices[2].port, (dev / "ttyUSB1").string());
  EXPECT_EQ(devices[2].links, std::vector<std::string>{(byId / "usb-Absolute_Target-if00-port0").string()});
  // The links are only shown; matching still gives the tty's own path.
  EXPECT_EQ(MatchSerialPort(devices, VCP_PREFIX), (dev / "ttyUSB0").string());
}

TEST(ListTtyDevices, NoByIdFolderMeansNoLinks) {
  TempDir root;
  std::filesystem::create_directories(root.Path() / "sys" / "ttyUSB0" / "device");
  const std::vector<SerialDevice> devices = ListTtyDevices(root.Path() / "sys", root.Path() / "dev");
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0].port, (root.Path() / "dev" / "ttyUSB0").string());
  EXPECT_TRUE(devices[0].links.empty());
}

}  // namespace
