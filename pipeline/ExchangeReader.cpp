#include "pipeline/ExchangeReader.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "pipeline/DrawingFormat.h"
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

  // Reads the file's first bytes, as many as the first reads give up to `wanted` (fewer at
  // the end of the file or after a failed read), and returns them with their count; Next
  // gives them again. Called before any Next.
  const unsigned char* Start(size_t wanted, size_t& count) {
    count = m_end - m_block;
    while (count < wanted && !m_failed && !g_routines.Eof(m_file)) {
      const size_t read = ReadInto(m_block + count, sizeof m_block - count);
      if (read == 0) break;
      count += read;
    }
    m_end = m_block + count;
    return m_block;
  }

  // Gives the byte that Next gave last once more; only straight after that Next.
  void Unget() { --m_next; }

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
    const size_t count = ReadInto(m_block, sizeof m_block);
    m_next = m_block;
    m_end = m_block + count;
    return count > 0;
  }

  // Reads up to `room` bytes to `at` and returns how many came.
  size_t ReadInto(unsigned char* at, size_t room) {
    errno = 0;
    const size_t count = g_routines.Read(at, 1, room, m_file);
    const int error = errno;
    // Nothing read short of the end of the file is a read error (a folder gives EISDIR):
    // it ends the input instead of being asked again for ever.
    if (count == 0 && !g_routines.Eof(m_file)) {
      m_failed = true;
      m_nError = error;
    }
    return count;
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

// How many of a file's first bytes are looked at for the marks of another format: an SVG
// file's "<svg" follows its XML declaration and comments.
const size_t FORMAT_SNIFF_BYTES = 4096;

// One command as stored: its text (a zero after the stored bytes, which may hold NUL bytes
// themselves), where it starts and whether it goes on past the stored bytes.
struct StoredCommand {
  char text[EXCHANGE_COMMAND_MAX + 1];
  int length;
  TextPlace start;
  bool more;
};

// Stores the next command's bytes: up to and including ";", up to the end of the file, or
// until the text is full and a byte other than ";" follows, which is left to be read next
// (`more` is set). With `kept` > 0 the command goes on after its first `kept` bytes.
void ReadCommand(CByteSource& source, StoredCommand& command, int kept = 0) {
  // Only the end is marked: clearing the whole buffer for each of a million commands made
  // up a seventh of loading a large job.
  command.text[kept] = '\0';
  command.length = kept;
  if (kept == 0) command.start = TextPlace();
  command.more = false;
  for (int byte; (byte = source.Next()) >= 0;) {
    if (byte == '\n') source.LineBreak();
    if (byte == '\r' || byte == '\n') continue;
    if (byte == ' ') byte = ',';
    if (command.length == 0) command.start = source.Place();
    if (command.length < EXCHANGE_COMMAND_MAX) {
      command.text[command.length++] = static_cast<char>(byte);
      command.text[command.length] = '\0';
    } else if (byte != ';') {  // the ";" that ends a command of exactly the limit loses nothing
      source.Unget();
      command.more = true;
      return;
    }
    if (byte == ';') return;
  }
}

// Drops the rest of a command that did not fit: up to and including its ";".
void DropRest(CByteSource& source) {
  for (int byte; (byte = source.Next()) >= 0 && byte != ';';) {
    if (byte == '\n') source.LineBreak();
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

// The commands that set the pen's width or colour, the speed or the force: velocity,
// force, acceleration, pen thickness, pen width, pen colour, number of pens, width unit.
// The order gives the bits of ExchangeReport::settings.
const char* const SETTING_COMMANDS[] = {"VS", "FS", "AS", "PT", "PW", "PC", "NP", "WU"};

// The bit in ExchangeReport::settings of a command that sets the pen, the speed or the
// force: its letters and then only numbers. 0 for any other command.
unsigned SettingBit(const StoredCommand& command) {
  const std::string text(command.text, command.length);
  if (text.size() < 2 || text.find_first_not_of("0123456789+-.,;", 2) != std::string::npos) return 0;
  for (unsigned i = 0; i < sizeof SETTING_COMMANDS / sizeof *SETTING_COMMANDS; ++i) {
    if (text.compare(0, 2, SETTING_COMMANDS[i]) == 0) return 1u << i;
  }
  return 0;
}

// Whether a skipped command is one that changes nothing: empty, "IN", "DF", or a pen
// select "SP" (the cutter's one knife) with or without digits, each with or without its
// ";". NUL bytes count as text.
bool SkippedByDesign(const StoredCommand& command) {
  const std::string text(command.text,
                         command.length - (command.length > 0 && command.text[command.length - 1] == ';'));
  if (text.empty() || text == "IN" || text == "DF") return true;
  return text.compare(0, 2, "SP") == 0 && text.find_first_not_of("0123456789", 2) == std::string::npos;
}

void Count(ReadTally& tally, TextPlace at, int64_t count = 1) {
  if (count <= 0) return;
  if (tally.count == 0) tally.first = at;
  tally.count += count;
}

// `from` moved by `by`, held at the int32 limits; `clamped` counts a coordinate held.
int32_t Moved(int32_t from, int32_t by, int& clamped) {
  const int64_t sum = static_cast<int64_t>(from) + by;
  if (sum > INT32_MAX || sum < INT32_MIN) {
    ++clamped;
    return sum > INT32_MAX ? INT32_MAX : INT32_MIN;
  }
  return static_cast<int32_t>(sum);
}

// Reads the commands into a list that starts with an open placeholder, stopping as soon
// as the job would flatten to more than MAX_JOB_POINTS points or holds more commands than
// that (a curve too short to give a point still takes a node).
class CCommandReader {
 public:
  CCommandReader(CommandList& out, ExchangeReport& report, DrawingMarks& marks)
      : m_out(out), m_current(out), m_report(report), m_marks(marks) {}

  JobResult Read(CByteSource& source) {
    StoredCommand command;
    while (!source.AtEnd()) {
      ReadCommand(source, command);
      if (source.Failed()) return JOB_READ_FAILED;
      if (StartsWith(command.text, "SP0;")) {
        End();
        return JOB_DONE;
      }
      const char* text = command.text;
      int clamped = 0;
      JobResult added = JOB_DONE;
      if (text[0] == 'P' && (text[1] == 'U' || text[1] == 'D' || text[1] == 'A' || text[1] == 'R')) {
        // A path of many pairs in one command is read in pieces of whole pairs.
        int kept = -1;
        added = AddPairs(command, clamped, kept);
        while (added == JOB_DONE && kept >= 0) {
          ReadCommand(source, command, kept);
          if (source.Failed()) return JOB_READ_FAILED;
          added = AddPairs(command, clamped, kept);
        }
      } else if (StartsWith(text, "BZ")) {
        added = AddCurve(command, clamped);
      } else if (StartsWith(text, "RM")) {
        if (!AddMark(command, clamped)) Count(m_report.skipped, command.start);
      } else if (const unsigned bit = SettingBit(command)) {
        m_report.settings |= bit;
      } else if (!SkippedByDesign(command)) {
        Count(m_report.skipped, command.start);
      }
      Count(m_report.clamped, command.start, clamped);
      if (added != JOB_DONE) return added;
      if (command.more) {  // cut at the limit
        Count(m_report.cut, command.start);
        DropRest(source);
      }
    }
    return source.Failed() ? JOB_READ_FAILED : JOB_DONE;
  }

 private:
  // "PU", "PD", "PA" or "PR": the pen or the plotting mode, then each pair as a move or a
  // line. A pair short of numbers takes them from the slots and ends the command. When the
  // command goes on past the stored text, a last pair that may go on too is moved to the
  // text's start, after the letters, and `kept` gives the bytes to keep there; else -1.
  JobResult AddPairs(StoredCommand& command, int& clamped, int& kept) {
    kept = -1;
    const char letter = command.text[1];
    if (letter == 'U' || letter == 'D') m_penDown = letter == 'D';
    if (letter == 'A' || letter == 'R') m_relative = letter == 'R';
    if (command.length == 2 || (command.length == 3 && command.text[2] == ';')) return JOB_DONE;  // no numbers
    const char* numbers = command.text + 2;
    const char* stored = command.text + command.length;
    const int32_t kind = m_penDown ? KIND_PEN_DOWN : KIND_PEN_UP;
    for (;;) {
      const char* end = numbers;
      int32_t pair[2] = {m_slots[0], m_slots[1]};
      int pairClamped = 0;
      const bool whole = ScanNumbers(numbers, pair, 2, &pairClamped, &end) == 2;
      // A pair not ended by a byte of the stored text may go on in what follows: it is read
      // again with that, unless it began the text, as then it is longer than the text can
      // hold and is cut.
      if (command.more && !(whole && end < stored) && numbers > command.text + 2) {
        kept = static_cast<int>(2 + (stored - numbers));
        memmove(command.text + 2, numbers, stored - numbers);
        return JOB_DONE;
      }
      m_slots[0] = pair[0];
      m_slots[1] = pair[1];
      clamped += pairClamped;
      if (!whole) Count(m_report.unnumbered, command.start);
      m_x = m_relative ? Moved(m_x, pair[0], clamped) : pair[0];
      m_y = m_relative ? Moved(m_y, pair[1], clamped) : pair[1];
      const int32_t point[2] = {m_x, m_y};
      const JobResult added = Add(kind, point, 2);
      if (added != JOB_DONE || !whole || *end != ',') return added;
      numbers = end + 1;
    }
  }

  JobResult AddCurve(const StoredCommand& command, int& clamped) {
    if (ScanNumbers(command.text + 2, m_slots, 6, &clamped) < 6) Count(m_report.unnumbered, command.start);
    m_x = m_slots[4];
    m_y = m_slots[5];
    return Add(KIND_CURVE, m_slots, 6);
  }

  // "RMn,x,y": mark n at (x, y), when n is a mark's number and the three numbers are all
  // the command holds; false for any other "RM" command. The pen, the current point and the slots stay as they were.
  bool AddMark(const StoredCommand& command, int& clamped) {
    int32_t numbers[3] = {0, 0, 0};
    const char* end = nullptr;
    int markClamped = 0;
    if (command.more || ScanNumbers(command.text + 2, numbers, 3, &markClamped, &end) != 3 ||
        (*end != ';' && *end != '\0') || numbers[0] < 1 || numbers[0] > MAX_MARKS)
      return false;
    clamped += markClamped;
    m_marks.has[numbers[0] - 1] = true;
    m_marks.at[numbers[0] - 1] = IntPoint{numbers[1], numbers[2]};
    return true;
  }

  // The open placeholder takes the kind and a copy of the coordinates; a new placeholder
  // follows it.
  JobResult Add(int32_t kind, const int32_t* values, int count) {
    int32_t* coords = static_cast<int32_t*>(g_routines.Alloc(count * sizeof(int32_t)));
    PathCommand* next = coords ? NewEmptyCommand() : nullptr;
    if (!next) {
      if (coords) g_routines.Free(coords);
      return JOB_NO_MEMORY;
    }
    memcpy(coords, values, count * sizeof(int32_t));
    m_current->kind = kind;
    m_current->coords = coords;
    m_current->next = next;
    m_points.Add(*m_current);
    if (m_points.Points() > MAX_JOB_POINTS || ++m_nCommands > MAX_JOB_POINTS) return JOB_TOO_LARGE;
    m_previous = m_current;
    m_current = next;
    return JOB_DONE;
  }

  // The end command: the list ends with the last drawing command.
  void End() {
    g_routines.Free(m_current);
    if (m_previous)
      m_previous->next = nullptr;
    else
      m_out = nullptr;
  }

  CommandList& m_out;
  PathCommand* m_current;
  PathCommand* m_previous = nullptr;
  ExchangeReport& m_report;
  DrawingMarks& m_marks;
  CPointCount m_points;
  int64_t m_nCommands = 0;
  // Slots are shared by every command of this pass: a command that fills fewer keeps
  // what an earlier command left (zero at first).
  int32_t m_slots[6] = {0, 0, 0, 0, 0, 0};
  int32_t m_x = 0, m_y = 0;  // the current point: where the last pair or curve ended
  bool m_penDown = false;
  bool m_relative = false;
};

}  // namespace

bool IsCleanRead(const ExchangeReport& report) {
  return report.skipped.count == 0 && report.unnumbered.count == 0 && report.clamped.count == 0 &&
         report.cut.count == 0;
}

std::string SkippedSettingNames(const ExchangeReport& report) {
  std::string names;
  for (unsigned i = 0; i < sizeof SETTING_COMMANDS / sizeof *SETTING_COMMANDS; ++i) {
    if (report.settings & (1u << i)) names += (names.empty() ? "" : ", ") + std::string(SETTING_COMMANDS[i]);
  }
  return names;
}

JobResult ReadExchangeFile(CommandList& out, const char* path, ExchangeReport* report, int* systemError,
                           DrawingMarks* marks) {
  DrawingMarks read;
  if (marks) *marks = read;
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
    size_t count = 0;
    const unsigned char* first = source.Start(FORMAT_SNIFF_BYTES, count);
    tally.format = FormatOf(first, count);
    result = tally.format != FORMAT_HPGL ? JOB_NOT_HPGL : CCommandReader(out, tally, read).Read(source);
    error = source.SystemError();
  }
  g_routines.Close(file);
  if (result != JOB_DONE) FreeCommands(out);  // no half-read job
  if (marks && result == JOB_DONE) *marks = read;
  return result;
}
