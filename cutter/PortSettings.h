// How the send flow reaches the chosen cutter: the transfer mode, port and baud rate that
// follow from the model's protocol and the chosen port.
#pragma once

#include <string>

struct PortSettings {
  int mode;            // TransferMode
  int port;            // COM port number; 0 for "VORN_USB" and device paths
  int baudRate;        // 38400, or 9600 for protocol 2
  std::string device;  // the port text when it names a device path, else ""
};

// `portText` is the chosen port ("COM3", "VORN_USB", or a device path on Linux);
// `usbSerialPort` the port found under the USB-serial prefix ("" when none). Protocol 1
// uses mode 1 on that port and mode 2 elsewhere; protocol 0 mode 0; others mode 2.
PortSettings GetPortSettings(int protocol, const std::string& portText, const std::string& usbSerialPort);
