// Drives a running dialog program from outside, for the end-to-end tests and the README
// screenshot: finds its window by caption, lists the controls, clicks, captures.
//
//   dialog-driver wait CAPTION SECONDS       waits for the window to be shown; prints the
//                                            milliseconds from its process's creation
//   dialog-driver controls CAPTION           one line per control: id, class, state, text
//   dialog-driver click CAPTION ID           clicks button ID
//   dialog-driver select CAPTION ID INDEX    selects entry INDEX of list ID, as a user would
//   dialog-driver click-gone CAPTION ID SECONDS   clicks button ID and prints the
//                                            milliseconds until the window is gone
//   dialog-driver tick CAPTION ID            clicks check box ID, which turns it over
//   dialog-driver type CAPTION ID TEXT       replaces the text of edit ID
//   dialog-driver key CAPTION ID KEY         presses KEY (up, down, left or right) on
//                                            control ID, through the window's own keyboard
//                                            handling
//   dialog-driver message CAPTION SECONDS    waits for a message box CAPTION, prints its
//                                            text and presses its OK button
//   dialog-driver screenshot CAPTION FILE    writes the window's client area as a 24-bit .bmp
//   dialog-driver close CAPTION              asks the window to close
//   dialog-driver gone CAPTION SECONDS       waits until no such window is left
//   dialog-driver hold FILE SECONDS          holds FILE open without sharing, as another
//                                            program can, so that nobody else can write it;
//                                            prints "held" once it does
//
// Exit status 0 on success, 1 when the window is not found or the step fails.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

HWND FindDialog(const char* caption) { return FindWindowA("#32770", caption); }

HWND WaitFor(const char* caption, double seconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindDialog(caption);
    const DWORD elapsed = GetTickCount() - start;
    if (window && IsWindowVisible(window)) return window;
    if (elapsed > seconds * 1000) return nullptr;
    Sleep(10);
  }
}

// Another process's texts travel as UTF-16 (the system converts them between processes);
// printed in the ANSI code page, as the program holds them.
std::string Ansi(const wchar_t* text) {
  char out[1024] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

std::string Text(HWND window) {
  wchar_t text[512] = L"";
  SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
  return Ansi(text);
}

BOOL CALLBACK PrintControl(HWND control, LPARAM) {
  char kind[64] = "";
  GetClassNameA(control, kind, sizeof kind);
  std::string state = IsWindowEnabled(control) ? "enabled" : "disabled";
  state += IsWindowVisible(control) ? " visible" : " hidden";
  std::string text = Text(control);
  if (_stricmp(kind, "Button") == 0) {
    const LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX) {
      state += SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? " checked" : " unchecked";
    }
  } else if (_stricmp(kind, "ComboBox") == 0) {
    const LRESULT index = SendMessageA(control, CB_GETCURSEL, 0, 0);
    wchar_t item[256] = L"";
    if (index >= 0) SendMessageW(control, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(item));
    text = Ansi(item);
  }
  printf("%d %s %s \"%s\"\n", GetDlgCtrlID(control), kind, state.c_str(), text.c_str());
  return TRUE;
}

bool Screenshot(HWND window, const char* path) {
  // The client area: without a window manager (Xvfb) the frame is not drawn.
  RECT r;
  GetClientRect(window, &r);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  // The window as it is on the screen: brought to the top and drawn first.
  SetForegroundWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  Sleep(200);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
  const DWORD size = stride * static_cast<DWORD>(height);
  BITMAPFILEHEADER file = {0x4D42, static_cast<DWORD>(sizeof file + sizeof info.bmiHeader + size), 0, 0,
                           static_cast<DWORD>(sizeof file + sizeof info.bmiHeader)};
  FILE* out = fopen(path, "wb");
  bool ok = out && fwrite(&file, sizeof file, 1, out) == 1 &&
            fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 && fwrite(bits, 1, size, out) == size;
  if (out && fclose(out) != 0) ok = false;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

// A message box's text lies in its static control 0xFFFF.
bool AnswerMessage(const char* caption, double seconds) {
  HWND box = WaitFor(caption, seconds);
  HWND text = box ? GetDlgItem(box, 0xFFFF) : nullptr;
  if (!text) return false;
  printf("%s\n", Text(text).c_str());
  fflush(stdout);
  PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  return true;
}

int Usage() {
  fprintf(stderr,
          "usage: dialog-driver wait|controls|click|select|tick|type|key|message|screenshot|close|gone CAPTION "
          "[ARGS]\n       dialog-driver hold FILE SECONDS\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string command = argv[1];
  const char* caption = argv[2];
  if (command == "wait") {
    HWND window = WaitFor(caption, argc > 3 ? atof(argv[3]) : 10);
    if (!window) return 1;
    FILETIME now, created, exited, kernel, user;
    GetSystemTimeAsFileTime(&now);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process || !GetProcessTimes(process, &created, &exited, &kernel, &user)) return 1;
    CloseHandle(process);
    auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    printf("%llu\n", (ticks(now) - ticks(created)) / 10000);  // 100 ns units
    return 0;
  }
  if (command == "hold") {
    HANDLE file = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    puts("held");
    fflush(stdout);
    Sleep(static_cast<DWORD>((argc > 3 ? atof(argv[3]) : 10) * 1000));
    CloseHandle(file);
    return 0;
  }
  if (command == "message") return AnswerMessage(caption, argc > 3 ? atof(argv[3]) : 10) ? 0 : 1;
  if (command == "gone") {
    const double seconds = argc > 3 ? atof(argv[3]) : 10;
    const DWORD start = GetTickCount();
    while (FindDialog(caption)) {
      if (GetTickCount() - start > seconds * 1000) return 1;
      Sleep(10);
    }
    return 0;
  }
  HWND window = FindDialog(caption);
  if (!window) {
    fprintf(stderr, "dialog-driver: no window \"%s\"\n", caption);
    return 1;
  }
  if (command == "controls") {
    EnumChildWindows(window, PrintControl, 0);
    return 0;
  }
  if ((command == "click" && argc == 4) || (command == "click-gone" && argc == 5)) {
    HWND button = GetDlgItem(window, atoi(argv[3]));
    if (!button) return 1;
    // Posted, so that a click that opens a modal window does not hold the driver.
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
    if (command == "click") return 0;
    const DWORD start = GetTickCount();
    while (IsWindow(window)) {
      if (GetTickCount() - start > atof(argv[4]) * 1000) return 1;
      Sleep(5);
    }
    printf("%lu\n", static_cast<unsigned long>(GetTickCount() - start));
    return 0;
  }
  if (command == "select" && argc == 5) {
    HWND list = GetDlgItem(window, atoi(argv[3]));
    if (!list || SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(atoi(argv[4])), 0) == CB_ERR) return 1;
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    return 0;
  }
  if (command == "tick" && argc == 4) {
    HWND box = GetDlgItem(window, atoi(argv[3]));
    if (!box) return 1;
    SendMessageA(box, BM_CLICK, 0, 0);
    return 0;
  }
  if (command == "type" && argc == 5) {
    HWND edit = GetDlgItem(window, atoi(argv[3]));
    return edit && SetWindowTextA(edit, argv[4]) ? 0 : 1;
  }
  if (command == "key" && argc == 5) {
    const struct {
      const char* name;
      WPARAM key;
    } keys[] = {{"up", VK_UP}, {"down", VK_DOWN}, {"left", VK_LEFT}, {"right", VK_RIGHT}};
    HWND control = GetDlgItem(window, atoi(argv[3]));
    for (const auto& key : keys)
      if (control && strcmp(argv[4], key.name) == 0) return PostMessageA(control, WM_KEYDOWN, key.key, 1) ? 0 : 1;
    return 1;
  }
  if (command == "screenshot" && argc == 4) return Screenshot(window, argv[3]) ? 0 : 1;
  if (command == "close") {
    PostMessageA(window, WM_CLOSE, 0, 0);
    return 0;
  }
  return Usage();
}
