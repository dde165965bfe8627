#include "pipeline/JobFileReader.h"

#include <cstring>
#include <utility>

#include "pipeline/ScanNumbers.h"

CJobFileReader::CJobFileReader(int dialect, std::function<void(const PenCommand&)> visit)
    : m_strings(StringsFor(dialect)), m_visit(std::move(visit)) {}

void CJobFileReader::Take(const char* bytes, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    ++m_nPosition;
    if (bytes[i] != m_strings.commandEnd) {
      m_sCommand += bytes[i];
      continue;
    }
    Read(m_nPosition);
    m_sCommand.clear();
  }
}

void CJobFileReader::Read(uint64_t end) {
  const char* command = m_sCommand.c_str();
  const size_t up = strlen(m_strings.penUpKeyword), down = strlen(m_strings.penDownKeyword);
  bool cut = false;
  if (strncmp(command, m_strings.penUpKeyword, up) == 0) {
    command += up;
  } else if (strncmp(command, m_strings.penDownKeyword, down) == 0) {
    command += down;
    cut = true;
  } else {
    return;
  }
  int32_t pair[2] = {0, 0};
  if (ScanNumbers(command, pair, 2) != 2) return;
  m_visit(PenCommand{cut, IntPoint{pair[0], pair[1]}, end - m_sCommand.size() - 1, end});
}
