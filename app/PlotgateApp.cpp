#include "PlotgateApp.h"

#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>

#include <cstdlib>

#include "CorelWorkspace.h"
#include "ModuleDir.h"
#include "PlotgateDlg.h"
#include "RegistryReader.h"

namespace {

void RegisterWorkspace(bool add) { RegisterCorelWorkspace(add, *CurrentUserRegistry(), GetModuleDir()); }

}  // namespace

CPlotgateApp::CPlotgateApp() { Settings.IniPath = GetModuleDir() + "Plotgate.ini"; }

bool CPlotgateApp::InitInstance(int argc, const char* const* argv) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
  InitCommonControlsEx(&controls);
  ParseCommandLine(CmdInfo, argc, argv);
  // Every start adds the toolbar, whatever the command line holds.
  RegisterWorkspace(true);
  if (CmdInfo.RegisterWorkspace) {
    RegisterWorkspace(true);
  } else if (CmdInfo.UnregisterWorkspace) {
    RegisterWorkspace(false);
  } else {
    CPlotgateDlg dialog(Settings, CmdInfo.m_nShellCommand == SHELL_FILE_OPEN ? CmdInfo.m_strFileName : "");
    dialog.DoModal();
  }
  return false;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  CPlotgateApp app;
  app.InitInstance(__argc, __argv);
  return 0;
}
