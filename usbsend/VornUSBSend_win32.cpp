// VornUSBSend: sends one job file to a cutter on the maker's USB link. The main program
// starts it as "VornUSBSend.exe PATH" and never waits for it; the sender has no window of
// its own, finds the main program's dialog by its title and tells it how far the send has
// come (or why it stopped) in WM_COPYDATA reports. The main program's Cancel sets a named
// event (UsbStopEventName) that ends the send with the job's ending and no more reports.
// It exits with 0 in every case.
#include <windows.h>
// After windows.h, on which it builds.
#include <tlhelp32.h>

#include <cstdint>
#include <cstdio>
#include <cwchar>
#include <string>

#include "base/SafeLibrary.h"
#include "base/WideText.h"
#include "cutter/MappedFile.h"
#include "cutter/UsbSendJob.h"
#include "cutter/UsbSendStatus.h"

namespace {

// One status as its decimal text with the terminating zero. Sent, not posted: the sender
// waits while the main window handles the report, an error box included.
void Report(HWND window, int status) {
  char text[16];
  const int length = snprintf(text, sizeof text, "%d", status);
  COPYDATASTRUCT record = {};
  record.dwData = 0;
  record.cbData = static_cast<DWORD>(length + 1);
  record.lpData = text;
  SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

// "VornLib.dll" loaded from the program's folder, the system's folders or PATH, never the
// current folder, and its four entries, found by name. The library is freed with the
// object.
class CVornLibLink : public CUsbLink {
 public:
  CVornLibLink() = default;
  CVornLibLink(const CVornLibLink&) = delete;
  CVornLibLink& operator=(const CVornLibLink&) = delete;
  ~CVornLibLink() override {
    if (m_hLibrary) FreeLibrary(m_hLibrary);
  }

  // 0 when the library and all four entries are there, else USB_ERROR_NO_LIBRARY or
  // USB_ERROR_MISSING_ENTRY.
  int Load() {
    m_hLibrary = static_cast<HMODULE>(LoadLibraryFromSafeFolders("VornLib.dll"));
    if (!m_hLibrary) return USB_ERROR_NO_LIBRARY;
    const bool found = Find("OpenUSBDevice", m_pOpen) && Find("CloseUSBDevice", m_pClose) &&
                       Find("ReadData", m_pRead) && Find("WriteData", m_pWrite);
    return found ? 0 : USB_ERROR_MISSING_ENTRY;
  }

  int OpenUSBDevice(int device) override { return m_pOpen(device); }
  void CloseUSBDevice(int device) override { m_pClose(device); }
  int ReadData(void* buffer, int count) override { return m_pRead(buffer, count); }
  int WriteData(const void* buffer, int count) override { return m_pWrite(buffer, count); }

 private:
  // The library's own calling convention is that of Win32 libraries (stdcall).
  typedef int(WINAPI* DeviceEntry)(int device);
  typedef int(WINAPI* ReadEntry)(void* buffer, int count);
  typedef int(WINAPI* WriteEntry)(const void* buffer, int count);

  template <typename Entry>
  bool Find(const char* name, Entry& entry) {
    entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(m_hLibrary, name)));
    return entry != nullptr;
  }

  HMODULE m_hLibrary = nullptr;
  DeviceEntry m_pOpen = nullptr;
  DeviceEntry m_pClose = nullptr;
  ReadEntry m_pRead = nullptr;
  WriteEntry m_pWrite = nullptr;
};

// The main program's stop, set by its Cancel; null when it has none (an older program).
class CStopEvent {
 public:
  explicit CStopEvent(DWORD mainProcess)
      : m_hEvent(OpenEventA(SYNCHRONIZE, FALSE, UsbStopEventName(mainProcess).c_str())) {}
  CStopEvent(const CStopEvent&) = delete;
  CStopEvent& operator=(const CStopEvent&) = delete;
  ~CStopEvent() {
    if (m_hEvent) CloseHandle(m_hEvent);
  }
  bool IsSet() const { return m_hEvent && WaitForSingleObject(m_hEvent, 0) == WAIT_OBJECT_0; }

 private:
  HANDLE m_hEvent;
};

// The command line after the program's name and the blanks that follow it, as UTF-8: the
// job file path, whatever characters the temporary folder's name holds. The name ends at
// its closing quote when quoted, else at the first blank, as for WinMain's tail.
std::string CommandLineTail() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    const wchar_t* close = wcschr(line + 1, L'"');
    line = close ? close + 1 : line + wcslen(line);
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return Utf8FromWide(line);
}

// Everything after the window lookup; each failure is reported, never shown here.
void SendJobFile(HWND window, const std::string& tail, const CStopEvent& stop) {
  std::string path;
  if (JobPathFromTail(tail.c_str(), path) != 0) return Report(window, USB_ERROR_FILE_PATH);
  CVornLibLink link;
  const int loaded = link.Load();
  if (loaded != 0) return Report(window, loaded);
  if (link.OpenUSBDevice(0) != 1) return Report(window, USB_ERROR_OPEN_DEVICE);
  CMappedFile file;
  // The pieces are counted in 32 bits; a job file never comes near 4 GiB.
  if (!file.Open(path) || file.Size() > UINT32_MAX) {
    Report(window, USB_ERROR_OPEN_DATA_FILE);
  } else {
    SendUsbJob(
        file.Data(), static_cast<uint32_t>(file.Size()), link, [window](int status) { Report(window, status); },
        [&stop] { return stop.IsSet(); });
  }
  file.Close();
  link.CloseUSBDevice(0);
}

// The process that started this one: the main program, or 0 when the system cannot say.
DWORD ParentProcessId() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (entry.th32ProcessID == GetCurrentProcessId()) {
      parent = entry.th32ParentProcessID;
      break;
    }
  }
  CloseHandle(snapshot);
  return parent;
}

// The main program's dialog: a dialog-class window titled `title` of `process`. Other
// windows of that title (an Explorer window on the program's folder) are passed over.
HWND FindMainDialog(const char* title, DWORD process) {
  for (HWND window = FindWindowExA(nullptr, nullptr, "#32770", title); window;
       window = FindWindowExA(nullptr, window, "#32770", title)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == process) return window;
  }
  return nullptr;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // The current folder is not searched for libraries: it may be any folder, one holding a
  // planted "VornLib.dll" among them.
  SetDllDirectoryA("");
  const DWORD parent = ParentProcessId();
  HWND window = FindMainDialog("Plotgate", parent);
  if (!window) window = FindMainDialog("Harbex", parent);
  if (!window) {
    MessageBoxA(nullptr, "No Find main program!\n", "VornUSBSend Error", MB_ICONERROR);
    return 0;
  }
  const CStopEvent stop(parent);
  SendJobFile(window, CommandLineTail(), stop);
  return 0;
}
