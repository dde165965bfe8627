#include "pipeline/ExchangeReader.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "pipeline/Geometry.h"
#include "pipeline/PipelineRoutines.h"
#include "pipeline/ScanNumbers.h"

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
  // The error number the failed read set; 0 before a failure.
  int SystemError() const { return m_nError; }

  // Where the byte that Next gave last stands; a line feed given by Next must be passed
  // to LineBreak first, so that the next byte starts a line.
  TextPlace Place() const { return TextPlace{m_nLine, Position() - m_nLineStart}; }
  void LineBreak() {
    ++m_nLine;
    m_nLineStart = Position();
  }

 private:
  // The offset in the file of the byte that Next gives next.
  int64_t Position() const { return m_nBefore + (m_next - m_block); }

  bool Refill() {
    if (m_failed) return false;
    m_nBefore += m_end - m_block;
    errno = 0;
    const size_t count = g_routines.Read(m_block, 1, sizeof m_block, m_file);
    const int error = errno;
    // Nothing read short of the end of the file is a read error (a folder gives EISDIR):
    // it ends the input instead of being asked again for ever.
    if (count == 0 && !g_routines.Eof(m_file)) {
      m_failed = true;
      m_nError = error;
    }
    m_next = m_block;
    m_end = m_block + count;
    return count > 0;
  }

  FILE* m_file;
  unsigned char m_block[64 * 1024];
  const unsigned char* m_next = m_block;
  const unsigned char* m_end = m_block;
  int64_t m_nBefore = 0;     // bytes of the blocks before the current one
  int64_t m_nLine = 1;       // line of the byte given next
  int64_t m_nLineStart = 0;  // offset of that line's first byte
  bool m_failed = false;
  int m_nError = 0;
};

// One command as stored: its text (a zero after the stored bytes, which may hold NUL bytes
// themselves), where it starts and whether bytes of it were dropped.
struct StoredCommand {
  char text[EXCHANGE_COMMAND_MAX + 1];
  int length;
  TextPlace start;
  bool cut;
};

// Stores the next command's bytes: up to and including ";" or up to the end of the file.
void ReadCommand(CByteSource& source, StoredCommand& command) {
  // Only the end is marked: clearing the whole buffer for each of a million commands made
  // up a seventh of loading a large job.
  command.text[0] = '\0';
  command.length = 0;
  command.start = TextPlace();
  command.cut = false;
  for (int byte; (byte = source.Next()) >= 0;) {
    if (byte == '\n') source.LineBreak();
    if (byte == '\r' || byte == '\n') continue;
    if (byte == ' ') byte = ',';
    if (command.length == 0) command.start = source.Place();
    if (command.length < EXCHANGE_COMMAND_MAX) {
      command.text[command.length++] = static_cast<char>(byte);
      command.text[command.length] = '\0';
    } else if (byte != ';')
      command.cut = true;  // the ";" that ends a command of exactly the limit loses nothing
    if (byte == ';') return;
  }
}

// Whether `text` begins with `prefix`: strncmp over the prefix's length, without a call
// into the library for each of a million commands.
bool StartsWith(const char* text, const char* prefix) {
  for (; *prefix; ++prefix, ++text) {
    if (*text != *prefix) return false;
  }
  return true;
}

// The kind a stored command stands for, or KIND_EMPTY for one that is skipped.
int32_t Classify(const char* text) {
  if (StartsWith(text, "PU")) return KIND_PEN_UP;
  if (StartsWith(text, "PD")) return strcmp(text, "PD;") == 0 ? KIND_EMPTY : KIND_PEN_DOWN;
  if (StartsWith(text, "BZ")) return KIND_CURVE;
  return KIND_EMPTY;
}

// Whether a skipped command is one that changes nothing: empty, "IN", "PD" or a pen
// select "SP" with digits, each with or without its ";". NUL bytes count as text.
bool SkippedByDesign(const StoredCommand& command) {
  const std::string text(command.text,
                         command.length - (command.length > 0 && command.text[command.length - 1] == ';'));
  if (text.empty() || text == "IN" || text == "PD") return true;
  return text.size() > 2 && text.compare(0, 2, "SP") == 0 &&
         text.find_first_not_of("0123456789", 2) == std::string::npos;
}

void Count(ReadTally& tally, TextPlace at, int64_t count = 1) {
  if (count <= 0) return;
  if (tally.count == 0) tally.first = at;
  tally.count += count;
}

// Reads the commands into the list that starts with the open placeholder `current`,
// stopping as soon as the job would flatten to more than MAX_JOB_POINTS points or holds
// more commands than that (a curve too short to give a point still takes a node).
JobResult ReadCommands(CByteSource& source, CommandList& out, PathCommand* current, ExchangeReport& report) {
  PathCommand* previous = nullptr;
  CPointCount points;
  int64_t commands = 0;
  // Slots are shared by every command of this pass: a command that fills fewer keeps
  // what an earlier command left (zero at first).
  int32_t slots[6] = {0, 0, 0, 0, 0, 0};
  StoredCommand command;
  while (!source.AtEnd()) {
    ReadCommand(source, command);
    if (source.Failed()) return JOB_READ_FAILED;
    if (command.cut) Count(report.cut, command.start);
    if (StartsWith(command.text, "SP0;")) {
      g_routines.Free(current);
      if (previous)
        previous->next = nullptr;
      else
        out = nullptr;
      return JOB_DONE;
    }
    const int32_t kind = Classify(command.text);
    if (kind == KIND_EMPTY) {
      if (!SkippedByDesign(command)) Count(report.skipped, command.start);
      continue;
    }
    const int count = kind == KIND_CURVE ? 6 : 2;
    int clamped = 0;
    if (ScanNumbers(command.text + 2, slots, count, &clamped) < count) Count(report.unnumbered, command.start);
    Count(report.clamped, command.start, clamped);
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
    points.Add(*current);
    if (points.Points() > MAX_JOB_POINTS || ++commands > MAX_JOB_POINTS) return JOB_TOO_LARGE;
    previous = current;
    current = next;
  }
  return source.Failed() ? JOB_READ_FAILED : JOB_DONE;
}

}  // namespace

bool IsCleanRead(const ExchangeReport& report) {
  return report.skipped.count == 0 && report.unnumbered.count == 0 && report.clamped.count == 0 &&
         report.cut.count == 0;
}

JobResult ReadExchangeFile(CommandList& out, const char* path, ExchangeReport* report, int* systemError) {
  ExchangeReport unused;
  ExchangeReport& tally = report ? *report : unused;
  tally = ExchangeReport();
  int unusedError = 0;
  int& error = systemError ? *systemError : unusedError;
  error = 0;
  if (!path || !g_routines.Open) return JOB_CANNOT_OPEN;
  errno = 0;
  FILE* file = g_routines.Open(path, "r");
  if (!file) {
    error = errno;
    return JOB_CANNOT_OPEN;
  }
  out = NewEmptyCommand();
  JobResult result = JOB_NO_MEMORY;
  if (out) {
    CByteSource source(file);
    result = ReadCommands(source, out, out, tally);
    error = source.SystemError();
  }
  g_routines.Close(file);
  if (result != JOB_DONE) FreeCommands(out);  // no half-read job
  return result;
}
