#include "cutter/PortDiscovery.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>

namespace {

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (tolower(static_cast<unsigned char>(text[i])) != tolower(static_cast<unsigned char>(prefix[i]))) return false;
  }
  return true;
}

bool ParseComNumber(const std::string& port, int& number) { return sscanf(port.c_str(), "COM%d", &number) == 1; }

// "ttyUSB10" -> ("ttyUSB", 10); a name without digits at the end gets -1.
std::pair<std::string, long> SplitNumber(const std::string& name) {
  size_t digits = name.size();
  while (digits > 0 && isdigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
  if (digits == name.size() || name.size() - digits > 9) return {name, -1};
  return {name.substr(0, digits), std::stol(name.substr(digits))};
}

// The symbolic links in <devRoot>/serial/by-id as (port pointed at, link) pairs, sorted; a
// relative target ("../../ttyUSB0", as udev makes them) is taken from the link's folder.
std::vector<std::pair<std::string, std::string>> ListByIdLinks(const std::filesystem::path& devRoot) {
  std::vector<std::pair<std::string, std::string>> links;
  std::error_code error;
  const std::filesystem::path byId = devRoot / "serial" / "by-id";
  for (const auto& entry : std::filesystem::directory_iterator(byId, error)) {
    const std::filesystem::path target = std::filesystem::read_symlink(entry.path(), error);
    if (error) continue;
    const std::filesystem::path port = (target.is_absolute() ? target : byId / target).lexically_normal();
    links.emplace_back(port.generic_string(), entry.path().generic_string());
  }
  std::sort(links.begin(), links.end());
  return links;
}

}  // namespace

std::string MatchSerialPort(const std::vector<SerialDevice>& devices, const std::string& prefix) {
  std::string found;
  int number = 0;
  for (const SerialDevice& device : devices) {
    if (!StartsWithNoCase(device.name, prefix)) continue;
    if (ParseComNumber(device.port, number) || IsDevicePath(device.port)) found = device.port;
  }
  return found;
}

bool IsDevicePath(const std::string& port) { return port.find_first_of("/\\") != std::string::npos; }

int PortNumber(const std::string& port) {
  int number = 0;
  return ParseComNumber(port, number) ? number : 0;
}

std::string PortPrefixOf(int protocol) {
  if (protocol == 1) return USB_SERIAL_PREFIX;
  if (protocol >= 2 && protocol <= 4) return VCP_PREFIX;
  return "";
}

std::string FindModelPort(int protocol, const std::vector<SerialDevice>& devices) {
  if (protocol == 0) return VORN_USB_PORT;
  const std::string prefix = PortPrefixOf(protocol);
  const std::string found = prefix.empty() ? "" : MatchSerialPort(devices, prefix);
  if (IsDevicePath(found)) return found;
  const int number = PortNumber(found);
  return number >= 1 ? "COM" + std::to_string(number) : "";
}

std::string ChoosePort(int protocol, const std::vector<SerialDevice>& devices) {
  const std::string found = FindModelPort(protocol, devices);
  return found.empty() ? "COM1" : found;
}

int FindSerialPort(const char* prefix) { return PortNumber(MatchSerialPort(ListSerialDevices(), prefix)); }

std::string WindowsDeviceNameOf(const std::string& tty) {
  const auto [kind, number] = SplitNumber(tty);
  if (number < 0) return "";
  char name[40];
  if (kind == "ttyACM") {
    snprintf(name, sizeof name, "\\Device\\USBSER%03ld", number);
  } else if (kind == "ttyUSB") {
    snprintf(name, sizeof name, "\\Device\\VCP%ld", number);
  } else if (kind == "ttyS") {
    snprintf(name, sizeof name, "\\Device\\Serial%ld", number);
  } else {
    return "";
  }
  return name;
}

std::vector<SerialDevice> ListTtyDevices(const std::filesystem::path& ttyClass, const std::filesystem::path& devRoot) {
  std::vector<std::string> ttys;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(ttyClass, error)) {
    const std::string tty = entry.path().filename().string();
    if (WindowsDeviceNameOf(tty).empty() || !std::filesystem::exists(entry.path() / "device", error)) continue;
    // A built-in UART slot without hardware says type 0.
    std::ifstream typeFile(entry.path() / "type");
    int type = -1;
    if (typeFile >> type && type == 0) continue;
    ttys.push_back(tty);
  }
  std::sort(ttys.begin(), ttys.end(),
            [](const std::string& a, const std::string& b) { return SplitNumber(a) < SplitNumber(b); });
  const auto links = ListByIdLinks(devRoot);
  std::vector<SerialDevice> devices;
  for (const std::string& tty : ttys) {
    SerialDevice device{WindowsDeviceNameOf(tty), (devRoot / tty).lexically_normal().generic_string()};
    for (const auto& [port, link] : links) {
      if (port == device.port) device.links.push_back(link);
    }
    devices.push_back(device);
  }
  return devices;
}
