// gms-pack SOURCE.bas OUT.gms OUT.bas: packs the export macro's module source as the VBA
// project "MeridalVorn" (the GMS file CorelDRAW loads from its GMS folders) and writes the
// source again with CR LF line ends, the form the VBA editor imports by hand. Runs on the
// build machine at build time; exit status 0 on success, 1 with a message on stderr.
#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "corel/macro/VbaProject.h"

namespace {

const char PROJECT_NAME[] = "MeridalVorn";
const char MODULE_NAME[] = "Ver001";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) throw std::runtime_error("cannot read " + path);
  return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: gms-pack SOURCE.bas OUT.gms OUT.bas\n");
    return 1;
  }
  try {
    std::string source = ReadFile(argv[1]);
    std::string gms = BuildVbaProject(PROJECT_NAME, MODULE_NAME, source).Write();
    WriteFile(argv[2], gms);
    WriteFile(argv[3], ToCrLf(source));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "gms-pack: %s\n", error.what());
    return 1;
  }
  return 0;
}
