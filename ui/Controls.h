// The controls the dialogs use, as thin wrappers over their messages: buttons with check
// state, image and split style, drop-down lists, progress bars, spin buttons and
// tooltips. Edits and static texts are plain windows (CWindow).
#pragma once

#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>

#include <string>

#include "ui/Window.h"

class CButton : public CWindow {
 public:
  bool GetCheck() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetCheck(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
  // Shows `bitmap` (owned by the caller) on the button, beside its text.
  void SetImage(HBITMAP bitmap) const { Send(BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)); }
  // Makes a push button a split button: the drop-down arrow `arrow` (from CreateSplitArrow,
  // owned by the caller) at its right, and a click anywhere on it still reports BN_CLICKED.
  void SetSplitStyle(HIMAGELIST arrow) const;
  // Clicks the button as a user would: it sends its BN_CLICKED to the parent.
  void Click() const { Send(BM_CLICK); }
};

// The bitmap resource `id` of the program with its light grey drawn in the system's
// button colour, to show on a button; null when there is none. DeleteObject it.
HBITMAP LoadButtonBitmap(int id);

// A split button's drop-down arrow, a small downward triangle in the button text's colour,
// drawn by us rather than taken from the system's symbol font, which not every system has
// (without it the button shows a "6"); null when it cannot be made. ImageList_Destroy it.
HIMAGELIST CreateSplitArrow();

class CComboBox : public CWindow {
 public:
  // Appends an entry; its index, or -1 when the list cannot take it.
  int AddString(const std::string& text) const {
    const LRESULT index = Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    return index < 0 ? -1 : static_cast<int>(index);
  }
  // Inserts `text` (UTF-8, every character kept whatever the code page) as entry `index`,
  // -1 for the end; its index, or -1 when the list cannot take it.
  int InsertText(int index, const std::string& text) const;
  void DeleteString(int index) const { Send(CB_DELETESTRING, static_cast<WPARAM>(index)); }
  // Selects entry `index`; -1 (or an index past the end) clears the selection.
  void SetCurSel(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }
  // The selected entry, or -1.
  int GetCurSel() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  // The entry whose whole text is `text` (case-insensitively, as the list compares), or -1.
  int FindStringExact(const std::string& text) const {
    return static_cast<int>(Send(CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str())));
  }
  int GetCount() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  // The text of entry `index`, or "".
  std::string GetItemText(int index) const;
};

class CListBox : public CWindow {
 public:
  void AddString(const std::string& text) const { Send(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())); }
  void ResetContent() const { Send(LB_RESETCONTENT); }
  // Selects entry `index`; -1 clears the selection.
  void SetCurSel(int index) const { Send(LB_SETCURSEL, static_cast<WPARAM>(index)); }
  // The selected entry, or -1.
  int GetCurSel() const { return static_cast<int>(Send(LB_GETCURSEL)); }
};

class CProgressBar : public CWindow {
 public:
  void SetRange(int low, int high) const { Send(PBM_SETRANGE32, static_cast<WPARAM>(low), high); }
  void SetPos(int position) const { Send(PBM_SETPOS, static_cast<WPARAM>(position)); }
  int GetPos() const { return static_cast<int>(Send(PBM_GETPOS)); }
};

class CSpinButton : public CWindow {
 public:
  void SetRange(int low, int high) const { Send(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
  void SetBuddy(const CWindow& buddy) const { Send(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy.m_hWnd)); }
};

// A tooltip for controls of a dialog, shown over a control also while it is disabled (the
// tip watches the dialog's own area where the control lies, as a disabled control gets no
// mouse messages). The dialog destroys it with itself.
class CToolTip : public CWindow {
 public:
  // Makes the tooltip of `dialog`; false when it cannot be made.
  bool Create(HWND dialog);
  // Shows `text` (UTF-8) over the control `control` of the dialog; "" shows nothing.
  void SetTip(HWND control, const std::string& text) const;

 private:
  HWND m_dialog = nullptr;
};
