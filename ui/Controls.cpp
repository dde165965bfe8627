#include "Controls.h"

void CButton::SetSplitStyle() const {
  const LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_SPLITBUTTON);
  InvalidateRect(m_hWnd, nullptr, TRUE);
}

std::string CComboBox::GetItemText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT got = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}
