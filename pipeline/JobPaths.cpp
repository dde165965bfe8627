#include "pipeline/JobPaths.h"

#include <algorithm>
#include <cmath>

#include "pipeline/CommandDialect.h"
#include "pipeline/JobFileReader.h"

namespace {

bool EndsCommand(char byte) { return byte == ';' || byte == ' '; }

double Distance(IntPoint from, IntPoint to) {
  return std::hypot(static_cast<double>(to.x) - from.x, static_cast<double>(to.y) - from.y);
}

}  // namespace

uint64_t JobEndingStart(const char* data, uint64_t size, int dialect) {
  const std::string terminator = StringsFor(dialect).terminator;
  if (size < terminator.size() + 1 || std::string(data + size - terminator.size(), terminator.size()) != terminator)
    return size;
  uint64_t start = size - terminator.size() - 1;  // the pen-up's end byte
  while (start > 0 && !EndsCommand(data[start - 1])) --start;
  return start;
}

std::string JobStopBytes(const char* data, uint64_t size, uint64_t sent, int dialect, uint64_t& commandEnd) {
  commandEnd = sent;
  if (commandEnd > 0 && !EndsCommand(data[commandEnd - 1])) {
    while (commandEnd < size && !EndsCommand(data[commandEnd])) ++commandEnd;
    if (commandEnd < size) ++commandEnd;
  }
  const uint64_t ending = std::max(JobEndingStart(data, size, dialect), commandEnd);
  std::string bytes(data + sent, commandEnd - sent);
  bytes.append(data + ending, size - ending);
  return bytes;
}

JobPaths ReadJobPaths(const char* data, uint64_t size, int dialect) {
  JobPaths paths;
  paths.openingEnd = HeaderLength(data, static_cast<size_t>(size), StringsFor(dialect));
  paths.endingStart = JobEndingStart(data, size, dialect);
  IntPoint at{0, 0};
  bool cutting = false;
  uint64_t lastCutEnd = paths.openingEnd;
  CJobFileReader reader(dialect, [&](const PenCommand& command) {
    (command.cut ? paths.cutUnits : paths.travelUnits) += Distance(at, command.to);
    at = command.to;
    if (!command.cut || command.begin >= paths.endingStart) {
      cutting = false;
      return;
    }
    if (!cutting) paths.starts.push_back(paths.starts.empty() ? paths.openingEnd : lastCutEnd);
    cutting = true;
    lastCutEnd = command.end;
  });
  reader.Take(data, size);
  return paths;
}

int PathAt(const JobPaths& paths, uint64_t sent) {
  const auto after = std::upper_bound(paths.starts.begin(), paths.starts.end(), sent);
  return std::max(1, static_cast<int>(after - paths.starts.begin()));
}

std::string JobFromPath(const char* data, uint64_t size, const JobPaths& paths, int first) {
  std::string bytes(data, paths.openingEnd);
  const uint64_t from = paths.starts[first - 1];
  bytes.append(data + from, size - from);
  return bytes;
}
