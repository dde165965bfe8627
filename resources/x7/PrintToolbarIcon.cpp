// Writes the toolbar button's picture text to the file named on the command line, for the
// build to put into the prepared version 17 workspace. Built for the build machine, so
// that a cross build can run it.
#include <cstdio>

#include "corel/ToolbarIcon.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: PrintToolbarIcon OUTPUT\n");
    return 2;
  }
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  const std::string& text = ToolbarIcon();
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (std::fclose(out) != 0 || !written) {
    std::perror(argv[1]);
    return 1;
  }
  return 0;
}
