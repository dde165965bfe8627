// The settings file: a small INI-style text file, read and written by the program itself.
//
//   [Device]
//   Type=3
//   Port=0
//   [Offset]
//   BladeOffset=0.38
//
// A line whose first character after white space is "[" is a section header, named by the
// trimmed text up to the first "]" (a header without "]" matches no section). Every other
// line is an entry split at its first "=" into a trimmed key and a trimmed value; a line
// without "=" never matches. There are no comments and no quoting. Names compare exactly
// and case-sensitively; the first matching section, and the first matching entry in it,
// win. Bytes are copied as they are (no code-page conversion); lines end in CR LF when
// written and in CR LF or a bare LF when read.
//
// Every lookup and every change re-reads the file, and every change rewrites it whole: the
// file is a handful of lines, and another program (the command line) may have changed it
// since the last lookup; a change keeps what it wrote and alters only its own entry.
// File failures raise CFileException, which no operation here catches.
#pragma once

#include <string>
#include <vector>

// How a lookup sees one line of the file.
struct IniLine {
  bool header = false;  // a section header: its first character after white space is "["
  bool named = false;   // a header with "]": `name` is its trimmed text between them
  bool entry = false;   // not a header and holds "=": `name` and `value` are its trimmed key and value
  std::string name;
  std::string value;
};

IniLine ParseIniLine(const std::string& line);

// The lines of a file's `bytes`, without their CR LF or LF ends.
std::vector<std::string> SplitIniLines(const std::string& bytes);

// An entry's text as a number, as atoi reads it: leading white space, optional sign, decimal
// digits up to the first other character; no digits give 0, values beyond int saturate.
int IniNumber(const std::string& text);

class CIniFile {
 public:
  CIniFile();
  virtual ~CIniFile();

  // Reads the file into Lines, creating it empty when absent (an existing file is never
  // truncated).
  void LoadLines();
  // Writes Lines to the file, each followed by CR LF, creating or truncating it.
  void SaveLines();

  // The trimmed value of `key` in `section` as the file holds it now, or `def`.
  std::string GetString(std::string section, std::string key, std::string def);
  // GetString converted by IniNumber.
  int GetInt(std::string section, std::string key, int def);

  // Sets `key`=`value` in `section` and rewrites the file: an existing entry is replaced
  // in place by exactly "key=value"; a new entry goes at the end of its section; a new
  // section goes at the end of the file. Works on the file as it is on disk now.
  void SetString(std::string section, std::string key, std::string value);
  // SetString with the decimal text of `value`.
  void SetInt(std::string section, std::string key, int value);
  // Removes the entry `key` of `section`, and the section's header when nothing is left
  // under it, and rewrites the file; a file without the entry is left as it is.
  void RemoveEntry(const std::string& section, const std::string& key);

  std::string IniPath;             // full path of the file
  std::vector<std::string> Lines;  // the file's lines without line ends, plus the last change
};
