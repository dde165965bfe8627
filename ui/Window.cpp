#include "ui/Window.h"

#include "base/WideText.h"

std::string CWindow::GetText() const {
  const int length = GetWindowTextLengthA(m_hWnd);
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(m_hWnd, &text[0], length + 1)));
  return text;
}

std::string CWindow::GetUtf8Text() const {
  const int length = GetWindowTextLengthW(m_hWnd);
  if (length <= 0) return "";
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(m_hWnd, &text[0], length + 1)));
  return Utf8FromWide(text);
}

void CWindow::SetUtf8Text(const std::string& text) const { SetWindowTextW(m_hWnd, WideFromUtf8(text).c_str()); }
