#include "app/PresetNameDlg.h"

#include <utility>

#include "resources/resource.h"
#include "settings/Presets.h"

CPresetNameDlg::CPresetNameDlg(std::string name, std::string programName)
    : CDialog(IDD_PRESET_NAME), Name(std::move(name)) {
  m_sProgramName = std::move(programName);
}

BOOL CPresetNameDlg::OnInitDialog() {
  Control<CWindow>(IDC_PRESET_NAME).SetUtf8Text(Name);
  return TRUE;
}

bool CPresetNameDlg::OnButtonClicked(int id) {
  if (id != IDOK) return CDialog::OnButtonClicked(id);
  const std::string name = Control<CWindow>(IDC_PRESET_NAME).GetUtf8Text();
  const std::string problem = PresetNameProblem(name);
  if (!problem.empty()) {
    ShowMessage(problem + ".", m_sProgramName, MB_OK | MB_ICONWARNING);
    return true;
  }
  Name = name;
  EndDialog(IDOK);
  return true;
}
