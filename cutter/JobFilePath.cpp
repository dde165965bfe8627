#include "cutter/JobFilePath.h"

#include "cutter/UsbSendJob.h"

std::string JobFilePathIn(const std::string& folder, const std::string& name) {
  if (folder.empty() || folder.size() + name.size() >= USB_PATH_BUFFER_SIZE) return "";
  return folder + name;
}
