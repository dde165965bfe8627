#include "settings/IniFile.h"

#include <climits>
#include <cstddef>
#include <cstdlib>

#include "base/FileReplace.h"
#include "settings/FileException.h"
#include "settings/FileIo.h"

namespace {

const char* const WHITE_SPACE = " \t\r\n\v\f";
const size_t NONE = std::string::npos;

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(WHITE_SPACE);
  if (first == NONE) return "";
  return text.substr(first, text.find_last_not_of(WHITE_SPACE) - first + 1);
}

// A header line names `section` when it is named so; a header without "]" names no section.
bool NamesSection(const std::string& line, const std::string& section) {
  const IniLine parsed = ParseIniLine(line);
  return parsed.named && parsed.name == section;
}

// Index of the first header naming `section`, or NONE.
size_t FindSection(const std::vector<std::string>& lines, const std::string& section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (NamesSection(lines[i], section)) return i;
  }
  return NONE;
}

// Walks the entries after the header at `header`: the index of the first one with `key`,
// or, when there is none, the index where the section ends (the next header or the end).
size_t FindEntryOrEnd(const std::vector<std::string>& lines, size_t header, const std::string& key, bool& found) {
  size_t i = header + 1;
  for (; i < lines.size(); ++i) {
    const IniLine parsed = ParseIniLine(lines[i]);
    if (parsed.header) break;
    if (parsed.entry && parsed.name == key) {
      found = true;
      return i;
    }
  }
  found = false;
  return i;
}

}  // namespace

IniLine ParseIniLine(const std::string& line) {
  IniLine parsed;
  const size_t first = line.find_first_not_of(WHITE_SPACE);
  parsed.header = first != NONE && line[first] == '[';
  if (parsed.header) {
    const size_t close = line.find(']', first);
    parsed.named = close != NONE;
    if (parsed.named) parsed.name = Trim(line.substr(first + 1, close - first - 1));
    return parsed;
  }
  const size_t equals = line.find('=');
  parsed.entry = equals != NONE;
  if (parsed.entry) {
    parsed.name = Trim(line.substr(0, equals));
    parsed.value = Trim(line.substr(equals + 1));
  }
  return parsed;
}

// The application replaces this path before any use.
CIniFile::CIniFile() : IniPath("\\SetData.ini") {}

CIniFile::~CIniFile() { Lines.clear(); }

std::vector<std::string> SplitIniLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t lineFeed = bytes.find('\n', start);
    if (lineFeed == NONE) {  // the last line has no line end
      lines.push_back(bytes.substr(start));
      break;
    }
    // CR LF ends a line as a bare LF does; a CR anywhere else is part of the line.
    const size_t end = lineFeed > start && bytes[lineFeed - 1] == '\r' ? lineFeed - 1 : lineFeed;
    lines.push_back(bytes.substr(start, end - start));
    start = lineFeed + 1;
  }
  return lines;
}

void CIniFile::LoadLines() { Lines = SplitIniLines(LoadFileCreating(IniPath)); }

void CIniFile::SaveLines() {
  std::string bytes;
  for (const std::string& line : Lines) bytes += line + "\r\n";
  // Written whole or not at all: a failure half way keeps the file as it was.
  if (const int error = ReplaceFileContent(IniPath, bytes)) throw CFileException("writing", IniPath, error);
}

std::string CIniFile::GetString(std::string section, std::string key, std::string def) {
  LoadLines();
  const size_t header = FindSection(Lines, section);
  if (header == NONE) return def;
  bool found = false;
  const size_t entry = FindEntryOrEnd(Lines, header, key, found);
  if (!found) return def;
  return ParseIniLine(Lines[entry]).value;
}

int CIniFile::GetInt(std::string section, std::string key, int def) {
  return IniNumber(GetString(section, key, std::to_string(def)));
}

int IniNumber(const std::string& text) {
  // strtol saturates at the bounds of long, which is wider than int on 64-bit Linux.
  const long value = strtol(text.c_str(), nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void CIniFile::SetString(std::string section, std::string key, std::string value) {
  LoadLines();
  const std::string entry = key + "=" + value;
  const size_t header = FindSection(Lines, section);
  if (header == NONE) {
    Lines.push_back("[" + section + "]");
    Lines.push_back(entry);
  } else {
    bool found = false;
    const size_t at = FindEntryOrEnd(Lines, header, key, found);
    if (found) {
      Lines[at] = entry;
    } else {
      Lines.insert(Lines.begin() + static_cast<std::ptrdiff_t>(at), entry);
    }
  }
  SaveLines();
}

void CIniFile::SetInt(std::string section, std::string key, int value) {
  SetString(section, key, std::to_string(value));
}

void CIniFile::RemoveEntry(const std::string& section, const std::string& key) {
  LoadLines();
  const size_t header = FindSection(Lines, section);
  if (header == NONE) return;
  bool found = false;
  const size_t at = FindEntryOrEnd(Lines, header, key, found);
  if (!found) return;
  Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(at));
  if (header + 1 == Lines.size() || ParseIniLine(Lines[header + 1]).header) {
    Lines.erase(Lines.begin() + static_cast<std::ptrdiff_t>(header));
  }
  SaveLines();
}
