// Linux: the serial ttys the kernel knows, from sysfs.
#include "PortDiscovery.h"

std::vector<SerialDevice> ListSerialDevices() { return ListTtyDevices("/sys/class/tty"); }
