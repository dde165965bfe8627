#include "app/PlotgateApp.h"

#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>
#include <shlobj.h>

#include <cstdlib>
#include <vector>

#include "app/PlotgateDlg.h"
#include "base/ModuleDir.h"
#include "base/ProgramArguments.h"
#include "base/WideText.h"
#include "corel/CorelWorkspace.h"
#include "corel/MacroInstall.h"
#include "corel/RegistryReader.h"
#include "corel/RegistryWriter.h"
#include "pipeline/BlockPool.h"

namespace {

void RegisterWorkspace(bool add) { RegisterCorelWorkspace(add, *CurrentUserRegistry(), GetModuleDir()); }

// The user's roaming application-data folder, "" when Windows cannot say.
std::string AppDataFolder() {
  wchar_t path[MAX_PATH];
  return SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? Utf8FromWide(path) : "";
}

// The running program's full path, "" when it does not fit.
std::string ProgramPath() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? Utf8FromWide(path, length) : "";
}

// Puts the macro project into CorelDRAW's GMS folders and tells the macro where this
// program is, or takes both away. Only the two switches do this: an ordinary start writes
// nothing to the registry.
void RegisterMacro(bool add) {
  const std::unique_ptr<CRegistryWriter> writer = CurrentUserRegistryWriter();
  const std::string program = ProgramPath();
  if (!add) {
    UninstallMacroProject(*CurrentUserRegistry(), *writer, program);
  } else if (!program.empty()) {
    InstallMacroProject(*CurrentUserRegistry(), *writer, AppDataFolder(), program);
  }
}

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
    RegisterMacro(true);
  } else if (CmdInfo.UnregisterWorkspace) {
    RegisterWorkspace(false);
    RegisterMacro(false);
  } else {
    CPlotgateDlg dialog(Settings, CmdInfo.m_nShellCommand == SHELL_FILE_OPEN ? CmdInfo.m_strFileName : "");
    dialog.DoModal();
  }
  return false;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Libraries ("VornLib.dll") are never looked for in the current folder, which CorelDRAW
  // hands on and which may be any folder, one holding a planted library among them.
  SetDllDirectoryA("");
  // The job's lists take their nodes from the pool: far fewer heap calls on a large job.
  UseBlockPool(g_routines);
  CPlotgateApp app;
  // The arguments as UTF-8 from the UTF-16 command line: a job in a folder whose name the
  // ANSI code page cannot hold is still found.
  const std::vector<std::string> arguments = ProgramArguments(__argc, __argv);
  const std::vector<const char*> argv = ArgvOf(arguments);
  app.InitInstance(static_cast<int>(argv.size()), argv.data());
  return 0;
}
