#include "settings/PortList.h"

#include <cstdio>

#include "cutter/PortDiscovery.h"

std::string PortListText(int index) {
  if (index == 0) return VORN_USB_PORT;
  if (index < 1 || index >= PORT_LIST_COUNT) return "";
  char text[16];
  snprintf(text, sizeof text, "COM%d", index);
  return text;
}

int PortListIndex(const std::string& port) {
  for (int index = 0; index < PORT_LIST_COUNT; ++index) {
    if (PortListText(index) == port) return index;
  }
  return -1;
}
