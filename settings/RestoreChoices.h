// What the dialog shows at start-up for the saved model and port: the saved entries, or,
// when a model other than the first was saved with the "VORN_USB" entry, the port that
// choosing that model in the Device list picks. The command line restores through the same
// rules.
#pragma once

#include <string>
#include <vector>

#include "cutter/PortDiscovery.h"
#include "settings/Choices.h"

struct RestoredDevice {
  int modelIndex = 0;
  // The Port list entry to select: a PortListText, or "COMn" above 30 (the dialog appends
  // an entry for it), or a device path on Linux.
  std::string port;
  // Whether the Port list is enabled after the restore (before the dialog's final rule,
  // which enables it exactly when a job is loaded).
  bool portListEnabled = false;
  // True when Port is the automatic choice for the model rather than the saved entry.
  bool portChosenForModel = false;
};

// `saved` as ReadChoices gives it (no port, or an empty one, for the Port list's entry 0);
// `devices` is the system's serial device list that the automatic choice searches.
RestoredDevice RestoreDevice(const Choices& saved, const std::vector<SerialDevice>& devices);
