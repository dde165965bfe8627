// The dialog program's application object: the parsed command line and the settings file
// beside the program. A run either performs one CorelDRAW set-up operation (the toolbar,
// the macro project and the value that tells the macro where the program is) and ends, or
// shows the main dialog modally and ends when it closes.
#pragma once

#include "app/CommandLineInfo.h"
#include "settings/IniFile.h"

class CPlotgateApp {
 public:
  // Settings is "Plotgate.ini" in the program's folder.
  CPlotgateApp();

  // The whole run: common controls, the command line, the toolbar added, then the switch's
  // workspace and macro operation or the dialog. Returns false, as the program then ends.
  bool InitInstance(int argc, const char* const* argv);

  CMC_CommandLineInfo CmdInfo;
  CIniFile Settings;
};
