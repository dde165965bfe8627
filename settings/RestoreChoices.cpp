#include "settings/RestoreChoices.h"

#include "cutter/ModelTable.h"
#include "settings/PortList.h"

RestoredDevice RestoreDevice(const SavedChoices& saved, const std::vector<SerialDevice>& devices) {
  RestoredDevice restored;
  restored.modelIndex = saved.modelIndex >= 0 && saved.modelIndex < MODEL_COUNT ? saved.modelIndex : 0;
  restored.port = PortListText(saved.portIndex);
  if (restored.port.empty()) restored.port = PortListText(0);
  if (restored.modelIndex == 0) {
    // The first model keeps whatever entry was saved, and the user may change it.
    restored.portListEnabled = true;
  } else if (restored.port == VORN_USB_PORT) {
    // As if the model had just been chosen in the Device list.
    const int protocol = ModelTable[restored.modelIndex].ProtocolNumber;
    restored.port = ChoosePort(protocol, devices);
    restored.portListEnabled = protocol != 0;
    restored.portChosenForModel = true;
  }
  return restored;
}

OffsetOptions RestoreOffsets(const SavedChoices& saved) {
  OffsetOptions options;
  options.bladeOffset = saved.chkBladeOffset != 0;
  options.bladeOffsetText = saved.bladeOffsetText;
  options.overCut = saved.chkOverCut != 0;
  options.overCutText = saved.overCutText;
  return options;
}
