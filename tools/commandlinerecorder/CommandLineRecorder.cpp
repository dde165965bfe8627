// Stands in for Plotgate.exe where a test only asks how it was started: writes its own
// command line, exactly as the system gives it, to "command-line.txt" beside itself and
// ends. No window.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char program[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
  if (length == 0 || length >= sizeof program) return 1;
  std::string record(program);
  record.erase(record.find_last_of('\\') + 1);
  record += "command-line.txt";
  FILE* file = fopen(record.c_str(), "wb");
  if (!file) return 1;
  const bool written = fputs(GetCommandLineA(), file) >= 0;
  return fclose(file) == 0 && written ? 0 : 1;
}
