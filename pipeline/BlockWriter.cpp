#include "pipeline/BlockWriter.h"

#include <cerrno>
#include <cstring>

#include "pipeline/PipelineRoutines.h"

void CBlockWriter::Put(const char* bytes, size_t length) {
  if (length > BLOCK - m_used) {
    Flush();
    if (length > BLOCK) {  // larger than a block: straight through
      m_failed = m_failed || !Send(bytes, length);
      return;
    }
  }
  memcpy(m_buffer + m_used, bytes, length);
  m_used += length;
}

bool CBlockWriter::Send(const char* bytes, size_t length) {
  if (!m_file) return m_sink(bytes, length);
  errno = 0;
  if (g_routines.Write(bytes, 1, length, m_file) == length) return true;
  m_nError = errno;
  return false;
}

void CBlockWriter::PutText(const char* text) { Put(text, strlen(text)); }

bool CBlockWriter::Flush() {
  if (m_used > 0) {
    m_failed = m_failed || !Send(m_buffer, m_used);
    m_used = 0;
  }
  return !m_failed;
}
