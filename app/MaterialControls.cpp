#include "app/MaterialControls.h"

#include <cstdlib>

#include "app/PresetNameDlg.h"
#include "cutter/ModelTable.h"
#include "resources/resource.h"
#include "settings/ChoiceLimits.h"
#include "settings/FileException.h"
#include "settings/SettingsLock.h"

namespace {

const char* const NO_PRESET = "(none)";

// The values a preset holds, whatever its name.
bool SameValues(const Preset& a, const Preset& b) {
  return a.bladeOffset == b.bladeOffset && a.bladeOffsetText == b.bladeOffsetText && a.overCut == b.overCut &&
         a.overCutText == b.overCutText && a.passes == b.passes && a.tool.force == b.tool.force &&
         a.tool.speed == b.tool.speed;
}

// The controls' changes that may make the values differ from the chosen preset's.
bool ChangesPresetValue(int id, int code) {
  switch (id) {
    case IDC_BLADE_OFFSET:
    case IDC_OVERCUT:
    case IDC_PASSES:
    case IDC_FORCE:
    case IDC_SPEED: return code == EN_CHANGE;
    case IDC_CHK_BLADE_OFFSET:
    case IDC_CHK_OVERCUT:
    case IDC_CHK_FORCE:
    case IDC_CHK_SPEED: return code == BN_CLICKED;
    default: return false;
  }
}

// The number a ticked box's edit shows, 0 for an unticked box.
int ValueOf(const CButton& box, const CWindow& edit) { return box.GetCheck() ? atoi(edit.GetText().c_str()) : 0; }

void ShowValue(const CButton& box, const CWindow& edit, int value) {
  box.SetCheck(value > 0);
  edit.SetText(value > 0 ? std::to_string(value) : "");
}

}  // namespace

void CMaterialControls::SetUp(const CDialog& dialog, const COptionControls& options, std::function<Choices()> shown) {
  m_dialog = &dialog;
  m_options = &options;
  m_shown = std::move(shown);
  m_list = dialog.Control<CComboBox>(IDC_MATERIAL);
  m_chkForce = dialog.Control<CButton>(IDC_CHK_FORCE);
  m_chkSpeed = dialog.Control<CButton>(IDC_CHK_SPEED);
  m_force = dialog.Control<CWindow>(IDC_FORCE);
  m_speed = dialog.Control<CWindow>(IDC_SPEED);
  m_tip.Create(dialog.m_hWnd);
  // The open list twice as wide as the box, so that long names show whole.
  RECT box;
  GetWindowRect(m_list.m_hWnd, &box);
  m_list.Send(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(2 * (box.right - box.left)));
  m_list.AddString(NO_PRESET);
  m_list.SetCurSel(0);
  Enable();
}

void CMaterialControls::ShowTool(const Choices& choices) const {
  ShowValue(m_chkForce, m_force, choices.force.value_or(0));
  ShowValue(m_chkSpeed, m_speed, choices.speed.value_or(0));
}

void CMaterialControls::Restore(const std::string& settingsPath, const Choices& choices, int model) {
  ShowTool(choices);
  m_model = model;
  m_settingsPath = settingsPath;
  m_presetsPath = PresetsPathBeside(settingsPath);
  std::vector<Preset> presets;
  std::string reason;
  if (!ReadPresets(m_presetsPath, presets, reason)) Tell(PresetsUnreadableText(m_presetsPath, reason), MB_ICONWARNING);
  Fill(presets, choices.preset.value_or(""));
}

void CMaterialControls::Read(Choices& choices) const {
  choices.force = ValueOf(m_chkForce, m_force);
  choices.speed = ValueOf(m_chkSpeed, m_speed);
  choices.preset = m_chosen > 0 && !m_changed ? m_presets[static_cast<size_t>(m_chosen - 1)].name : "";
}

std::string CMaterialControls::Refused(const Choices& shown) const {
  const std::string offsets = RefusedOptionText(shown);
  if (!offsets.empty()) return offsets;
  const struct {
    const CButton& box;
    const CWindow& edit;
    const char* label;
    const WholeRange& range;
  } values[] = {{m_chkForce, m_force, "Force", FORCE_RANGE}, {m_chkSpeed, m_speed, "Speed", SPEED_RANGE}};
  for (const auto& value : values) {
    const std::string problem = value.box.GetCheck() ? WholeRangeProblem(value.edit.GetText(), value.range) : "";
    if (!problem.empty()) return value.label + (" " + problem);
  }
  return "";
}

bool CMaterialControls::OnCommand(int id, int code) {
  if (id == IDC_MATERIAL) {
    if (code == CBN_SELCHANGE) Choose();
    return true;
  }
  if (id == IDC_PRESET_SAVE) {
    if (code == BN_CLICKED) Save();
    return true;
  }
  if (id == IDC_PRESET_DELETE) {
    if (code == BN_CLICKED) Delete();
    return true;
  }
  if (code == BN_CLICKED && id == IDC_CHK_FORCE) m_force.Enable(m_chkForce.GetCheck());
  if (code == BN_CLICKED && id == IDC_CHK_SPEED) m_speed.Enable(m_chkSpeed.GetCheck());
  if (ChangesPresetValue(id, code)) ShowChanged();
  return false;
}

void CMaterialControls::ShowModel(int model) {
  m_model = model;
  Enable();
}

void CMaterialControls::EnableForJob(bool job) {
  m_job = job;
  Enable();
}

void CMaterialControls::Enable() const {
  const bool forceTaken = ForceNotSentText(m_model, 0).empty();
  m_dialog->EnableItems({IDC_MATERIAL, IDC_PRESET_SAVE, IDC_CHK_SPEED}, m_job);
  m_dialog->EnableItems({IDC_PRESET_DELETE}, m_job && m_chosen > 0);
  m_dialog->EnableItems({IDC_CHK_FORCE}, m_job && forceTaken);
  m_force.Enable(m_job && forceTaken && m_chkForce.GetCheck());
  m_speed.Enable(m_job && m_chkSpeed.GetCheck());
  const std::string tip = ForceNotSentText(m_model, ValueOf(m_chkForce, m_force));
  for (HWND control : {m_chkForce.m_hWnd, m_force.m_hWnd}) m_tip.SetTip(control, tip);
}

void CMaterialControls::Fill(const std::vector<Preset>& presets, const std::string& chosen) {
  m_presets = presets;
  m_list.Send(CB_RESETCONTENT);
  m_list.AddString(NO_PRESET);
  for (const Preset& preset : m_presets) m_list.InsertText(-1, preset.name);
  const Preset* found = FindPreset(m_presets, chosen);
  m_chosen = found ? static_cast<int>(found - m_presets.data()) + 1 : 0;
  m_changed = false;
  m_list.SetCurSel(m_chosen);
  ShowChanged();
  Enable();
}

void CMaterialControls::Choose() {
  const int entry = m_list.GetCurSel();
  // The changed preset chosen again shows its own values again.
  if (entry < 0 || (entry == m_chosen && !m_changed)) return;
  // The preset left shows its plain name again.
  if (m_changed && entry != m_chosen) {
    m_list.DeleteString(m_chosen);
    m_list.InsertText(m_chosen, m_presets[static_cast<size_t>(m_chosen - 1)].name);
    m_list.SetCurSel(entry);
    m_changed = false;
  }
  m_chosen = entry;
  if (m_chosen > 0) {
    // A distance the preset leaves off keeps the text shown; the passes are shown as if
    // typed, so that the job is ordered again for them.
    const Choices values = Merged(ChoicesOfPreset(m_presets[static_cast<size_t>(m_chosen - 1)]), m_shown());
    m_applying = true;
    m_options->ShowOffsets(values);
    m_options->OnGroup(IDC_CHK_BLADE_OFFSET, nullptr);
    m_options->OnGroup(IDC_CHK_OVERCUT, nullptr);
    ShowTool(values);
    m_options->ShowPasses(values.passes.value_or(1));
    m_applying = false;
  }
  // Passes the job cannot take are put back: the preset is then shown as changed.
  ShowChanged();
  Enable();
}

void CMaterialControls::ShowChanged() {
  if (m_applying || m_chosen <= 0) return;
  const Preset& chosen = m_presets[static_cast<size_t>(m_chosen - 1)];
  const bool changed = !SameValues(PresetOfChoices(chosen.name, m_shown()), chosen);
  if (changed == m_changed) return;
  m_changed = changed;
  m_list.DeleteString(m_chosen);
  m_list.InsertText(m_chosen, changed ? chosen.name + " (changed)" : chosen.name);
  m_list.SetCurSel(m_chosen);
}

void CMaterialControls::Save() {
  const Choices shown = m_shown();
  // A value the command line would refuse would make the whole file unreadable to it.
  const std::string refused = Refused(shown);
  if (!refused.empty()) {
    Tell(refused + ".", MB_ICONWARNING);
    return;
  }
  CPresetNameDlg ask(m_chosen > 0 ? m_presets[static_cast<size_t>(m_chosen - 1)].name : "", m_dialog->m_sProgramName);
  if (ask.DoModal(m_dialog->m_hWnd) != IDOK) return;
  const Preset preset = PresetOfChoices(ask.Name, shown);
  const Preset* known = FindPreset(m_presets, preset.name);
  const bool replace = known != nullptr;
  if (known && Tell(PresetNameTakenText(known->name) + ". Replace it?", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  std::vector<Preset> presets;
  const bool saved = ChangeFile(presets, [this, &preset, replace](std::vector<Preset>& held) {
    switch (StorePreset(held, preset, replace)) {
      case PRESET_STORED: return true;
      case PRESET_NAME_TAKEN:
        Tell(PresetNameTakenText(FindPreset(held, preset.name)->name) + ".", MB_ICONWARNING);
        break;
      case PRESET_LIST_FULL: Tell(PresetListFullText() + ".", MB_ICONWARNING); break;
    }
    return false;
  });
  if (saved) Fill(presets, preset.name);
}

void CMaterialControls::Delete() {
  if (m_chosen <= 0) return;
  const std::string name = m_presets[static_cast<size_t>(m_chosen - 1)].name;
  if (Tell("Delete the preset \"" + name + "\"?", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
  std::vector<Preset> presets;
  const bool deleted = ChangeFile(presets, [&name](std::vector<Preset>& held) {
    // One another program deleted already is gone all the same.
    if (const Preset* found = FindPreset(held, name)) held.erase(held.begin() + (found - held.data()));
    return true;
  });
  if (deleted) Fill(presets, "");
}

bool CMaterialControls::ChangeFile(std::vector<Preset>& presets,
                                   const std::function<bool(std::vector<Preset>&)>& change) const {
  try {
    // Under the settings lock, so that a command changing the presets at once keeps its change.
    const CSettingsLock lock(m_settingsPath);
    std::string reason;
    if (!ReadPresets(m_presetsPath, presets, reason)) {
      Tell(PresetsUnreadableText(m_presetsPath, reason), MB_ICONWARNING);
      return false;
    }
    if (!change(presets)) return false;
    WritePresets(m_presetsPath, presets);
  } catch (const CFileException& error) {
    Tell(error.what(), MB_ICONWARNING);
    return false;
  }
  return true;
}

int CMaterialControls::Tell(const std::string& text, UINT type) const {
  return m_dialog->ShowMessage(text, m_dialog->m_sProgramName, type);
}
