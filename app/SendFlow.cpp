#include "app/SendFlow.h"

#include <cstdio>
#include <system_error>

#include "base/SystemError.h"
#include "cutter/PortDiscovery.h"
#include "pipeline/TestCut.h"
#include "settings/FileException.h"
#include "settings/IniFile.h"
#include "settings/SettingsLock.h"

CSendFlow::CSendFlow(const CDialog& owner, CProgressBar& bar, const CWindow& status, CIniFile& settings, CPlotJob& job,
                     std::function<void(bool sending)> enable)
    : m_owner(owner), m_bar(bar), m_status(status), m_settings(settings), m_job(job), m_enable(std::move(enable)) {}

void CSendFlow::Start(const SendRequest& request) {
  m_request = request;
  m_link = std::make_shared<CutterLink>();
  if (!StartOpening(m_thread, m_link, request.open, m_owner.m_hWnd, WM_CUTTEROPENED, request.model, request.port,
                    MatchSerialPort(ListSerialDevices(), USB_SERIAL_PREFIX))) {
    m_owner.ShowMessage(SendOutcomeText(SEND_OPEN_FAILED), m_owner.m_sProgramName, MB_OK);
    return;
  }
  m_stage = STAGE_OPENING;
  m_enable(true);
  m_status.SetText("Opening " + request.port + "...");
}

void CSendFlow::OnCutterOpened(Choices choices) {
  // Only the end of this flow's own opening: a late, repeated or forged message never
  // makes the interface thread wait for an opening still under way.
  if (m_stage != STAGE_OPENING || !m_link->opened) return;
  m_thread.join();
  m_status.SetText("");
  m_stage = STAGE_IDLE;
  if (!Go(std::move(choices))) m_enable(false);
}

bool CSendFlow::Go(Choices choices) {
  CSendSession& session = m_link->session;
  const SendOutcome opened = m_link->openOutcome;
  const std::string& caption = m_owner.m_sProgramName;
  if (opened != SEND_DONE) {
    m_owner.ShowMessage(SendOutcomeText(opened == SEND_UNKNOWN_CUTTER ? opened : SEND_OPEN_FAILED), caption, MB_OK);
    return false;
  }
  const bool testCut = m_request.testCut;
  if (testCut) LeaveOutJobChoices(choices);  // and remembers nothing
  try {
    // The whole set at once, never mixed with a send of the command line's.
    const CSettingsLock lock(m_settings.IniPath);
    if (!testCut) WriteChoices(m_settings, choices);
  } catch (const CFileException& error) {
    // A settings file that cannot be written (read-only, a full disk) ends the send before
    // anything is sent; the port is closed again.
    session.Dispose();
    m_owner.ShowMessage(error.what(), caption, MB_OK | MB_ICONWARNING);
    return false;
  }
  const std::string& path = m_request.jobFilePath;
  CPlotJob testCutJob;
  if ((testCut && !LoadTestCut(testCutJob, m_request.testCutDrawingPath, CutOrderFrom(choices))) || path.empty() ||
      session.WriteJobFile(testCut ? testCutJob : m_job, path, OffsetsOf(choices)) != SEND_DONE ||
      !m_jobFile.Hold(path)) {
    m_owner.ShowMessage(SendOutcomeText(SEND_JOB_FILE_FAILED), caption, MB_OK);
    return false;
  }
  if (session.Settings().mode != MODE_VENDOR_USB) {
    try {
      m_bStreamEnded = false;
      m_thread = std::thread(StreamThreadProc, this);
    } catch (const std::system_error&) {
      m_jobFile.Release();
      m_owner.ShowMessage(SendOutcomeText(SEND_JOB_FILE_FAILED), caption, MB_OK);
      return false;
    }
    m_stage = STAGE_SERIAL;
  } else {
    if (!m_usbSender.Start(path)) {
      m_jobFile.Release();
      m_owner.ShowMessage("VornUSBSend error1", caption, MB_OK);
      return false;
    }
    m_stage = STAGE_USB;
  }
  SetTimer(m_owner.m_hWnd, PROGRESS_TIMER_ID, PROGRESS_TIMER_PERIOD, nullptr);
  return true;
}

void CSendFlow::StreamThreadProc(CSendFlow* flow) {
  // Posted, not sent: the interface thread may be waiting for this thread to end.
  const HWND bar = flow->m_bar.m_hWnd;
  int shown = -1;
  flow->m_streamOutcome = flow->m_link->session.Stream([bar, &shown](int percent) {
    if (percent == shown) return;
    shown = percent;
    PostMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(percent), 0);
  });
  flow->m_bStreamEnded = true;
  PostMessageA(flow->m_owner.m_hWnd, WM_SENDFINISHED, flow->m_streamOutcome == SEND_WRITE_FAILED ? 1 : 0, 0);
}

void CSendFlow::OnTimer(UINT_PTR id) {
  char text[16];
  snprintf(text, sizeof text, "%d%%", m_bar.GetPos());
  m_bar.SetText(text);
  m_usbSender.Watch();
  if (id != FINISH_TIMER_ID) return;
  KillTimer(m_owner.m_hWnd, FINISH_TIMER_ID);
  // A timer message posted by another program finishes nothing.
  if (m_stage == STAGE_FINISHING) Finish();
}

void CSendFlow::OnSendFinished() {
  // Once per send, and only for an end this flow saw happen: a late, repeated or forged
  // report ends nothing, and never makes the interface thread wait for a running worker.
  if (m_stage == STAGE_SERIAL && m_bStreamEnded) {
    // The worker has posted its last message and is ending.
    m_thread.join();
    const std::string& caption = m_owner.m_sProgramName;
    if (m_streamOutcome == SEND_JOB_FILE_UNREADABLE)
      m_owner.ShowMessage(SendOutcomeText(m_streamOutcome), caption, MB_OK);
    if (m_streamOutcome == SEND_WRITE_FAILED) {
      m_owner.ShowMessage(SystemErrorText(m_link->session.SystemError()), caption, MB_OK | MB_ICONINFORMATION);
    }
    m_bFailed = m_streamOutcome == SEND_WRITE_FAILED;
  } else if (m_stage == STAGE_USB && m_usbSender.Ended()) {
    m_bFailed = m_usbSender.Failed();
  } else {
    return;
  }
  m_stage = STAGE_FINISHING;
  m_bar.SetPos(100);
  SetTimer(m_owner.m_hWnd, FINISH_TIMER_ID, FINISH_PAUSE, nullptr);
}

void CSendFlow::Finish() {
  const HWND window = m_owner.m_hWnd;
  KillTimer(window, PROGRESS_TIMER_ID);
  m_enable(false);
  m_bar.SetPos(0);
  m_bar.SetText("0%");
  m_link.reset();
  m_jobFile.Release();
  if (m_request.testCut) {
    m_stage = STAGE_IDLE;  // the user checks the test cut, then sends the job
    if (!m_bFailed) m_owner.ShowMessage(TEST_CUT_SENT_TEXT, m_owner.m_sProgramName, MB_OK);
    return;
  }
  // Send is enabled again, as after any send, but the window is about to close: a click
  // while "Send finished!" is up must not start a send that the closing then cuts short.
  m_stage = STAGE_CLOSING;
  if (!m_bFailed) m_owner.ShowMessage("Send finished!", m_owner.m_sProgramName, MB_OK);
  InvalidateRect(window, nullptr, TRUE);
  UpdateWindow(window);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

// The cancel first lets the worker finish the command in flight and send the job's ending,
// so the cutter lifts its pen; a line held back longer than STOP_GRACE_MS (a cutter that
// holds CTS off) has its write aborted instead, so the window never hangs.
void CSendFlow::StopWorker() {
  if (!m_thread.joinable()) return;
  if (m_stage == STAGE_OPENING) {
    // A port slow to open is not waited for: the thread holds its own share of the link,
    // and the driver, open or not, is disposed of when that thread lets go of it.
    m_thread.detach();
    return;
  }
  CSendSession& session = m_link->session;
  session.Cancel();
  for (int waited = 0; !m_bStreamEnded && waited < STOP_GRACE_MS; waited += 10) Sleep(10);
  if (!m_bStreamEnded) session.Abort();
  m_thread.join();
}

void CSendFlow::Stop() {
  StopWorker();
  m_stage = STAGE_IDLE;
  m_usbSender.Stop();
  KillTimer(m_owner.m_hWnd, PROGRESS_TIMER_ID);
  KillTimer(m_owner.m_hWnd, FINISH_TIMER_ID);
  m_link.reset();
  m_jobFile.Release();
}
