// A dialog from a template in the program's resources, run modally or created modeless
// (as the tests drive it). One static dialog procedure keeps the object with the window
// and hands every message to it, decoded for the common kinds: a command, a button's
// click, a control's notification, a timer. No exception ever leaves that procedure: one
// that escapes a handler is reported in a message box captioned with the program's name
// and the message counts as handled.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "base/WideText.h"
#include "ui/Window.h"

// The string resource `id` of the program; "" when it has none.
std::string LoadResourceText(int id);

class CDialog : public CWindow {
 public:
  explicit CDialog(int templateId) : m_templateId(templateId) {}
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;
  virtual ~CDialog();

  // Runs the dialog until it ends; the code EndDialog was given, or -1 when the window
  // could not be created.
  INT_PTR DoModal(HWND parent = nullptr);
  // Creates the dialog modeless and returns at once; false when it could not be created.
  // Ending it (Cancel, Esc, the close box) then destroys the window.
  bool Create(HWND parent = nullptr);
  // Ends a modal dialog with `result`, or destroys a modeless one.
  void EndDialog(INT_PTR result);

  // The control `id` of the dialog.
  HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
  // Enables or disables the controls `ids` of the dialog.
  void EnableItems(std::initializer_list<int> ids, bool enabled) const {
    for (int id : ids) EnableWindow(Item(id), enabled ? TRUE : FALSE);
  }
  // A control wrapper (CButton, CComboBox, ...) on control `id`.
  template <class TControl>
  TControl Control(int id) const {
    TControl control;
    control.m_hWnd = Item(id);
    return control;
  }

  // Sets the text of control `id` to UTF-8 `text`, shown whole.
  void SetItemText(int id, const std::string& text) const { SetDlgItemTextW(m_hWnd, id, WideFromUtf8(text).c_str()); }

  // A modal message box owned by the dialog, its UTF-8 texts shown whole; the button chosen
  // (IDOK, ...).
  int ShowMessage(const std::string& text, const std::string& caption, UINT type) const;

  // The program's name, which the program sets: the caption of the box that reports an
  // exception escaping a handler.
  std::string m_sProgramName;

 protected:
  // After the controls exist; true lets the system give the focus to the first control.
  virtual BOOL OnInitDialog() { return TRUE; }
  // A message for the dialog. Returns true when handled, with `result` the value to give
  // back (SetWindowLongPtr DWLP_MSGRESULT for notifications); false for the default
  // processing. The base hands WM_COMMAND, WM_NOTIFY and WM_TIMER to the handlers below;
  // an override passes on what it does not handle itself.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // WM_COMMAND from control or command `id` with notification `code`; true when handled.
  // The base hands a click (BN_CLICKED, also a menu or the keyboard's Enter and Esc) to
  // OnButtonClicked.
  virtual bool OnCommand(int id, int code);
  // A click of button `id`; true when handled. The base handles Cancel (IDCANCEL: the
  // button, Esc, the close box) by ending the dialog.
  virtual bool OnButtonClicked(int id);
  // WM_NOTIFY from a control; true when handled, with `result` the notification's answer.
  virtual bool OnNotify(const NMHDR& header, LRESULT& result);
  // WM_TIMER of timer `id`; the default processing follows either way.
  virtual void OnTimer(UINT_PTR id);

 private:
  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  int m_templateId;
  bool m_bModal = false;
};
