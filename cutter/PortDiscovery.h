// Finding the COM port of a cutter by the device name its driver registers. The system
// gives a list of (device name, port) pairs: the registry's SERIALCOMM list on Windows
// ("\Device\VCP0" -> "COM7"), the serial ttys on Linux, named the way Windows names the
// same hardware ("\Device\USBSER000" -> "/dev/ttyACM0").
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct SerialDevice {
  std::string name;  // device name, "\Device\VCP0"
  std::string port;  // port name, "COM7", or a device path on Linux
  // Linux: the stable names that lead to the same tty, "/dev/serial/by-id/usb-...-port0",
  // in name order; none on Windows.
  std::vector<std::string> links = {};
};

// Device name prefixes of the cutters' drivers.
const char* const USB_SERIAL_PREFIX = "\\Device\\USBSER000";  // the cutter's own USB-serial port
const char* const VCP_PREFIX = "\\Device\\VCP0";              // a virtual COM port adapter
// The Port list entry of the maker's USB link.
const char* const VORN_USB_PORT = "VORN_USB";

// The port of the last device (in list order) whose name begins with `prefix`, compared
// without regard to letter case, and whose port is a "COMn" name or a device path; ""
// when none matches.
std::string MatchSerialPort(const std::vector<SerialDevice>& devices, const std::string& prefix);

// The number of a "COMn" port name; 0 for anything else ("VORN_USB", a path).
int PortNumber(const std::string& port);

// True for a port given as a device path ("/dev/ttyUSB0", "\\.\COM12") rather than a name.
bool IsDevicePath(const std::string& port);

// The device name prefix searched for a protocol's cutters; "" for protocol 0 (the USB
// link) and unknown protocols.
std::string PortPrefixOf(int protocol);

// The port a protocol's rule finds: "VORN_USB" for protocol 0; the port found under the
// protocol's prefix (COM numbers above 30 kept); "" when no device matches.
std::string FindModelPort(int protocol, const std::vector<SerialDevice>& devices);

// The port the main dialog selects for a protocol: FindModelPort's, else "COM1".
std::string ChoosePort(int protocol, const std::vector<SerialDevice>& devices);

// The port the command line takes when a protocol's rule finds no device: "COM1" on
// Windows, as the dialog selects; none ("") on Linux, where COM1 stands for /dev/ttyS0, a
// built-in port that takes bytes with no cutter behind it.
std::string UnmatchedPortFallback();

// The device that the port "COMn" opens: "/dev/ttyS(n-1)" on Linux, "\\.\COMn" on Windows.
std::string ComDeviceName(int number);

// A port as the user is shown it: a COM name with the device it stands for where that is
// another name ("COM1 (/dev/ttyS0)" on Linux); anything else as it is.
std::string PortWithDevice(const std::string& port);

// The serial devices of this system (registry on Windows, ttys on Linux).
std::vector<SerialDevice> ListSerialDevices();

// The COM number registered for a device name beginning with `prefix`, or 0.
int FindSerialPort(const char* prefix);

// Linux: the Windows device name of the hardware behind a tty: ttyACMn (USB CDC-ACM,
// served by usbser on Windows) is "\Device\USBSER%03d", ttyUSBn (USB-serial adapter) is
// "\Device\VCPn", ttySn is "\Device\Serialn"; "" for other ttys.
std::string WindowsDeviceNameOf(const std::string& tty);

// The serial devices below a sysfs tty class folder (/sys/class/tty): the ttys with a
// device behind them and a Windows device name, with the port "<devRoot>/<tty>", in
// natural order (ttyUSB2 before ttyUSB10), each with the symbolic links in
// "<devRoot>/serial/by-id" that point at its port. Built-in UART slots that report no
// hardware (type 0) are left out.
std::vector<SerialDevice> ListTtyDevices(const std::filesystem::path& ttyClass,
                                         const std::filesystem::path& devRoot = "/dev");
