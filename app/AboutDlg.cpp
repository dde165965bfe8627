#include "app/AboutDlg.h"

#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "resources/resource.h"

const char* const WEBSITE1_ADDRESS = "https://www.meridal.example/";
const char* const WEBSITE2_ADDRESS = "https://www.meridal.example/plotgate/";

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}

BOOL CAboutDlg::OnInitDialog() {
  // A link control shows its text and opens its target; both are the same address.
  for (const auto& [id, address] : {std::pair<int, const char*>{IDC_WEBSITE1, WEBSITE1_ADDRESS},
                                    std::pair<int, const char*>{IDC_WEBSITE2, WEBSITE2_ADDRESS}}) {
    CWindow(Item(id)).SetText(std::string("<a href=\"") + address + "\">" + address + "</a>");
  }
  CWindow(Item(IDC_VERSION)).SetText(LoadResourceText(IDS_VERSION));
  return TRUE;
}

bool CAboutDlg::OnButtonClicked(int id) {
  if (id != IDOK) return CDialog::OnButtonClicked(id);
  EndDialog(IDOK);
  return true;
}

bool CAboutDlg::OnNotify(const NMHDR& header, LRESULT&) {
  if ((header.idFrom != IDC_WEBSITE1 && header.idFrom != IDC_WEBSITE2) ||
      (header.code != NM_CLICK && header.code != NM_RETURN)) {
    return false;
  }
  ShellExecuteA(m_hWnd, "open", header.idFrom == IDC_WEBSITE1 ? WEBSITE1_ADDRESS : WEBSITE2_ADDRESS, nullptr, nullptr,
                SW_SHOWNORMAL);
  return true;
}
