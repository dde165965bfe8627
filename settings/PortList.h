// The entries of the dialog's Port list, which the settings file stores by index:
//
//   0 "VORN_USB"   the maker's USB link
//   1 "COM1" ... 30 "COM30"
//
// A COM port above 30 that the automatic choice finds has no entry of its own; the dialog
// appends one for it (see RestoreChoices.h).
#pragma once

#include <string>

const int PORT_LIST_COUNT = 31;

// The text of entry `index`: "VORN_USB" for 0, "COM%d" for 1..30; "" outside the list.
std::string PortListText(int index);

// The entry that shows `port` ("VORN_USB", "COM1".."COM30"); -1 for any other text.
int PortListIndex(const std::string& port);
