// What the dialog shows at start-up for the saved model and port: the saved entries, or,
// when a model other than the first was saved with the "VORN_USB" entry, the port that
// choosing that model in the Device list picks; and the offset options the saved check
// boxes and edits stand for. The command line restores through the same rules.
#pragma once

#include <string>
#include <vector>

#include "cutter/PortDiscovery.h"
#include "pipeline/JobFileWriter.h"
#include "settings/Settings.h"

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

// `saved` as ReadSavedChoices gives it (indices already in range); `devices` is the
// system's serial device list that the automatic choice searches.
RestoredDevice RestoreDevice(const SavedChoices& saved, const std::vector<SerialDevice>& devices);

// The offset options of the saved choices, as a send with those controls writes the job:
// each box ticked when its saved value is nonzero, each text as saved (an unticked box
// keeps its text too).
OffsetOptions RestoreOffsets(const SavedChoices& saved);
