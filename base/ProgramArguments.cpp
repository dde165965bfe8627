#include "base/ProgramArguments.h"

std::vector<const char*> ArgvOf(const std::vector<std::string>& arguments) {
  std::vector<const char*> argv;
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  return argv;
}
