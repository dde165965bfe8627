// The dialog program's command line: an exchange file path, or one of the two workspace
// switches.
//
//   Plotgate.exe C:\Temp\job.plt          open the dialog on the file
//   Plotgate.exe C:\My Files\job          unquoted: two arguments, joined again as one path
//   Plotgate.exe /RegCorelWorkSpace       add the toolbar, no window
//   Plotgate.exe -UnRegCorelWorkSpace     add, then remove the toolbar, no window
//
// Switches compare exactly and case-sensitively; any other switch is ignored. An argument
// that is not a switch is a piece of the file name, so "RegCorelWorkSpace" without "/" or
// "-" names a file.
#pragma once

#include <string>

// What the run does after the command line (the framework's shell commands).
const int SHELL_NOTHING = -1;   // no file: the dialog without a job
const int SHELL_FILE_OPEN = 1;  // a file was named

class CMC_CommandLineInfo {
 public:
  // One argument after the program name, with a leading "/" or "-" removed when
  // `isSwitch`; `isLast` for the final one. A file argument is appended to m_strFileName,
  // followed by one space unless it is the last.
  void ParseParam(const char* param, bool isSwitch, bool isLast);

  int m_nShellCommand = SHELL_NOTHING;
  std::string m_strFileName;
  bool RegisterWorkspace = false;    // "RegCorelWorkSpace" was given
  bool UnregisterWorkspace = false;  // "UnRegCorelWorkSpace" was given
};

// Feeds the arguments after the program name (argv[1..argc-1], as the C runtime split
// them) to info.ParseParam from left to right.
void ParseCommandLine(CMC_CommandLineInfo& info, int argc, const char* const* argv);
