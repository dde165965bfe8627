// Thin wrappers over the Win32 window handle of a control or dialog: each operation is
// one window function or message, nothing more.
#pragma once

#include <windows.h>

#include <string>

class CWindow {
 public:
  CWindow() = default;
  explicit CWindow(HWND hWnd) : m_hWnd(hWnd) {}

  void Enable(bool enable) const { EnableWindow(m_hWnd, enable ? TRUE : FALSE); }
  bool IsEnabled() const { return IsWindowEnabled(m_hWnd) != FALSE; }
  void Show(bool show) const { ShowWindow(m_hWnd, show ? SW_SHOW : SW_HIDE); }
  // The window text; "" for a window without one.
  std::string GetText() const;
  void SetText(const std::string& text) const { SetWindowTextA(m_hWnd, text.c_str()); }
  // The window text as UTF-8, every character kept whatever the code page; "" for none.
  std::string GetUtf8Text() const;
  void SetUtf8Text(const std::string& text) const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return SendMessageA(m_hWnd, message, wParam, lParam);
  }

  HWND m_hWnd = nullptr;
};
