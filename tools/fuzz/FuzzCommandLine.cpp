// The dialog program's command line: arguments as the C runtime hands them over, checked
// against the join rule. Input: the arguments after the program name, each ended by a zero
// byte (the last one by the end of the input).
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/CommandLineInfo.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> args{"Plotgate.exe"};
  if (size > 0) args.emplace_back();
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.emplace_back();
    } else {
      args.back() += static_cast<char>(data[i]);
    }
  }
  std::vector<const char*> argv;
  for (const std::string& a : args) argv.push_back(a.c_str());

  CMC_CommandLineInfo info;
  ParseCommandLine(info, static_cast<int>(argv.size()), argv.data());

  // Every argument without "/" or "-" is a piece of the file name, followed by one space
  // unless it is the last argument; a switch counts only when its name matches exactly.
  std::string name;
  bool reg = false, unreg = false, file = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!a.empty() && (a[0] == '/' || a[0] == '-')) {
      reg = reg || a.substr(1) == "RegCorelWorkSpace";
      unreg = unreg || a.substr(1) == "UnRegCorelWorkSpace";
      continue;
    }
    file = true;
    name += a;
    if (i + 1 < args.size()) name += ' ';
  }
  if (info.m_strFileName != name || info.RegisterWorkspace != reg || info.UnregisterWorkspace != unreg ||
      (info.m_nShellCommand == SHELL_FILE_OPEN) != file)
    abort();
  return 0;
}
