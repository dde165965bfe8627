#include "ui/Controls.h"

#include "base/WideText.h"

void CButton::SetSplitStyle(HIMAGELIST arrow) const {
  const LONG_PTR style = GetWindowLongPtrA(m_hWnd, GWL_STYLE);
  SetWindowLongPtrA(m_hWnd, GWL_STYLE, (style & ~static_cast<LONG_PTR>(BS_TYPEMASK)) | BS_SPLITBUTTON);
  if (arrow) {
    BUTTON_SPLITINFO split = {};
    split.mask = BCSIF_IMAGE | BCSIF_STYLE;
    split.uSplitStyle = BCSS_IMAGE;
    split.himlGlyph = arrow;
    Send(BCM_SETSPLITINFO, 0, reinterpret_cast<LPARAM>(&split));
  }
  InvalidateRect(m_hWnd, nullptr, TRUE);
}

HBITMAP LoadButtonBitmap(int id) {
  return static_cast<HBITMAP>(
      LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
}

HIMAGELIST CreateSplitArrow() {
  // Rows of 7, 5, 3 and 1 pixels, centred: the arrow of a drop-down at any screen depth.
  const int width = 7, height = 4;
  const COLORREF transparent = RGB(255, 0, 255);
  HIMAGELIST list = ImageList_Create(width, height, ILC_COLOR24 | ILC_MASK, 1, 0);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  ReleaseDC(nullptr, screen);
  if (list && dc && bitmap) {
    HGDIOBJ previous = SelectObject(dc, bitmap);
    const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) SetPixel(dc, x, y, x >= y && x < width - y ? ink : transparent);
    }
    SelectObject(dc, previous);
  }
  if (!list || !dc || !bitmap || ImageList_AddMasked(list, bitmap, transparent) < 0) {
    if (list) ImageList_Destroy(list);
    list = nullptr;
  }
  if (bitmap) DeleteObject(bitmap);
  if (dc) DeleteDC(dc);
  return list;
}

std::string CComboBox::GetItemText(int index) const {
  const LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length <= 0) return "";
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT got = Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(got > 0 ? static_cast<size_t>(got) : 0);
  return text;
}

int CComboBox::InsertText(int index, const std::string& text) const {
  const LRESULT inserted = SendMessageW(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(WideFromUtf8(text).c_str()));
  return inserted < 0 ? -1 : static_cast<int>(inserted);
}

bool CToolTip::Create(HWND dialog) {
  m_dialog = dialog;
  m_hWnd = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, dialog, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (m_hWnd) SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, 300);
  return m_hWnd != nullptr;
}

namespace {

// The tool of `control`: the area of the dialog it covers, named by the control's handle.
TOOLINFOW ControlTool(HWND dialog, HWND control) {
  TOOLINFOW tool = {};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  GetWindowRect(control, &tool.rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&tool.rect), 2);
  return tool;
}

}  // namespace

void CToolTip::SetTip(HWND control, const std::string& text) const {
  TOOLINFOW tool = ControlTool(m_dialog, control);
  SendMessageW(m_hWnd, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (text.empty()) return;
  std::wstring wide = WideFromUtf8(text);
  tool.lpszText = &wide[0];
  SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}
