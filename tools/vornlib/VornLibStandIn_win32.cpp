// A stand-in for the maker's USB library "VornLib.dll", for tests and trial runs: a test
// double that records what it is sent instead of driving a cutter. Never ship or install
// it as the maker's library.
//
// It exports what the two programs use:
//   by name, for VornUSBSend: OpenUSBDevice(device) -> 1, CloseUSBDevice(device),
//     ReadData(buffer, count) -> 1 with every byte "E" once the cutter is ready, else 0,
//     WriteData(buffer, count) -> 1 when taken, 0 when it fails;
//   by ordinal, for the main program's driver: 5 reads (ReadData itself), 4 writes and
//     returns the count written, -1 when it fails.
// All entries use the stdcall convention of Win32 libraries.
//
// Steered by environment variables, read at the first call:
//   VORNLIB_RECORD=FILE       every byte given to a write entry is appended to FILE
//   VORNLIB_CALLS=FILE        one line per call other than a read, with the reads since
//                             the last write: "OpenUSBDevice 0", "WriteData 4096 after 3
//                             polls", "write 40 after 1 polls", "CloseUSBDevice 0 after 0
//                             polls"
//   VORNLIB_READY_AFTER=N     the Nth read after each write (and after the start) brings
//                             the ready byte; 1 when unset; "never": no read ever does
//   VORNLIB_FAIL_WRITE=N      the Nth write (of either entry, counted from 1) fails and
//                             records nothing
//   VORNLIB_FAIL_OPEN=1       OpenUSBDevice returns 0
//   VORNLIB_WRITE_MS=N        every write takes N milliseconds (a slow cutter)
//   VORNLIB_END_AT_WRITE=N    the Nth write ends the calling process with the exit code
//                             0xC0000005, as a crash inside the library would
// A library that lacks an entry is a second build of this file, "VornLibNoWrite.dll",
// which exports no "WriteData"; copy it under the name "VornLib.dll" to use it.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

struct Settings {
  std::string m_sRecord;
  std::string m_sCalls;
  long m_nReadyAfter = 1;  // 0: never
  long m_nFailWrite = 0;   // 0: no write fails
  bool m_bFailOpen = false;
  long m_nWriteMs = 0;
  long m_nEndAtWrite = 0;  // 0: no write ends the process
};

// From the process's environment itself, which a test may have changed after start-up.
std::string Variable(const char* name) {
  char value[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
  return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

const Settings& TheSettings() {
  static const Settings settings = [] {
    Settings s;
    s.m_sRecord = Variable("VORNLIB_RECORD");
    s.m_sCalls = Variable("VORNLIB_CALLS");
    const std::string ready = Variable("VORNLIB_READY_AFTER");
    if (ready == "never") {
      s.m_nReadyAfter = 0;
    } else if (!ready.empty()) {
      s.m_nReadyAfter = strtol(ready.c_str(), nullptr, 10);
    }
    s.m_nFailWrite = strtol(Variable("VORNLIB_FAIL_WRITE").c_str(), nullptr, 10);
    s.m_bFailOpen = Variable("VORNLIB_FAIL_OPEN") == "1";
    s.m_nWriteMs = strtol(Variable("VORNLIB_WRITE_MS").c_str(), nullptr, 10);
    s.m_nEndAtWrite = strtol(Variable("VORNLIB_END_AT_WRITE").c_str(), nullptr, 10);
    return s;
  }();
  return settings;
}

long g_nPolls = 0;   // reads since the last write
long g_nWrites = 0;  // writes so far, failed ones included

void Append(const std::string& file, const void* bytes, size_t count) {
  if (file.empty()) return;
  FILE* out = fopen(file.c_str(), "ab");
  if (!out) return;
  fwrite(bytes, 1, count, out);
  fclose(out);
}

void LogCall(const char* entry, int argument, bool withPolls) {
  std::string line = std::string(entry) + " " + std::to_string(argument);
  if (withPolls) line += " after " + std::to_string(g_nPolls) + " polls";
  line += "\n";
  Append(TheSettings().m_sCalls, line.data(), line.size());
}

// Counts the write and keeps its bytes; false for the write that is to fail.
bool Take(const char* entry, const void* buffer, int count) {
  LogCall(entry, count, true);
  g_nPolls = 0;
  if (TheSettings().m_nWriteMs > 0) Sleep(static_cast<DWORD>(TheSettings().m_nWriteMs));
  if (++g_nWrites == TheSettings().m_nEndAtWrite) TerminateProcess(GetCurrentProcess(), 0xC0000005);
  if (g_nWrites == TheSettings().m_nFailWrite) return false;
  if (buffer && count > 0) Append(TheSettings().m_sRecord, buffer, count);
  return true;
}

}  // namespace

// The exports, their names and ordinals come from the .def file of each build.
extern "C" {

int WINAPI OpenUSBDevice(int device) {
  LogCall("OpenUSBDevice", device, false);
  return TheSettings().m_bFailOpen ? 0 : 1;
}

int WINAPI CloseUSBDevice(int device) {
  LogCall("CloseUSBDevice", device, true);
  return 1;
}

int WINAPI ReadData(void* buffer, int count) {
  ++g_nPolls;
  const long after = TheSettings().m_nReadyAfter;
  if (!buffer || count <= 0 || after <= 0 || g_nPolls < after) return 0;
  memset(buffer, 'E', count);
  return 1;
}

#ifndef VORNLIB_WITHOUT_WRITEDATA
int WINAPI WriteData(const void* buffer, int count) { return Take("WriteData", buffer, count) ? 1 : 0; }
#endif

// The main program's write entry (ordinal 4): the count written is its result.
int WINAPI VornWrite(const void* buffer, int count) { return Take("write", buffer, count) ? count : -1; }

}  // extern "C"
