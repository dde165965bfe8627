#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "corel/WorkspaceFiles.h"

const char* const PATH_SEPARATOR = "/";

bool FileExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat info;
  return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool RenameFile(const std::string& from, const std::string& to) {
  // rename() would replace an existing target; a hard link fails instead, as the Windows
  // move does.
  if (link(from.c_str(), to.c_str()) != 0) return false;
  return unlink(from.c_str()) == 0;
}

bool CopyFileOver(const std::string& from, const std::string& to) {
  std::ifstream in(from, std::ios::binary);
  if (!in) return false;
  std::ofstream out(to, std::ios::binary | std::ios::trunc);
  if (in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
  return static_cast<bool>(out.flush());
}

bool RemoveFile(const std::string& path) { return unlink(path.c_str()) == 0; }

bool MakeFolders(const std::string& path) {
  // Each parent in turn; one that exists already fails harmlessly.
  for (size_t end = path.find('/', 1); end != std::string::npos; end = path.find('/', end + 1)) {
    mkdir(path.substr(0, end).c_str(), 0777);
  }
  mkdir(path.c_str(), 0777);
  return FolderExists(path);
}
