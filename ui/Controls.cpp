#include "ui/Controls.h"

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
