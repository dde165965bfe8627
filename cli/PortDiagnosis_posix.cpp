// Linux: the USB ids from sysfs, the device's owner, group and mode from its inode, the holder of a busy
// device from /proc.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli/PortDiagnosis.h"

namespace fs = std::filesystem;

namespace {

// How far up from a tty's sysfs device the USB device may sit (interface, then device).
const int USB_DEVICE_DEPTH = 4;
// At most this many processes are looked at for the holder of a busy device.
const int HOLDER_SEARCH_PROCESSES = 4096;

std::string FirstLine(const fs::path& file) {
  std::ifstream in(file);
  std::string line;
  std::getline(in, line);
  return line;
}

// "process 1234 (minicom)"; "" for no process.
std::string ProcessText(const std::string& pid) {
  return pid.empty() ? "" : "process " + pid + " (" + FirstLine(fs::path("/proc") / pid / "comm") + ")";
}

// The process holding a whole-file lock on the inode `wanted`, as /proc/locks lists them:
// "1: FLOCK  ADVISORY  WRITE 1234 00:18:3 0 EOF" (the device in hexadecimal, the inode in
// decimal); "" when none does.
std::string LockHolderOf(const struct stat& wanted) {
  std::ifstream locks("/proc/locks");
  std::string line;
  while (std::getline(locks, line)) {
    std::istringstream fields(line);
    std::string number, kind, mode, access, pid, inode;
    fields >> number >> kind >> mode >> access >> pid >> inode;
    unsigned devMajor = 0, devMinor = 0;
    unsigned long long node = 0;
    if (kind == "->" || sscanf(inode.c_str(), "%x:%x:%llu", &devMajor, &devMinor, &node) != 3) continue;
    if (devMajor == major(wanted.st_dev) && devMinor == minor(wanted.st_dev) && node == wanted.st_ino)
      return ProcessText(pid);
  }
  return "";
}

// A process other than this one that holds a lock on `device`, or else has it open; "" when
// /proc does not tell (another user's processes are not readable).
std::string HolderOf(const std::string& device) {
  struct stat wanted;
  if (stat(device.c_str(), &wanted) != 0 || !S_ISCHR(wanted.st_mode)) return "";
  const std::string locker = LockHolderOf(wanted);
  if (!locker.empty()) return locker;
  const std::string self = std::to_string(getpid());
  std::error_code error;
  int looked = 0;
  for (fs::directory_iterator p("/proc", error), end; !error && p != end && looked < HOLDER_SEARCH_PROCESSES;
       p.increment(error)) {
    const std::string pid = p->path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos || pid == self) continue;
    ++looked;
    std::error_code unreadable;
    for (fs::directory_iterator fd(p->path() / "fd", unreadable); !unreadable && fd != end; fd.increment(unreadable)) {
      struct stat opened;
      if (stat(fd->path().c_str(), &opened) == 0 && S_ISCHR(opened.st_mode) && opened.st_rdev == wanted.st_rdev)
        return ProcessText(pid);
    }
  }
  return "";
}

// For a device the user may not open: the group to join when its group may read and write
// it and is not root's (joining root's would give away the whole system); otherwise who
// may open it, and a udev rule that gives it to a group.
std::string PermissionRemedy(const std::string& device) {
  struct stat st;
  if (stat(device.c_str(), &st) != 0) return "";
  const group* grp = getgrgid(st.st_gid);
  const std::string groupName = grp ? grp->gr_name : std::to_string(st.st_gid);
  if ((st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP) && st.st_gid != 0) {
    return device + " belongs to the group " + groupName + ": join it with \"sudo usermod -aG " + groupName +
           " $USER\", then log out and in again";
  }
  const passwd* owner = getpwuid(st.st_uid);
  const std::string ownerName = owner ? owner->pw_name : std::to_string(st.st_uid);
  const bool groupMay = (st.st_mode & (S_IRGRP | S_IWGRP)) == (S_IRGRP | S_IWGRP);
  std::error_code error;
  const fs::path tty = fs::canonical(device, error);
  const std::string kernelName = error ? fs::path(device).filename().string() : tty.filename().string();
  return "only " + ownerName + (groupMay ? " and the group " + groupName : "") +
         " may open it; a udev rule can give it to a group of yours: the line SUBSYSTEM==\"tty\", KERNEL==\"" +
         kernelName + "\", GROUP=\"dialout\", MODE=\"0660\" in /etc/udev/rules.d/99-cutter.rules, then " +
         "\"sudo udevadm trigger\" and join dialout";
}

}  // namespace

std::string UsbIdsOf(const std::string& device) {
  std::error_code error;
  const fs::path tty = fs::canonical(device, error);
  if (error) return "";
  fs::path node = fs::canonical(fs::path("/sys/class/tty") / tty.filename() / "device", error);
  if (error) return "";
  for (int depth = 0; depth < USB_DEVICE_DEPTH && node.has_relative_path(); ++depth, node = node.parent_path()) {
    const std::string vendor = FirstLine(node / "idVendor");
    const std::string product = FirstLine(node / "idProduct");
    if (!vendor.empty() && !product.empty()) return "USB " + vendor + ":" + product;
  }
  return "";
}

std::string OpenFailureRemedy(const std::string& device, int error) {
  switch (error) {
    case EACCES: return PermissionRemedy(device);
    case EBUSY: {
      const std::string holder = HolderOf(device);
      return (holder.empty() ? "another program" : holder) + " has it open: end that program, then try again";
    }
    case ENOENT:
    case ENODEV:
    case ENXIO: return "is the cutter plugged in and switched on? \"plotgate ports\" lists the serial devices found";
    default: return "";
  }
}
