// Linux: the serial ttys the kernel knows, from sysfs, with their udev by-id names; COMn
// stands for the built-in port /dev/ttyS(n-1).
#include "cutter/PortDiscovery.h"

std::vector<SerialDevice> ListSerialDevices() { return ListTtyDevices("/sys/class/tty", "/dev"); }

std::string UnmatchedPortFallback() { return ""; }

std::string ComDeviceName(int number) { return "/dev/ttyS" + std::to_string(number - 1); }

std::string PortWithDevice(const std::string& port) {
  const int number = PortNumber(port);
  return number >= 1 ? port + " (" + ComDeviceName(number) + ")" : port;
}
