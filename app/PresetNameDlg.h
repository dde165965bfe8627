// The window that asks for the name of a material preset to save (dialog template
// IDD_PRESET_NAME): Save takes the name only when it may name a preset, and otherwise says
// which rule it breaks and stays open, so that the user mends the name.
#pragma once

#include <string>

#include "ui/Dialog.h"

class CPresetNameDlg : public CDialog {
 public:
  // `name` (UTF-8) is the edit's first text; `programName` the caption of its messages.
  CPresetNameDlg(std::string name, std::string programName);

  // The name typed (UTF-8), once the window has ended with IDOK.
  std::string Name;

 protected:
  BOOL OnInitDialog() override;
  bool OnButtonClicked(int id) override;
};
