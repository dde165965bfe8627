#include "ui/Window.h"

std::string CWindow::GetText() const {
  const int length = GetWindowTextLengthA(m_hWnd);
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(m_hWnd, &text[0], length + 1)));
  return text;
}
