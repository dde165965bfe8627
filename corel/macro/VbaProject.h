// A VBA project of one standard module, as the streams of a compound file (what a GMS file
// holds), built from the module's source text:
//
//   PROJECT            ID="{...}"  Module=Ver001  Name="MeridalVorn"  HelpContextID="0"
//                      VersionCompatible32=...  CMG= DPB= GC= (no protection, no password,
//                      visible), [Host Extender Info], [Workspace]; text, lines in CR LF
//   PROJECTwm          each module name NUL-ended, in the code page and in UTF-16, then 00 00
//   VBA/_VBA_PROJECT   CC 61 FF FF 00 01 00: version 0xFFFF, no performance cache, so the
//                      host compiles the project from its source
//   VBA/dir            compressed records: the project (win32, LCID 0x409, code page 1252,
//                      name, empty description and help file, version), one reference to
//                      OLE Automation, the one module (name, stream, text offset 0)
//   VBA/<module>       the compressed source
//
// The source is single-byte text in code page 1252, kept as it is but for its line ends,
// which become CR LF; it must hold the module's line Attribute VB_Name = "<module>", or
// the editor renames the module.
#pragma once

#include <stdexcept>
#include <string>

#include "corel/macro/CompoundFile.h"

// Raised when a module source cannot go into a project; the text says why.
class CVbaSourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `text` with every line end (CR LF, a lone LF or a lone CR) made CR LF.
std::string ToCrLf(const std::string& text);

// The PROJECT stream's text for the project `projectName` with the one standard module
// `moduleName`. Throws std::invalid_argument when a name is not a VBA identifier (an ASCII
// letter, then letters, digits and "_", at most 31).
std::string ProjectText(const std::string& projectName, const std::string& moduleName);

// The uncompressed records of the VBA/dir stream for the same project. Throws as
// ProjectText does.
std::string DirRecords(const std::string& projectName, const std::string& moduleName);

// The compound file of the project. Throws CVbaSourceError when `source` starts with a
// UTF-8 or UTF-16 byte-order mark, holds a NUL byte, or lacks the Attribute VB_Name line
// naming `moduleName`; std::invalid_argument as ProjectText.
CCompoundFile BuildVbaProject(const std::string& projectName, const std::string& moduleName, const std::string& source);
