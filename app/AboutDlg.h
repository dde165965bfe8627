// The About box (dialog template 100): the program icon, the version text, the maker's
// notice and two links to the maker's web sites, each opening the address it shows.
#pragma once

#include "ui/Dialog.h"

// The two web addresses, as shown and as opened.
extern const char* const WEBSITE1_ADDRESS;
extern const char* const WEBSITE2_ADDRESS;

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();

 protected:
  BOOL OnInitDialog() override;
  bool OnButtonClicked(int id) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
};
