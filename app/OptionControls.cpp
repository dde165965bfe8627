#include "app/OptionControls.h"

#include <algorithm>
#include <cstdlib>

#include "resources/resource.h"
#include "settings/SpinStep.h"

namespace {

// The options whose check box governs an edit and its spin: the edit and spin are usable
// only while the box is ticked, and a step of the spin moves the edit's number.
struct OptionGroup {
  int check;
  int edit;
  int spin;
};
const OptionGroup OPTION_GROUPS[] = {
    {IDC_CHK_BLADE_OFFSET, IDC_BLADE_OFFSET, IDC_SPIN_BLADE_OFFSET},
    {IDC_CHK_OVERCUT, IDC_OVERCUT, IDC_SPIN_OVERCUT},
    {IDC_CHK_WEED_BORDER, IDC_WEED_BORDER, IDC_SPIN_WEED_BORDER},
};

}  // namespace

void COptionControls::SetUp(const CDialog& dialog) {
  m_dialog = &dialog;
  m_chkBladeOffset = dialog.Control<CButton>(IDC_CHK_BLADE_OFFSET);
  m_chkOverCut = dialog.Control<CButton>(IDC_CHK_OVERCUT);
  m_chkInsideFirst = dialog.Control<CButton>(IDC_CHK_INSIDE_FIRST);
  m_chkShortestTravel = dialog.Control<CButton>(IDC_CHK_SHORTEST_TRAVEL);
  m_chkWeedBorder = dialog.Control<CButton>(IDC_CHK_WEED_BORDER);
  m_bladeOffset = dialog.Control<CWindow>(IDC_BLADE_OFFSET);
  m_overCut = dialog.Control<CWindow>(IDC_OVERCUT);
  m_weedBorder = dialog.Control<CWindow>(IDC_WEED_BORDER);
  m_passes = dialog.Control<CWindow>(IDC_PASSES);
  m_bladeOffsetSpin = dialog.Control<CSpinButton>(IDC_SPIN_BLADE_OFFSET);
  m_overCutSpin = dialog.Control<CSpinButton>(IDC_SPIN_OVERCUT);
  m_weedBorderSpin = dialog.Control<CSpinButton>(IDC_SPIN_WEED_BORDER);
  m_passesSpin = dialog.Control<CSpinButton>(IDC_SPIN_PASSES);

  const struct {
    const CSpinButton& spin;
    const CWindow& edit;
  } distanceSpins[] = {
      {m_bladeOffsetSpin, m_bladeOffset}, {m_overCutSpin, m_overCut}, {m_weedBorderSpin, m_weedBorder}};
  for (const auto& distance : distanceSpins) {
    distance.spin.SetRange(1, 9999);
    distance.spin.SetBuddy(distance.edit);
  }
  // The passes spin writes its number into its edit itself.
  m_passesSpin.SetBuddy(m_passes);
  m_passesSpin.SetRange(MIN_PASSES, MAX_PASSES);
  const Choices first = DefaultChoices();
  m_bladeOffset.SetText(*first.bladeOffsetText);
  m_overCut.SetText(*first.overCutText);
  m_weedBorder.SetText(*first.weedBorderText);
  m_passesSpin.Send(UDM_SETPOS32, 0, *first.passes);
  dialog.EnableItems({IDC_BLADE_OFFSET, IDC_SPIN_BLADE_OFFSET, IDC_OVERCUT, IDC_SPIN_OVERCUT, IDC_CHK_INSIDE_FIRST,
                      IDC_CHK_SHORTEST_TRAVEL, IDC_CHK_WEED_BORDER, IDC_WEED_BORDER, IDC_SPIN_WEED_BORDER, IDC_PASSES,
                      IDC_SPIN_PASSES},
                     false);
}

void COptionControls::ShowOffsets(const Choices& choices) const {
  m_chkBladeOffset.SetCheck(choices.bladeOffset.value_or(false));
  m_chkOverCut.SetCheck(choices.overCut.value_or(false));
  m_bladeOffset.SetText(choices.bladeOffsetText.value_or(""));
  m_overCut.SetText(choices.overCutText.value_or(""));
}

void COptionControls::ShowCutOrder(const Choices& choices) const {
  m_chkInsideFirst.SetCheck(choices.insideFirst.value_or(false));
  m_chkShortestTravel.SetCheck(choices.shortestTravel.value_or(false));
  m_chkWeedBorder.SetCheck(choices.weedBorder.value_or(false));
  m_weedBorder.SetText(choices.weedBorderText.value_or(""));
  m_passesSpin.Send(UDM_SETPOS32, 0, choices.passes.value_or(MIN_PASSES));
}

void COptionControls::ShowPasses(int passes) const { m_passesSpin.Send(UDM_SETPOS32, 0, passes); }

void COptionControls::Read(Choices& choices) const {
  choices.bladeOffset = m_chkBladeOffset.GetCheck();
  choices.overCut = m_chkOverCut.GetCheck();
  choices.bladeOffsetText = m_bladeOffset.GetText();
  choices.overCutText = m_overCut.GetText();
  choices.insideFirst = m_chkInsideFirst.GetCheck();
  choices.shortestTravel = m_chkShortestTravel.GetCheck();
  choices.weedBorder = m_chkWeedBorder.GetCheck();
  choices.weedBorderText = m_weedBorder.GetText();
  choices.passes = std::min(std::max(atoi(m_passes.GetText().c_str()), MIN_PASSES), MAX_PASSES);
}

bool COptionControls::OnGroup(int id, const NMUPDOWN* step) const {
  for (const OptionGroup& group : OPTION_GROUPS) {
    if (step && id == group.spin) {
      const CWindow edit(m_dialog->Item(group.edit));
      edit.SetText(SpinStep(edit.GetText(), step->iDelta));
      return true;
    }
    if (!step && id == group.check) {
      m_dialog->EnableItems({group.edit, group.spin}, m_dialog->Control<CButton>(group.check).GetCheck());
      return true;
    }
  }
  return false;
}

void COptionControls::EnableForJob(bool job) const {
  m_dialog->EnableItems({IDC_CHK_BLADE_OFFSET, IDC_CHK_OVERCUT, IDC_CHK_INSIDE_FIRST, IDC_CHK_SHORTEST_TRAVEL,
                         IDC_CHK_WEED_BORDER, IDC_PASSES, IDC_SPIN_PASSES},
                        job);
  if (job) {
    for (const OptionGroup& group : OPTION_GROUPS) OnGroup(group.check, nullptr);
  } else {
    m_dialog->EnableItems({IDC_WEED_BORDER, IDC_SPIN_WEED_BORDER}, false);
  }
}

void COptionControls::DisableCutOrder() const {
  m_dialog->EnableItems({IDC_CHK_INSIDE_FIRST, IDC_CHK_SHORTEST_TRAVEL, IDC_CHK_WEED_BORDER, IDC_WEED_BORDER,
                         IDC_SPIN_WEED_BORDER, IDC_PASSES, IDC_SPIN_PASSES},
                        false);
}
