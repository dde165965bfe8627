#include "app/CommandLineInfo.h"

#include <cstring>

void CMC_CommandLineInfo::ParseParam(const char* param, bool isSwitch, bool isLast) {
  if (isSwitch) {
    if (strcmp(param, "RegCorelWorkSpace") == 0) {
      RegisterWorkspace = true;
    } else if (strcmp(param, "UnRegCorelWorkSpace") == 0) {
      UnregisterWorkspace = true;
    }
    return;
  }
  m_nShellCommand = SHELL_FILE_OPEN;
  m_strFileName += param;
  if (!isLast) m_strFileName += ' ';
}

void ParseCommandLine(CMC_CommandLineInfo& info, int argc, const char* const* argv) {
  for (int i = 1; i < argc; ++i) {
    const char* param = argv[i];
    const bool isSwitch = param[0] == '/' || param[0] == '-';
    info.ParseParam(isSwitch ? param + 1 : param, isSwitch, i == argc - 1);
  }
}
