// What the system can tell about a serial device besides whether it opens: facts that help
// the user recognise the device, and the usual remedy when it cannot be opened. Linux
// reads sysfs, /dev and /proc; Windows adds nothing to the registry's device name but the
// remedies.
#pragma once

#include <string>

// "USB 0403:6001" (vendor:product) for a tty on a USB device; "" when the system does not
// say, and always on Windows.
std::string UsbIdsOf(const std::string& device);

// What usually cures an open of `device` that failed with the system error `error`: the
// group to join when permission is denied (only a group that may read and write it and is
// not root's; otherwise who may open it and a udev rule that gives it to a group), the process that holds a busy
// device, what to look at when there is no such device; "" when nothing more is known.
std::string OpenFailureRemedy(const std::string& device, int error);
