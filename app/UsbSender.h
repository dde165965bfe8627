// The dialog's side of a send over the maker's USB link: the separate program
// VornUSBSend.exe streams the job file and reports back to the dialog with WM_COPYDATA.
// The sender starts it, acts on its reports (a message box, the progress bar, the end of
// the send), watches that it has not ended without a last report, and stops it through a
// named event. Between a start and the send's end (a report that ends it, the process
// ended, a stop) it acts on the reports; otherwise they change nothing.
#pragma once

#include <windows.h>

#include <string>

#include "ui/Controls.h"
#include "ui/Dialog.h"

// How long a stop waits for the sender to send the job's ending and end: it waits for the
// cutter's ready byte before each write, and a write may take a while.
const DWORD USB_STOP_WAIT_MS = 2000;

class CUsbSender {
 public:
  // `owner` shows the sender's messages and is posted `endMessage` when the send ends
  // (wParam 1 when it failed, with the reason shown already); `bar` shows the progress.
  CUsbSender(const CDialog& owner, const CProgressBar& bar, UINT endMessage)
      : m_owner(owner), m_bar(bar), m_endMessage(endMessage) {}
  CUsbSender(const CUsbSender&) = delete;
  CUsbSender& operator=(const CUsbSender&) = delete;
  ~CUsbSender();

  // Starts the VornUSBSend.exe of the program's folder, by its full path and in that folder,
  // with the command line "VornUSBSend.exe PATH" (the path unquoted), without waiting for
  // it; false when the process could not be created.
  bool Start(const std::string& jobFilePath);
  // A report of the sender; `data` may be null (a message from anyone).
  void OnReport(const COPYDATASTRUCT* data);
  // Ends a send whose sender has ended without its final report, saying why.
  void Watch();
  // Asks a running sender to stop and waits for it to end, at most USB_STOP_WAIT_MS; its
  // reports meanwhile are answered and no longer acted on.
  void Stop();
  // The send has ended (a report said so, or the sender ended without one), and failed.
  bool Ended() const { return m_bEnded; }
  bool Failed() const { return m_bFailed; }

 private:
  const CDialog& m_owner;
  const CProgressBar& m_bar;
  UINT m_endMessage;
  bool m_bActive = false;              // started, and neither ended nor stopped
  bool m_bEnded = false;               // the send has ended ...
  bool m_bFailed = false;              // ... and failed, with its message shown
  PROCESS_INFORMATION m_process = {};  // the running or last sender's handles
  HANDLE m_hStop = nullptr;            // the sender's stop event
};
