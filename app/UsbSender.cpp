#include "app/UsbSender.h"

#include "base/ModuleDir.h"
#include "base/WideText.h"
#include "cutter/UsbSendStatus.h"

CUsbSender::~CUsbSender() {
  if (m_process.hProcess) CloseHandle(m_process.hProcess);
  if (m_process.hThread) CloseHandle(m_process.hThread);
  if (m_hStop) CloseHandle(m_hStop);
}

bool CUsbSender::Start(const std::string& jobFilePath) {
  m_bEnded = false;
  // The path goes as UTF-16, so any character of the temporary folder's name survives.
  std::wstring commandLine = WideFromUtf8("VornUSBSend.exe " + jobFilePath);
  const std::wstring folder = WideFromUtf8(GetModuleDir());
  const std::wstring program = folder + L"VornUSBSend.exe";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  // The stop exists before the sender looks for it; without it, Cancel cannot stop the
  // sender but still ends the dialog.
  if (!m_hStop) m_hStop = CreateEventA(nullptr, TRUE, FALSE, UsbStopEventName(GetCurrentProcessId()).c_str());
  if (m_hStop) ResetEvent(m_hStop);
  if (!CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &process)) {
    return false;
  }
  if (m_process.hProcess) CloseHandle(m_process.hProcess);
  if (m_process.hThread) CloseHandle(m_process.hThread);
  m_process = process;
  m_bActive = true;
  return true;
}

void CUsbSender::OnReport(const COPYDATASTRUCT* data) {
  // Only the sender started, while it runs, reports here.
  if (!data || !m_bActive) return;
  const UsbStatusEffect effect =
      UsbStatusEffectOf(ParseUsbStatus(static_cast<const char*>(data->lpData), data->lpData ? data->cbData : 0));
  if (effect.m_bEndsSend) {
    m_bActive = false;
    m_bEnded = true;
    m_bFailed = effect.m_bFailed;
  }
  if (effect.m_pMessage) m_owner.ShowMessage(effect.m_pMessage, m_owner.m_sProgramName, MB_OK);
  if (effect.m_nProgress >= 0) m_bar.SetPos(effect.m_nProgress);
  if (effect.m_bEndsSend) PostMessageA(m_owner.m_hWnd, m_endMessage, effect.m_bFailed ? 1 : 0, 0);
}

void CUsbSender::Watch() {
  // Every report is sent, not posted, so a sender that has ended has had each of its
  // reports handled: one that ended the send would have been seen.
  if (!m_bActive || WaitForSingleObject(m_process.hProcess, 0) != WAIT_OBJECT_0) return;
  DWORD exitCode = 0;
  GetExitCodeProcess(m_process.hProcess, &exitCode);
  m_bActive = false;
  m_bEnded = true;
  m_bFailed = true;
  m_owner.ShowMessage(UsbSenderEndText(exitCode), m_owner.m_sProgramName, MB_OK | MB_ICONWARNING);
  PostMessageA(m_owner.m_hWnd, m_endMessage, 1, 0);
}

// The sender sends the rest of the command in flight and the job's ending, then ends. Its
// reports meanwhile are sent messages that it waits on: they are answered, and no longer
// acted on. An older sender that knows no stop, or one held up by its library, is left
// to run when the wait is over.
void CUsbSender::Stop() {
  m_bActive = false;
  const HANDLE sender = m_process.hProcess;
  if (!sender || WaitForSingleObject(sender, 0) == WAIT_OBJECT_0) return;
  if (m_hStop) SetEvent(m_hStop);
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < USB_STOP_WAIT_MS; waited = GetTickCount() - start) {
    if (MsgWaitForMultipleObjects(1, &sender, FALSE, USB_STOP_WAIT_MS - waited, QS_SENDMESSAGE) != WAIT_OBJECT_0 + 1)
      return;  // ended, or the time is up
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
}
