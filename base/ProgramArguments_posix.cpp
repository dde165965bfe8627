#include "base/ProgramArguments.h"

std::vector<std::string> ProgramArguments(int argc, const char* const* argv) {
  return std::vector<std::string>(argv, argv + (argc > 0 ? argc : 0));
}
