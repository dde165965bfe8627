#include "RestoreChoices.h"

#include "ModelTable.h"
#include "PortList.h"

RestoredDevice RestoreDevice(const SavedChoices& saved, const std::vector<SerialDevice>& devices) {
  RestoredDevice restored;
  restored.ModelIndex = saved.ModelIndex >= 0 && saved.ModelIndex < MODEL_COUNT ? saved.ModelIndex : 0;
  restored.Port = PortListText(saved.PortIndex);
  if (restored.Port.empty()) restored.Port = PortListText(0);
  if (restored.ModelIndex == 0) {
    // The first model keeps whatever entry was saved, and the user may change it.
    restored.PortListEnabled = true;
  } else if (restored.Port == VORN_USB_PORT) {
    // As if the model had just been chosen in the Device list.
    const int protocol = ModelTable[restored.ModelIndex].ProtocolNumber;
    restored.Port = ChoosePort(protocol, devices);
    restored.PortListEnabled = protocol != 0;
    restored.PortChosenForModel = true;
  }
  return restored;
}
