// The dialog's material controls: the Material list, "(none)" and the presets of
// "Presets.ini" beside the settings file, with its Save as... and Delete buttons, and the
// Force and Speed check boxes, each governing its edit (grams, cm/s).
//
// Choosing a preset shows its offset, over-cut, passes, force and speed in their controls;
// while any of them differs from it the list shows "NAME (changed)", and a send remembers
// no preset then. A presets file that cannot be read is told once, and the list then holds
// "(none)" only; Save as... and Delete read the file again under the settings lock and
// never replace a file that cannot be read. A model that speaks DM/PL is sent no force:
// its force controls are disabled, with the reason as their tooltip.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/OptionControls.h"
#include "settings/Choices.h"
#include "settings/Presets.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

class CMaterialControls {
 public:
  // Takes the controls of `dialog`, whose offset, over-cut and passes `options` shows;
  // `shown` gives the choices all the dialog's controls show.
  void SetUp(const CDialog& dialog, const COptionControls& options, std::function<Choices()> shown);
  // Start-up: shows the force and speed of complete `choices` (as Merged with
  // DefaultChoices gives them) and the model `model`'s force controls, and reads the presets
  // beside the settings file at `settingsPath` into the list, choosing the choices' preset
  // when it is one of them and "(none)" otherwise.
  void Restore(const std::string& settingsPath, const Choices& choices, int model);
  // Sets the force and speed of `choices` to what the controls show, and the preset to the
  // chosen one's name: "" for "(none)" or a preset whose values the controls no longer show.
  void Read(Choices& choices) const;
  // The first ticked value of the controls showing `shown` that a send must not use nor a
  // preset keep, worded as the command line refuses it ("Force takes grams from 1 to 1000,
  // not \"1200\""); "" when every one may be used.
  std::string Refused(const Choices& shown) const;
  // Command `code` from control `id`: the list and its buttons act, a box of Force or Speed
  // governs its edit, and a change of a value a preset sets marks the preset changed. True
  // when the command was the list's or its buttons' own.
  bool OnCommand(int id, int code);
  // The model `model` (an index into the model table) is chosen: the force controls are
  // usable only when its dialect sends a force.
  void ShowModel(int model);
  // Enables the controls as the job allows: each edit only while its box is ticked, the
  // force's only for a model that takes it, Delete only while a preset is chosen.
  void EnableForJob(bool job);

 private:
  void ShowTool(const Choices& choices) const;
  void Fill(const std::vector<Preset>& presets, const std::string& chosen);
  void Choose();
  void Save();
  void Delete();
  void ShowChanged();
  void Enable() const;
  // Writes `presets` in place of the file's, `change` made under the settings lock to what
  // the file holds; false, after the reason, when the file cannot be read or written.
  bool ChangeFile(std::vector<Preset>& presets, const std::function<bool(std::vector<Preset>&)>& change) const;
  int Tell(const std::string& text, UINT type) const;

  const CDialog* m_dialog = nullptr;
  const COptionControls* m_options = nullptr;
  std::function<Choices()> m_shown;
  CComboBox m_list;
  CButton m_chkForce, m_chkSpeed;
  CWindow m_force, m_speed;
  CToolTip m_tip;
  std::string m_settingsPath, m_presetsPath;
  std::vector<Preset> m_presets;  // the list's entries after "(none)"
  int m_chosen = 0;               // the list's chosen entry, 0 for "(none)"
  bool m_changed = false;         // the controls no longer show the chosen preset's values
  bool m_applying = false;        // a preset's values are being shown: no change to mark
  bool m_job = false;
  int m_model = 0;
};
