#include "app/CutterLink.h"

#include <system_error>

namespace {

// The opening thread: opens the link's driver and says so, through the link and a posted
// message only, as the window may be gone by then (its share of the link then the last).
void OpenThreadProc(std::shared_ptr<CutterLink> link, CutterOpener open, HWND window, UINT message, CutterModel model,
                    std::string portText, std::string usbSerialPort) {
  link->openOutcome = open(link->session, model, portText, usbSerialPort);
  link->opened = true;
  PostMessageA(window, message, 0, 0);
}

}  // namespace

SendOutcome OpenSession(CSendSession& session, const CutterModel& model, const std::string& portText,
                        const std::string& usbSerialPort) {
  return session.Open(model, portText, usbSerialPort);
}

bool StartOpening(std::thread& thread, const std::shared_ptr<CutterLink>& link, const CutterOpener& open, HWND window,
                  UINT message, const CutterModel& model, const std::string& portText,
                  const std::string& usbSerialPort) {
  try {
    thread = std::thread(OpenThreadProc, link, open, window, message, model, portText, usbSerialPort);
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}
