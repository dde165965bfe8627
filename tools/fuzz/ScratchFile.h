// A real file for the parsers that read from a path: one per process in the temporary
// folder, rewritten with each input and removed when the fuzzer ends.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

class CScratchFile {
 public:
  explicit CScratchFile(const char* stem) {
    const char* folder = getenv("TMPDIR");
    m_path = std::string(folder && *folder ? folder : "/tmp") + "/" + stem + "-XXXXXX";
    const int fd = mkstemp(&m_path[0]);
    if (fd < 0) {
      perror("scratch file");
      abort();
    }
    close(fd);
  }
  ~CScratchFile() { remove(m_path.c_str()); }
  CScratchFile(const CScratchFile&) = delete;
  CScratchFile& operator=(const CScratchFile&) = delete;

  const char* Path() const { return m_path.c_str(); }

  // Replaces the file's contents with `bytes`.
  void Write(const std::string& bytes) const {
    FILE* file = fopen(m_path.c_str(), "wb");
    if (!file || fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size() || fclose(file) != 0) {
      perror(m_path.c_str());
      abort();
    }
  }

 private:
  std::string m_path;
};
