#include "ui/Dialog.h"

#include <exception>

#include "base/WideText.h"

std::string LoadResourceText(int id) {
  char text[256];
  const int length = LoadStringA(GetModuleHandleA(nullptr), static_cast<UINT>(id), text, sizeof text);
  return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

CDialog::~CDialog() {
  if (!m_bModal && m_hWnd && IsWindow(m_hWnd)) {
    // A modeless dialog still open: detach first, so no message reaches a half-destroyed
    // object.
    SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
    DestroyWindow(m_hWnd);
  }
}

INT_PTR CDialog::DoModal(HWND parent) {
  m_bModal = true;
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool CDialog::Create(HWND parent) {
  m_bModal = false;
  return CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), parent, DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
  if (m_bModal) {
    ::EndDialog(m_hWnd, result);
  } else {
    DestroyWindow(m_hWnd);
  }
}

int CDialog::ShowMessage(const std::string& text, const std::string& caption, UINT type) const {
  return ::MessageBoxW(m_hWnd, WideFromUtf8(text).c_str(), WideFromUtf8(caption).c_str(), type);
}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam));
    // Any program can send WM_NOTIFY: one without its header is left alone.
    case WM_NOTIFY: return lParam != 0 && OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result);
    case WM_TIMER: OnTimer(wParam); return false;
    default: return false;
  }
}

bool CDialog::OnCommand(int id, int code) { return code == BN_CLICKED && OnButtonClicked(id); }

bool CDialog::OnButtonClicked(int id) {
  if (id != IDCANCEL) return false;
  EndDialog(IDCANCEL);
  return true;
}

bool CDialog::OnNotify(const NMHDR&, LRESULT&) { return false; }

void CDialog::OnTimer(UINT_PTR) {}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    dialog->m_hWnd = hWnd;
    SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
  }
  auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(hWnd, DWLP_USER));
  if (!dialog) return FALSE;
  const INT_PTR handled = dialog->Dispatch(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(hWnd, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
  }
  return handled;
}

INT_PTR CDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  try {
    if (message == WM_INITDIALOG) return OnInitDialog();
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result)) return FALSE;
    if (message == WM_QUERYDRAGICON) return static_cast<INT_PTR>(result);
    SetWindowLongPtrA(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
  } catch (const std::exception& e) {
    ShowMessage(e.what(), m_sProgramName, MB_OK | MB_ICONERROR);
  } catch (...) {
    ShowMessage("An unexpected error occurred.", m_sProgramName, MB_OK | MB_ICONERROR);
  }
  return message == WM_INITDIALOG ? TRUE : FALSE;
}
