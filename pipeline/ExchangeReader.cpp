#include "ExchangeReader.h"

#include <cstring>

#include "PipelineRoutines.h"
#include "ScanNumbers.h"

// Stores the next command's bytes into `text` (EXCHANGE_COMMAND_MAX + 1 bytes, zeroed):
// up to and including ";" or up to the end of the file.
static void ReadCommand(FILE* file, char* text) {
  int stored = 0;
  unsigned char byte;
  while (g_routines.Read(&byte, 1, 1, file) == 1) {
    if (byte == '\r' || byte == '\n') continue;
    if (byte == ' ') byte = ',';
    if (stored < EXCHANGE_COMMAND_MAX) text[stored++] = static_cast<char>(byte);
    if (byte == ';') return;
  }
}

// The kind a stored command stands for, or KIND_EMPTY for one that is skipped.
static int32_t Classify(const char* text) {
  if (strncmp(text, "PU", 2) == 0) return KIND_PEN_UP;
  if (strncmp(text, "PD", 2) == 0) return strcmp(text, "PD;") == 0 ? KIND_EMPTY : KIND_PEN_DOWN;
  if (strncmp(text, "BZ", 2) == 0) return KIND_CURVE;
  return KIND_EMPTY;
}

int ReadExchangeFile(CommandList& out, const char* path) {
  if (!path || !g_routines.Open) return 1;
  FILE* file = g_routines.Open(path, "r");
  if (!file) return 1;

  PathCommand* current = NewEmptyCommand();
  PathCommand* previous = nullptr;
  out = current;
  // Slots are shared by every command of this pass: a command that fills fewer keeps
  // what an earlier command left (zero at first).
  int32_t slots[6] = {0, 0, 0, 0, 0, 0};
  char text[EXCHANGE_COMMAND_MAX + 1];

  while (current && !g_routines.Eof(file)) {
    memset(text, 0, sizeof text);
    ReadCommand(file, text);
    if (strncmp(text, "SP0;", 4) == 0) {
      g_routines.Free(current);
      if (previous)
        previous->next = nullptr;
      else
        out = nullptr;
      break;
    }
    const int32_t kind = Classify(text);
    if (kind == KIND_EMPTY) continue;
    const int count = kind == KIND_CURVE ? 6 : 2;
    ScanNumbers(text + 2, slots, count);
    int32_t* coords = static_cast<int32_t*>(g_routines.Alloc(count * sizeof(int32_t)));
    PathCommand* next = coords ? NewEmptyCommand() : nullptr;
    if (!next) {  // out of memory: keep what was read, ending with the placeholder
      if (coords) g_routines.Free(coords);
      break;
    }
    memcpy(coords, slots, count * sizeof(int32_t));
    current->kind = kind;
    current->coords = coords;
    current->next = next;
    previous = current;
    current = next;
  }
  g_routines.Close(file);
  return 0;
}
