#include "cutter/PortSettings.h"

#include "cutter/Cutter.h"
#include "cutter/PortDiscovery.h"

namespace {

// Numbered ports are compared by number ("COM03" is COM3), device paths as text. Nothing
// found is never the chosen port.
bool SamePort(const std::string& found, const std::string& chosen) {
  if (found.empty()) return false;
  if (IsDevicePath(found) || IsDevicePath(chosen)) return found == chosen;
  return PortNumber(found) == PortNumber(chosen);
}

}  // namespace

PortSettings GetPortSettings(int protocol, const std::string& portText, const std::string& usbSerialPort) {
  PortSettings settings{MODE_SERIAL, PortNumber(portText), 38400, IsDevicePath(portText) ? portText : ""};
  if (protocol == 0) settings.mode = MODE_VENDOR_USB;
  if (protocol == 1 && SamePort(usbSerialPort, portText)) settings.mode = MODE_USB_SERIAL;
  if (protocol == 2) settings.baudRate = 9600;
  return settings;
}
