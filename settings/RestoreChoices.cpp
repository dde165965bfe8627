#include "settings/RestoreChoices.h"

#include "cutter/ModelTable.h"
#include "settings/PortList.h"

RestoredDevice RestoreDevice(const Choices& saved, const std::vector<SerialDevice>& devices) {
  RestoredDevice restored;
  const int model = saved.model.value_or(0);
  restored.modelIndex = model >= 0 && model < MODEL_COUNT ? model : 0;
  restored.port = saved.port.value_or("");
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
