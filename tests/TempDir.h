// A throw-away folder for tests that work on real files; removed with its contents.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

class TempDir {
 public:
  TempDir() {
    static int counter = 0;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
      m_path = base / ("plotgate-test-" + std::to_string(Pid()) + "-" + std::to_string(++counter));
      if (std::filesystem::create_directory(m_path)) break;
    }
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

  // Writes `bytes` exactly (binary) to a file in the folder and returns its path.
  std::string Write(const std::string& name, const std::string& bytes) const {
    const auto file = m_path / name;
    std::ofstream(file, std::ios::binary) << bytes;
    return file.string();
  }

  // Whole content of a file, or "" when it cannot be read.
  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

 private:
  static long Pid();
  std::filesystem::path m_path;
};

#ifdef _WIN32
#include <process.h>
inline long TempDir::Pid() { return _getpid(); }
#else
#include <unistd.h>
inline long TempDir::Pid() { return getpid(); }
#endif
