#include "cli/ShellWord.h"

std::string QuoteForShell(const std::string& word) {
  // The C runtime's rules: backslashes are plain unless a quote follows them, so those
  // before a quote (the word's own, or the closing one) are doubled.
  std::string argument = "\"";
  size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    argument.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    argument += c;
  }
  argument.append(backslashes * 2, '\\');
  argument += '"';
  // cmd.exe's: with every special character escaped, quotes included, cmd.exe takes none
  // of them as its own, inside or outside quotes. A "%" escaped so breaks the name of any
  // variable it would start, which then stays as written.
  const std::string special = "()%!^\"<>&|";
  std::string escaped;
  for (const char c : argument) {
    if (special.find(c) != std::string::npos) escaped += '^';
    escaped += c;
  }
  return escaped;
}
