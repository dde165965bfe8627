// A send from the main dialog, from Send to its end. The cutter is opened on a thread of
// its own, the status line saying which port it waits for, so that a port slow to open
// leaves the window answering and Cancel usable; then the choices are saved, the job file
// written and held, and streamed: on a serial port by a worker thread through the send
// session, for the maker's USB link by the separate program VornUSBSend.exe, which reports
// back with WM_COPYDATA; the flow watches that process, and Stop ends it through a named
// event. The threads reach the window only by posted messages (WM_CUTTEROPENED; the bar's
// position, then WM_SENDFINISHED), so the flow can always stop the worker and wait for it
// before anything is released. The test cut (TestCut.h) goes the same way in the chosen
// material, remembers nothing and leaves the window open for the job's send.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "app/CutterLink.h"
#include "app/HeldFile.h"
#include "app/UsbSender.h"
#include "cutter/ModelTable.h"
#include "pipeline/PlotJob.h"
#include "settings/Choices.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

class CIniFile;

// Posted to the window when a send has ended; wParam is nonzero when the failure has been
// reported already (no "Send finished!" then). Any program can post it, so the flow acts
// on it only when its own worker or its own USB send has ended, and takes the failure from
// what it recorded then.
const UINT WM_SENDFINISHED = WM_USER + 0x400;
// Posted to the window when the thread that opens the cutter is done; the flow acts on it
// only while its own opening runs and that thread has said it is done.
const UINT WM_CUTTEROPENED = WM_USER + 0x401;
// Refreshes the percentage text every 500 ms during a send.
const UINT_PTR PROGRESS_TIMER_ID = 1;
const UINT PROGRESS_TIMER_PERIOD = 500;
// How long a cancelled send may take to finish its command and send the job's ending.
const int STOP_GRACE_MS = 500;
// The pause between the end of a send and the window's closing, as a one-shot timer so
// the window keeps answering.
const UINT_PTR FINISH_TIMER_ID = 2;
const UINT FINISH_PAUSE = 3000;

// Where a send stands. Reports from outside (WM_COPYDATA, WM_SENDFINISHED) are acted on
// only in the stage they belong to, and Send only when idle.
enum SendStage {
  STAGE_IDLE,       // no send: Send starts one
  STAGE_OPENING,    // a thread opens the cutter's port; Stop leaves it behind
  STAGE_SERIAL,     // the worker streams to a COM port
  STAGE_USB,        // VornUSBSend.exe streams and reports by WM_COPYDATA
  STAGE_FINISHING,  // ended; the pause before the end releases the driver
  STAGE_CLOSING,    // the end told: the window closes, and Send starts no other send
};

// What one send goes out with.
struct SendRequest {
  CutterOpener open;  // how the cutter is opened
  CutterModel model;
  std::string port;                // the Port list's text
  bool testCut = false;            // the test cut instead of the job
  std::string jobFilePath;         // "" when the temporary folder's path is too long
  std::string testCutDrawingPath;  // where the test cut's drawing is written
};

class CSendFlow {
 public:
  // `owner` receives the messages and timers above and shows the messages; `enable` sets
  // its controls for a send under way (true) or for the job again (false).
  CSendFlow(const CDialog& owner, CProgressBar& bar, const CWindow& status, CIniFile& settings, CPlotJob& job,
            std::function<void(bool sending)> enable);
  CSendFlow(const CSendFlow&) = delete;
  CSendFlow& operator=(const CSendFlow&) = delete;
  ~CSendFlow() { StopWorker(); }

  bool Idle() const { return m_stage == STAGE_IDLE; }
  // Starts opening the cutter; a thread that cannot be started is told at once.
  void Start(const SendRequest& request);
  // WM_CUTTEROPENED: after this flow's own opening, the send goes on with `choices` (the
  // controls' at this moment): they are saved (not the test cut's), the job file written
  // and held, the stream or the USB sender started; or it ends here with the reason.
  void OnCutterOpened(Choices choices);
  // WM_SENDFINISHED: the end of this flow's own stream or USB send starts the pause.
  void OnSendFinished();
  // A report of the USB sender (WM_COPYDATA); `data` may be null.
  void OnReport(const COPYDATASTRUCT* data) { m_usbSender.OnReport(data); }
  // A timer of the owner: the percentage shown, the USB sender watched, and after the
  // pause the end: controls restored, driver released, the result told and, after the
  // job's send, the window closed.
  void OnTimer(UINT_PTR id);
  // Cancel: a running send is stopped and waited for, everything released.
  void Stop();

 private:
  // What follows a successful opening. False, after a message, when the send ends here.
  bool Go(Choices choices);
  void Finish();
  // Stops the worker of a serial send, if one runs, and waits for it to end; an opening
  // thread is left to end by itself.
  void StopWorker();
  // The serial worker: streams the job file through the session's driver and posts the
  // bar's position and, at the end, WM_SENDFINISHED.
  static void StreamThreadProc(CSendFlow* flow);

  const CDialog& m_owner;
  CProgressBar& m_bar;
  const CWindow& m_status;
  CIniFile& m_settings;
  CPlotJob& m_job;
  std::function<void(bool)> m_enable;

  SendRequest m_request;                    // the current or last send's
  std::shared_ptr<CutterLink> m_link;       // the current or last send's session; null when released
  std::thread m_thread;                     // the thread that opens the cutter, then the serial worker
  std::atomic<bool> m_bStreamEnded{false};  // set by the worker when Stream has returned
  SendOutcome m_streamOutcome = SEND_DONE;  // written by the worker before it posts the end
  SendStage m_stage = STAGE_IDLE;
  CUsbSender m_usbSender{m_owner, m_bar, WM_SENDFINISHED};  // watched by the progress timer
  bool m_bFailed = false;                                   // the ended send's failure flag, for Finish
  CHeldFile m_jobFile;                                      // the job file, held from its writing to the send's end
};
