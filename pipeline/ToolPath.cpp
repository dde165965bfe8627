#include "ToolPath.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "BlockWriter.h"
#include "CommandDialect.h"
#include "ScanNumbers.h"

namespace {

// Reads pen commands out of job-file bytes that arrive in pieces; a command may be split
// between two pieces. A command ends at the dialect's end byte: "PD12,-5;" in HPGL,
// "D12,-5 " in DM/PL, where the header's lone "U" carries no numbers and moves nothing.
class CJobFileReader {
 public:
  CJobFileReader(int dialect, std::vector<ToolMove>& moves) : m_strings(StringsFor(dialect)), m_moves(moves) {}

  void Take(const char* bytes, size_t length) {
    for (size_t i = 0; i < length; ++i) {
      if (bytes[i] != m_strings.commandEnd) {
        m_command += bytes[i];
        continue;
      }
      Read(m_command.c_str());
      m_command.clear();
    }
  }

 private:
  void Read(const char* command) {
    const size_t up = strlen(m_strings.penUpKeyword), down = strlen(m_strings.penDownKeyword);
    if (strncmp(command, m_strings.penUpKeyword, up) == 0)
      ReadPair(false, command + up);
    else if (strncmp(command, m_strings.penDownKeyword, down) == 0)
      ReadPair(true, command + down);
  }
  void ReadPair(bool cut, const char* numbers) {
    int32_t pair[2] = {0, 0};
    if (ScanNumbers(numbers, pair, 2) == 2) m_moves.push_back(ToolMove{cut, IntPoint{pair[0], pair[1]}});
  }

  const DialectStrings& m_strings;
  std::vector<ToolMove>& m_moves;
  std::string m_command;
};

}  // namespace

JobResult TraceToolPath(CPlotJob& job, int dialect, bool swapXY, const OffsetOptions& options, ToolPath& path) {
  IntPoint moved{0, 0};
  const JobResult prepared = PrepareJobForWriting(job, &moved);
  if (prepared != JOB_DONE) return prepared;
  path.moves.clear();
  CJobFileReader reader(dialect, path.moves);
  {
    CBlockWriter out([&reader](const char* bytes, size_t length) {
      reader.Take(bytes, length);
      return true;
    });
    WriteJobCommands(out, job, dialect, swapXY, options);
  }

  // The encoder writes (x, y) as (y, W - x) with the swap, as (W - x, y) without, after
  // the move to the origin; undone in 64 bits, since W - x may leave the int32 range.
  const int64_t width = llabs(static_cast<int64_t>(job.m_bounds.maxX) - job.m_bounds.minX);
  const int64_t height = llabs(static_cast<int64_t>(job.m_bounds.maxY) - job.m_bounds.minY);
  path.extent = IntPoint{TruncToCoord(static_cast<double>(width)), TruncToCoord(static_cast<double>(height))};
  const auto toJob = [&](int64_t first, int64_t second) {
    const int64_t x = width - (swapXY ? second : first), y = swapXY ? first : second;
    return IntPoint{TruncToCoord(static_cast<double>(x - moved.x)), TruncToCoord(static_cast<double>(y - moved.y))};
  };
  for (ToolMove& move : path.moves) move.to = toJob(move.to.x, move.to.y);
  const IntPoint origin = toJob(0, 0), first = toJob(1, 0), second = toJob(0, 1);
  path.axes = CutterAxes{origin, IntPoint{first.x - origin.x, first.y - origin.y},
                         IntPoint{second.x - origin.x, second.y - origin.y}};
  return JOB_DONE;
}
