// Linux: the serial ttys the kernel knows, from sysfs, with their udev by-id names.
#include "cutter/PortDiscovery.h"

std::vector<SerialDevice> ListSerialDevices() { return ListTtyDevices("/sys/class/tty", "/dev"); }
