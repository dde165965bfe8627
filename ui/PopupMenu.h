// A popup menu from the program's menu resources, shown at a screen position and waited
// for.
#pragma once

#include <windows.h>

class CPopupMenu {
 public:
  // The first popup of menu resource `menuId`.
  explicit CPopupMenu(int menuId);
  CPopupMenu(const CPopupMenu&) = delete;
  CPopupMenu& operator=(const CPopupMenu&) = delete;
  ~CPopupMenu();

  // Shows `bitmap` (owned by the caller) beside the item at `position`, checked or not.
  void SetItemBitmap(int position, HBITMAP bitmap) const;
  // Shows the menu with its top-left corner at (x, y) and waits; the chosen command id,
  // or 0 when the menu was dismissed.
  int Track(HWND owner, int x, int y) const;

  // The popup's handle, for tests that look at its items.
  HMENU Handle() const { return m_hPopup; }

 private:
  HMENU m_hMenu;
  HMENU m_hPopup;
};
