// Windows: the remedies for the usual COM port errors; the registry's device name is all
// that is known about the hardware.
#include <windows.h>

#include "cli/PortDiagnosis.h"

std::string UsbIdsOf(const std::string&) { return ""; }

std::string OpenFailureRemedy(const std::string&, int error) {
  switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      return "another program (a second sender, a terminal program) has the port open: close it, then try again";
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return "is the cutter plugged in and switched on? \"plotgate-cli ports\" lists the COM ports found";
    default: return "";
  }
}
