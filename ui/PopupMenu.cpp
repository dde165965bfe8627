#include "ui/PopupMenu.h"

CPopupMenu::CPopupMenu(int menuId)
    : m_hMenu(LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(menuId))),
      m_hPopup(m_hMenu ? GetSubMenu(m_hMenu, 0) : nullptr) {}

CPopupMenu::~CPopupMenu() {
  if (m_hMenu) DestroyMenu(m_hMenu);
}

void CPopupMenu::SetItemBitmap(int position, HBITMAP bitmap) const {
  SetMenuItemBitmaps(m_hPopup, static_cast<UINT>(position), MF_BYPOSITION, bitmap, bitmap);
}

int CPopupMenu::Track(HWND owner, int x, int y) const {
  if (!m_hPopup) return 0;
  return static_cast<int>(TrackPopupMenu(m_hPopup, TPM_RETURNCMD | TPM_VERTICAL, x, y, 0, owner, nullptr));
}
