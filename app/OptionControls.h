// The dialog's option controls: the blade offset, the over-cut and the weed border, each a
// check box that governs an edit and its spin, the two cut order check boxes, and the
// passes with their spin. They show and give the choices they stand for (Choices.h), so
// the dialog reads and restores them as one value.
#pragma once

#include "settings/Choices.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

class COptionControls {
 public:
  // Takes the controls of `dialog`, sets their ranges, spins' edits and first texts, and
  // disables them until a job is loaded.
  void SetUp(const CDialog& dialog);
  // Shows the offset choices of complete `choices` (as Merged with DefaultChoices gives them).
  void ShowOffsets(const Choices& choices) const;
  // Shows the cut order of `choices`; what it lacks shows as on a first run, the weed
  // border's text as "".
  void ShowCutOrder(const Choices& choices) const;
  // Shows `passes` in their edit as if typed, so that the dialog orders the job for them.
  void ShowPasses(int passes) const;
  // Sets the offset and cut order choices of `choices` to what the controls show.
  void Read(Choices& choices) const;
  // The check box `id` of a group, `step` null: its edit and spin usable only while it is
  // ticked; or the spin `id` of one, with its `step`: the edit's number moved one step.
  // False for any other id.
  bool OnGroup(int id, const NMUPDOWN* step) const;
  // Enables the controls as the job allows: each box and the passes when there is one, each
  // edit and spin only while its box is ticked.
  void EnableForJob(bool job) const;
  // Disables what changes the cut, while a send is under way (the offsets are read at the
  // send's start and may change).
  void DisableCutOrder() const;

 private:
  const CDialog* m_dialog = nullptr;
  CButton m_chkBladeOffset, m_chkOverCut, m_chkInsideFirst, m_chkShortestTravel, m_chkWeedBorder;
  CWindow m_bladeOffset, m_overCut, m_weedBorder, m_passes;
  CSpinButton m_bladeOffsetSpin, m_overCutSpin, m_weedBorderSpin, m_passesSpin;
};
