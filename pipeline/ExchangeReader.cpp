#include "ExchangeReader.h"

#include <cstring>

#include "PipelineRoutines.h"
#include "ScanNumbers.h"

namespace {

// The bytes of the file in order, read in large blocks through the pipeline routines.
class CByteSource {
 public:
  explicit CByteSource(FILE* file) : m_file(file) {}

  // The next byte, or -1 at the end of the file or once a read has failed.
  int Next() {
    if (m_next == m_end && !Refill()) return -1;
    return *m_next++;
  }

  // True when no byte is left: at the end of the file, or after a failed read.
  bool AtEnd() const { return m_next == m_end && (m_failed || g_routines.Eof(m_file)); }

  bool Failed() const { return m_failed; }

 private:
  bool Refill() {
    if (m_failed) return false;
    const size_t count = g_routines.Read(m_block, 1, sizeof m_block, m_file);
    // Nothing read short of the end of the file is a read error (a folder gives EISDIR):
    // it ends the input instead of being asked again for ever.
    if (count == 0 && !g_routines.Eof(m_file)) m_failed = true;
    m_next = m_block;
    m_end = m_block + count;
    return count > 0;
  }

  FILE* m_file;
  unsigned char m_block[64 * 1024];
  const unsigned char* m_next = m_block;
  const unsigned char* m_end = m_block;
  bool m_failed = false;
};

// Stores the next command's bytes into `text` (EXCHANGE_COMMAND_MAX + 1 bytes, zeroed):
// up to and including ";" or up to the end of the file.
void ReadCommand(CByteSource& source, char* text) {
  int stored = 0;
  for (int byte; (byte = source.Next()) >= 0;) {
    if (byte == '\r' || byte == '\n') continue;
    if (byte == ' ') byte = ',';
    if (stored < EXCHANGE_COMMAND_MAX) text[stored++] = static_cast<char>(byte);
    if (byte == ';') return;
  }
}

// The kind a stored command stands for, or KIND_EMPTY for one that is skipped.
int32_t Classify(const char* text) {
  if (strncmp(text, "PU", 2) == 0) return KIND_PEN_UP;
  if (strncmp(text, "PD", 2) == 0) return strcmp(text, "PD;") == 0 ? KIND_EMPTY : KIND_PEN_DOWN;
  if (strncmp(text, "BZ", 2) == 0) return KIND_CURVE;
  return KIND_EMPTY;
}

// Reads the commands into the list that starts with the open placeholder `current`.
JobResult ReadCommands(CByteSource& source, CommandList& out, PathCommand* current) {
  PathCommand* previous = nullptr;
  // Slots are shared by every command of this pass: a command that fills fewer keeps
  // what an earlier command left (zero at first).
  int32_t slots[6] = {0, 0, 0, 0, 0, 0};
  char text[EXCHANGE_COMMAND_MAX + 1];
  while (!source.AtEnd()) {
    memset(text, 0, sizeof text);
    ReadCommand(source, text);
    if (source.Failed()) return JOB_READ_FAILED;
    if (strncmp(text, "SP0;", 4) == 0) {
      g_routines.Free(current);
      if (previous)
        previous->next = nullptr;
      else
        out = nullptr;
      return JOB_DONE;
    }
    const int32_t kind = Classify(text);
    if (kind == KIND_EMPTY) continue;
    const int count = kind == KIND_CURVE ? 6 : 2;
    ScanNumbers(text + 2, slots, count);
    int32_t* coords = static_cast<int32_t*>(g_routines.Alloc(count * sizeof(int32_t)));
    PathCommand* next = coords ? NewEmptyCommand() : nullptr;
    if (!next) {
      if (coords) g_routines.Free(coords);
      return JOB_NO_MEMORY;
    }
    memcpy(coords, slots, count * sizeof(int32_t));
    current->kind = kind;
    current->coords = coords;
    current->next = next;
    previous = current;
    current = next;
  }
  return source.Failed() ? JOB_READ_FAILED : JOB_DONE;
}

}  // namespace

JobResult ReadExchangeFile(CommandList& out, const char* path) {
  if (!path || !g_routines.Open) return JOB_CANNOT_OPEN;
  FILE* file = g_routines.Open(path, "r");
  if (!file) return JOB_CANNOT_OPEN;
  out = NewEmptyCommand();
  JobResult result = JOB_NO_MEMORY;
  if (out) {
    CByteSource source(file);
    result = ReadCommands(source, out, out);
  }
  g_routines.Close(file);
  if (result != JOB_DONE) FreeCommands(out);  // no half-read job
  return result;
}
