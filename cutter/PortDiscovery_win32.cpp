// Windows: the values of HKLM "HARDWARE\DEVICEMAP\SERIALCOMM", each a device name mapped
// to its port name, in enumeration order; a COM name is the device's own name.
#include <windows.h>

#include "cutter/PortDiscovery.h"

std::vector<SerialDevice> ListSerialDevices() {
  std::vector<SerialDevice> devices;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return devices;
  }
  for (DWORD index = 0;; ++index) {
    char name[261];
    BYTE data[81];
    DWORD nameLength = sizeof name - 1;
    DWORD dataLength = sizeof data - 1;
    DWORD type = 0;
    if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataLength) != ERROR_SUCCESS) break;
    if (type != REG_SZ) continue;
    name[nameLength] = '\0';
    data[dataLength] = '\0';
    devices.push_back({name, reinterpret_cast<const char*>(data)});
  }
  RegCloseKey(key);
  return devices;
}

std::string UnmatchedPortFallback() { return "COM1"; }

std::string ComDeviceName(int number) { return "\\\\.\\COM" + std::to_string(number); }

std::string PortWithDevice(const std::string& port) { return port; }
