// The real VornUSBSend.exe beside the stand-in "VornLib.dll": a window of this test plays
// the main program's window and keeps the WM_COPYDATA reports; the stand-in records what
// it was sent and how it was called.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "cutter/UsbSendStatus.h"

namespace {

// What plays the main program's window: a dialog, as the program's own is, or a plain
// window of another class (an Explorer window open on the program's folder has the title
// "Plotgate").
enum WindowKind { MAIN_DIALOG, OTHER_WINDOW };

// A top-level window of this process with the given title that keeps the payload of every
// report.
class CReportWindow {
 public:
  explicit CReportWindow(const char* title, WindowKind kind = MAIN_DIALOG) {
    if (kind == MAIN_DIALOG) {
      // A dialog template without controls: style, no extended style, no items, the frame.
      alignas(4) static const WORD dialogTemplate[] = {
          LOWORD(WS_POPUP | WS_CAPTION), HIWORD(WS_POPUP | WS_CAPTION), 0, 0, 0, 0, 0, 0, 100, 50, 0, 0, 0};
      m_hWnd =
          CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate),
                                     nullptr, &CReportWindow::DialogProcedure, reinterpret_cast<LPARAM>(this));
      SetWindowTextA(m_hWnd, title);
    } else {
      static const ATOM windowClass = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = &CReportWindow::Procedure;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "PlotgateReportWindow";
        return RegisterClassA(&wc);
      }();
      m_hWnd = CreateWindowExA(0, MAKEINTATOM(windowClass), title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
      SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    EXPECT_NE(m_hWnd, nullptr) << "creating the window \"" << title << "\": error " << GetLastError();
  }
  ~CReportWindow() { DestroyWindow(m_hWnd); }
  CReportWindow(const CReportWindow&) = delete;
  CReportWindow& operator=(const CReportWindow&) = delete;

  HWND m_hWnd = nullptr;
  std::vector<std::string> m_reports;  // each payload whole, its terminating zero included

 private:
  void Keep(WPARAM wParam, LPARAM lParam) {
    const auto* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    EXPECT_EQ(wParam, 0u);
    EXPECT_EQ(record->dwData, 0u);
    m_reports.emplace_back(static_cast<const char*>(record->lpData), record->cbData);
  }
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
    reinterpret_cast<CReportWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA))->Keep(wParam, lParam);
    return TRUE;
  }
  static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) SetWindowLongPtrA(window, DWLP_USER, lParam);
    if (message != WM_COPYDATA) return message == WM_INITDIALOG;
    reinterpret_cast<CReportWindow*>(GetWindowLongPtrA(window, DWLP_USER))->Keep(wParam, lParam);
    SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
    return TRUE;
  }
};

// The payloads the sender sends for these statuses: "%d" and a terminating zero.
std::vector<std::string> Payloads(std::initializer_list<int> statuses) {
  std::vector<std::string> payloads;
  for (int status : statuses) payloads.push_back(std::to_string(status) + '\0');
  return payloads;
}

// Equal bytes; on a difference the sizes and the first differing offset, since the jobs
// are too long to print.
::testing::AssertionResult SameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << actual.size() << " bytes instead of " << expected.size()
                                       << ", the first difference at offset " << at;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A job of every byte value, line ends included: the sender must not read it as text.
std::string Job(size_t size) {
  std::string job(size, '\0');
  for (size_t i = 0; i < size; ++i) job[i] = static_cast<char>(i * 13 % 256);
  return job;
}

const char* const STEERING[] = {"VORNLIB_RECORD",    "VORNLIB_CALLS",    "VORNLIB_READY_AFTER", "VORNLIB_FAIL_WRITE",
                                "VORNLIB_FAIL_OPEN", "VORNLIB_WRITE_MS", "VORNLIB_END_AT_WRITE"};

// A program folder (with a space in its name) holding the sender and a library, and a job
// folder with a space too, as a user's temporary folder may have.
class UsbSender : public ::testing::Test {
 protected:
  void SetUp() override {
    m_program = (m_dir.Path() / "program folder").string();
    m_jobFile = (m_dir.Path() / "job files" / "cutcorldata.hb").string();
    std::filesystem::create_directory(m_program);
    std::filesystem::create_directory(m_dir.Path() / "job files");
    ASSERT_TRUE(CopyFileA(VORNUSBSEND_EXE, (m_program + "\\VornUSBSend.exe").c_str(), FALSE));
    UseLibrary(VORNLIB_DLL);
    for (const char* name : STEERING) SetEnvironmentVariableA(name, nullptr);
    Steer("VORNLIB_RECORD", Record());
    Steer("VORNLIB_CALLS", Calls());
  }
  void TearDown() override {
    for (const char* name : STEERING) SetEnvironmentVariableA(name, nullptr);
  }

  // Puts `library` into the program folder as "VornLib.dll"; null takes it away.
  void UseLibrary(const char* library) {
    const std::string target = m_program + "\\VornLib.dll";
    DeleteFileA(target.c_str());
    if (library) {
      ASSERT_TRUE(CopyFileA(library, target.c_str(), FALSE));
    }
  }
  static void Steer(const char* name, const std::string& value) { SetEnvironmentVariableA(name, value.c_str()); }

  std::string Record() const { return (m_dir.Path() / "record.bin").string(); }
  std::string Calls() const { return (m_dir.Path() / "calls.txt").string(); }
  std::vector<std::string> CallLines() const { return Lines(TempDir::Read(Calls())); }

  std::string WriteJob(const std::string& bytes) const {
    std::ofstream(m_jobFile, std::ios::binary) << bytes;
    return m_jobFile;
  }

  // Starts the sender the way the main program does, by its full path with the command line
  // "VornUSBSend.exe %s", from the program folder or the folder `from`, and handles
  // messages until it has ended, calling `meanwhile` every 50 ms or so. Its exit code.
  DWORD RunSender(
      const std::string& tail, const std::function<void()>& meanwhile = [] {}, std::string from = "") {
    if (from.empty()) from = m_program;
    const std::string program = m_program + "\\VornUSBSend.exe";
    std::string commandLine = "VornUSBSend.exe " + tail;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    const BOOL started = CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                                        from.c_str(), &startup, &process);
    EXPECT_TRUE(started) << GetLastError();
    if (!started) return ~0u;
    CloseHandle(process.hThread);
    const DWORD deadline = GetTickCount() + 60000;
    for (;;) {
      const DWORD now = GetTickCount();
      const DWORD wait = now < deadline ? deadline - now : 0;
      const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, wait < 50 ? wait : 50, QS_ALLINPUT);
      if (woke == WAIT_OBJECT_0) break;
      if (woke == WAIT_TIMEOUT && wait == 0) {
        ADD_FAILURE() << "the sender did not end";
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        break;
      }
      MSG message;
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
      meanwhile();
    }
    DWORD code = ~0u;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    return code;
  }

  TempDir m_dir;
  std::string m_program;
  std::string m_jobFile;
};

TEST_F(UsbSender, SendsTheWholeJobInPiecesWithAReportAfterEach) {
  CReportWindow main("Plotgate");
  const std::string job = Job(10000);
  EXPECT_EQ(RunSender(WriteJob(job)), 0u);
  EXPECT_EQ(main.m_reports, Payloads({40, 81, 100}));
  EXPECT_TRUE(SameBytes(TempDir::Read(Record()), job));
  EXPECT_EQ(CallLines(),
            (std::vector<std::string>{"OpenUSBDevice 0", "WriteData 4096 after 1 polls", "WriteData 4096 after 1 polls",
                                      "WriteData 1808 after 1 polls", "CloseUSBDevice 0 after 0 polls"}));
}

TEST_F(UsbSender, OnePieceOrNoneEndsWith100) {
  CReportWindow main("Plotgate");
  EXPECT_EQ(RunSender(WriteJob(Job(4096))), 0u);
  EXPECT_EQ(main.m_reports, Payloads({100}));
  // An empty job file still tells the main window that the send is over.
  main.m_reports.clear();
  DeleteFileA(Calls().c_str());
  EXPECT_EQ(RunSender(WriteJob("")), 0u);
  EXPECT_EQ(main.m_reports, Payloads({100}));
  EXPECT_EQ(CallLines(), (std::vector<std::string>{"OpenUSBDevice 0", "CloseUSBDevice 0 after 0 polls"}));
  EXPECT_TRUE(SameBytes(TempDir::Read(Record()), Job(4096)));
}

TEST_F(UsbSender, TheReadyByteOnThe20000thPollStillCounts) {
  CReportWindow main("Plotgate");
  Steer("VORNLIB_READY_AFTER", "20000");
  EXPECT_EQ(RunSender(WriteJob("IN;PU0,0;@")), 0u);
  EXPECT_EQ(main.m_reports, Payloads({100}));
  EXPECT_EQ(TempDir::Read(Record()), "IN;PU0,0;@");
  EXPECT_EQ(CallLines(), (std::vector<std::string>{"OpenUSBDevice 0", "WriteData 10 after 20000 polls",
                                                   "CloseUSBDevice 0 after 0 polls"}));
}

TEST_F(UsbSender, ASilentCutterIsReportedAndTheDeviceClosedOnce) {
  CReportWindow main("Plotgate");
  Steer("VORNLIB_READY_AFTER", "never");
  EXPECT_EQ(RunSender(WriteJob(Job(10000))), 0u);
  EXPECT_EQ(main.m_reports, Payloads({-6}));
  EXPECT_EQ(TempDir::Read(Record()), "");
  EXPECT_EQ(CallLines(), (std::vector<std::string>{"OpenUSBDevice 0", "CloseUSBDevice 0 after 20000 polls"}));
}

// A refused piece is never followed by the next one: the cutter cuts no job with a hole.
TEST_F(UsbSender, StopsAtTheFirstFailedWrite) {
  CReportWindow main("Plotgate");
  Steer("VORNLIB_FAIL_WRITE", "2");
  const std::string job = Job(13000);
  EXPECT_EQ(RunSender(WriteJob(job)), 0u);
  EXPECT_EQ(main.m_reports, Payloads({31, -5}));
  EXPECT_TRUE(SameBytes(TempDir::Read(Record()), job.substr(0, 4096)));
  EXPECT_EQ(CallLines(), (std::vector<std::string>{"OpenUSBDevice 0", "WriteData 4096 after 1 polls",
                                                   "WriteData 4096 after 1 polls", "CloseUSBDevice 0 after 0 polls"}));
}

TEST_F(UsbSender, FindsTheDialogTitledPlotgateFirstThenHarbex) {
  CReportWindow harbex("Harbex");
  EXPECT_EQ(RunSender(WriteJob("IN;")), 0u);
  EXPECT_EQ(harbex.m_reports, Payloads({100}));
  CReportWindow plotgate("Plotgate");
  EXPECT_EQ(RunSender(WriteJob("IN;")), 0u);
  EXPECT_EQ(plotgate.m_reports, Payloads({100}));
  EXPECT_EQ(harbex.m_reports.size(), 1u);
}

// A folder window titled "Plotgate" (opened to drop the library in) is not the program.
TEST_F(UsbSender, AWindowTitledPlotgateThatIsNoDialogGetsNoReport) {
  CReportWindow folder("Plotgate", OTHER_WINDOW);
  CReportWindow main("Harbex");
  EXPECT_EQ(RunSender(WriteJob("IN;")), 0u);
  EXPECT_EQ(main.m_reports, Payloads({100}));
  EXPECT_TRUE(folder.m_reports.empty());
}

// The library is looked for beside the program, in the system's folders and on PATH, never
// in the folder the sender was started from (a drawing's download folder, say).
TEST_F(UsbSender, ALibraryInTheCurrentFolderIsNotLoaded) {
  CReportWindow main("Plotgate");
  const std::string planted = (m_dir.Path() / "downloads").string();
  std::filesystem::create_directory(planted);
  ASSERT_TRUE(CopyFileA(VORNLIB_DLL, (planted + "\\VornLib.dll").c_str(), FALSE));
  UseLibrary(nullptr);
  EXPECT_EQ(RunSender(
                WriteJob("IN;"), [] {}, planted),
            0u);
  EXPECT_EQ(main.m_reports, Payloads({-2}));
  EXPECT_EQ(TempDir::Read(Calls()), "");
}

TEST_F(UsbSender, APathMissingOrTooLongIsAPathError) {
  CReportWindow main("Plotgate");
  EXPECT_EQ(RunSender(""), 0u);
  // 259 bytes fit the path buffer with its zero; one more does not, and is not cut short.
  const std::string fits = m_jobFile + std::string(259 - m_jobFile.size(), 'x');
  std::ofstream(fits, std::ios::binary) << "IN;";
  EXPECT_EQ(RunSender(fits), 0u);
  EXPECT_EQ(RunSender(fits + "y"), 0u);
  EXPECT_EQ(main.m_reports, Payloads({-1, 100, -1}));
  EXPECT_EQ(TempDir::Read(Record()), "IN;");
}

TEST_F(UsbSender, EachFailureBeforeStreamingHasItsStatus) {
  CReportWindow main("Plotgate");
  WriteJob("IN;");
  UseLibrary(nullptr);
  EXPECT_EQ(RunSender(m_jobFile), 0u);
  UseLibrary(VORNLIB_NO_WRITE_DLL);
  EXPECT_EQ(RunSender(m_jobFile), 0u);
  UseLibrary(VORNLIB_DLL);
  Steer("VORNLIB_FAIL_OPEN", "1");
  EXPECT_EQ(RunSender(m_jobFile), 0u);
  EXPECT_EQ(CallLines(), std::vector<std::string>{"OpenUSBDevice 0"});
  SetEnvironmentVariableA("VORNLIB_FAIL_OPEN", nullptr);
  DeleteFileA(Calls().c_str());
  EXPECT_EQ(RunSender(m_jobFile + ".missing"), 0u);
  EXPECT_EQ(main.m_reports, Payloads({-2, -7, -3, -4}));
  EXPECT_EQ(CallLines(), (std::vector<std::string>{"OpenUSBDevice 0", "CloseUSBDevice 0 after 0 polls"}));
  EXPECT_EQ(TempDir::Read(Record()), "");
}

// Without a main window the sender's own box is the only word; the test reads and closes it.
TEST_F(UsbSender, WithoutAMainWindowItShowsItsOwnBox) {
  std::string text;
  const auto closeTheBox = [&] {
    HWND box = FindWindowA(nullptr, "VornUSBSend Error");
    if (!box || !text.empty()) return;
    char buffer[256] = {};
    GetDlgItemTextA(box, 0xFFFF, buffer, sizeof buffer);
    text = buffer;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  };
  EXPECT_EQ(RunSender(WriteJob("IN;"), closeTheBox), 0u);
  EXPECT_EQ(text, "No Find main program!\n");
  EXPECT_EQ(TempDir::Read(Calls()), "");
}

// The main window's Cancel sets its stop event while a slow cutter takes the job: the
// sender ends its stream at the next piece, sends the rest of the command in flight and the
// job's ending, reports nothing more and closes the device.
TEST_F(UsbSender, TheMainWindowsStopEndsTheSendWithTheJobsEnding) {
  CReportWindow main("Plotgate");
  HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, UsbStopEventName(GetCurrentProcessId()).c_str());
  ASSERT_NE(stop, nullptr);
  Steer("VORNLIB_WRITE_MS", "30");
  // 97 bytes of header, then pen-downs of 12 bytes: every piece ends inside one.
  std::string job = "IN;SP1;";
  for (int i = 0; i < 15; ++i) job += "PU0,0;";
  for (int i = 0; i < 20000; ++i) job += "PD1000,2000;";
  job += "PU0,0;SP0;@";
  EXPECT_EQ(RunSender(WriteJob(job),
                      [&] {
                        if (!main.m_reports.empty()) SetEvent(stop);
                      }),
            0u);
  CloseHandle(stop);
  ASSERT_FALSE(main.m_reports.empty());
  EXPECT_LT(main.m_reports.size(), 10u) << "the stop came too late";
  const std::string recorded = TempDir::Read(Record());
  const size_t pieces = (main.m_reports.size()) * 4096;
  const size_t rest = 12 - (pieces - 97) % 12;
  EXPECT_TRUE(SameBytes(recorded, job.substr(0, pieces + rest) + "PU0,0;SP0;@"));
  const std::vector<std::string> calls = CallLines();
  ASSERT_GE(calls.size(), 2u);
  EXPECT_EQ(calls[calls.size() - 2], "WriteData " + std::to_string(rest + 11) + " after 1 polls");
  EXPECT_EQ(calls.back(), "CloseUSBDevice 0 after 0 polls");
}

}  // namespace
