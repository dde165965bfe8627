#include "cli/ShellWord.h"

std::string QuoteForShell(const std::string& word) {
  // Nothing is special inside single quotes but the closing quote itself.
  std::string quoted = "'";
  for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}
