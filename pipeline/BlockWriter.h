// Output to a file through the pipeline routines, gathered into large blocks: a job of
// millions of commands costs a few hundred write calls instead of one per command.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <utility>

class CBlockWriter {
 public:
  explicit CBlockWriter(FILE* file) : m_file(file) {}
  // Hands each block to `sink` instead of a file; the sink returns false when it could not
  // take it, which counts as a failed write.
  explicit CBlockWriter(std::function<bool(const char* bytes, size_t length)> sink)
      : m_file(nullptr), m_sink(std::move(sink)) {}
  CBlockWriter(const CBlockWriter&) = delete;
  CBlockWriter& operator=(const CBlockWriter&) = delete;
  ~CBlockWriter() { Flush(); }

  void Put(const char* bytes, size_t length);
  void PutText(const char* text);

  // Room for `length` bytes (at most BLOCK) at the end of the pending output; Commit then
  // keeps the first `used` of them.
  char* Reserve(size_t length) {
    if (BLOCK - m_used < length) Flush();
    return m_buffer + m_used;
  }
  void Commit(size_t used) { m_used += used; }

  // Writes what is pending. False once any write so far has fallen short.
  bool Flush();
  // The error number the first short write to the file set; 0 while none has fallen short,
  // or for a sink.
  int SystemError() const { return m_nError; }

  static const size_t BLOCK = 64 * 1024;

 private:
  bool Send(const char* bytes, size_t length);

  FILE* m_file;
  std::function<bool(const char* bytes, size_t length)> m_sink;
  size_t m_used = 0;
  bool m_failed = false;
  int m_nError = 0;
  char m_buffer[BLOCK];
};
