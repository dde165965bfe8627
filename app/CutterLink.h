// Opening a cutter's port on a thread of its own, so that a port slow to open (a Bluetooth
// serial port whose device is off) leaves the window answering and Cancel usable. The
// main dialog's Send and the Registration window's jog open their cutter this way.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "cutter/ModelTable.h"
#include "cutter/SendSession.h"

// One opening's session, shared by the window and the thread that opens its cutter: the
// window does not wait for a port slow to open, so that thread may outlive it; it holds
// its own share, touches nothing else, and the last owner disposes of the driver.
struct CutterLink {
  CSendSession session;
  SendOutcome openOutcome = SEND_DONE;  // written by the opening thread before `opened`
  std::atomic<bool> opened{false};      // set by the opening thread when Open has returned
};

// Opens `session`'s driver for a model on a port (the port's text, the USB-serial port
// found), as CSendSession::Open does; runs on the opening thread.
using CutterOpener = std::function<SendOutcome(CSendSession& session, const CutterModel& model,
                                               const std::string& portText, const std::string& usbSerialPort)>;

// The session's own Open: what a window opens its cutter with unless a test says otherwise.
SendOutcome OpenSession(CSendSession& session, const CutterModel& model, const std::string& portText,
                        const std::string& usbSerialPort);

// Starts `thread` opening `link`'s cutter with `open`; when Open has returned, the thread
// posts `message` to `window`, which may be gone by then. False when no thread could be
// started.
bool StartOpening(std::thread& thread, const std::shared_ptr<CutterLink>& link, const CutterOpener& open, HWND window,
                  UINT message, const CutterModel& model, const std::string& portText,
                  const std::string& usbSerialPort);
