#include "corel/macro/VbaProject.h"

#include <cctype>
#include <cstdint>

#include "corel/macro/OvbaCompression.h"
#include "corel/macro/OvbaEncryption.h"

namespace {

// A fixed project identifier: the file must come out the same on every build.
const char PROJECT_ID[] = "{6D1A2F47-3C85-4E09-9B2D-0F4E8A7C5B31}";
// The encryption seeds of CMG=, DPB= and GC=; fixed for the same reason.
const uint8_t PROTECTION_SEED = 0x07;
const uint8_t PASSWORD_SEED = 0x0E;
const uint8_t VISIBILITY_SEED = 0x15;
const char CRLF[] = "\r\n";

const uint32_t SYSKIND_WIN32 = 1;
const uint32_t LCID_ENGLISH_US = 0x409;
const uint16_t CODE_PAGE_1252 = 1252;
const uint32_t PROJECT_VERSION_MAJOR = 1;
const uint16_t PROJECT_VERSION_MINOR = 0;
const uint16_t COOKIE = 0xFFFF;
const char OLE_AUTOMATION_NAME[] = "stdole";
const char OLE_AUTOMATION_LIBID[] =
    "*\\G{00020430-0000-0000-C000-000000000046}#2.0#0#C:\\Windows\\System32\\stdole2.tlb#OLE Automation";
const char VBA_PROJECT_STREAM[] = "\xCC\x61\xFF\xFF\x00\x01\x00";

std::string Le16(uint16_t value) { return {char(value & 0xFF), char(value >> 8)}; }
std::string Le32(uint32_t value) { return Le16(uint16_t(value & 0xFFFF)) + Le16(uint16_t(value >> 16)); }

// UTF-16 of ASCII text.
std::string Utf16(const std::string& ascii) {
  std::string wide;
  for (char c : ascii) wide += {c, '\0'};
  return wide;
}

// A record: its id, the size of its data, the data.
std::string Record(uint16_t id, const std::string& data) { return Le16(id) + Le32(uint32_t(data.size())) + data; }

// A record of a text in the code page followed by the same text in UTF-16 under a second id.
std::string TextRecord(uint16_t id, const std::string& text, uint16_t unicodeId) {
  return Record(id, text) + Record(unicodeId, Utf16(text));
}

void CheckIdentifier(const std::string& name) {
  bool good = !name.empty() && name.size() <= 31 && std::isalpha(static_cast<unsigned char>(name[0]));
  for (char c : name) good = good && c > 0 && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
  if (!good) throw std::invalid_argument("\"" + name + "\" is not a VBA identifier");
}

std::string InformationRecords(const std::string& projectName) {
  return Record(0x0001, Le32(SYSKIND_WIN32)) + Record(0x0002, Le32(LCID_ENGLISH_US)) +
         Record(0x0014, Le32(LCID_ENGLISH_US)) + Record(0x0003, Le16(CODE_PAGE_1252)) + Record(0x0004, projectName) +
         TextRecord(0x0005, "", 0x0040) +  // description
         TextRecord(0x0006, "", 0x003D) +  // help file, twice
         Record(0x0007, Le32(0)) +         // help context
         Record(0x0008, Le32(0)) +         // library flags
         Le16(0x0009) + Le32(4) + Le32(PROJECT_VERSION_MAJOR) + Le16(PROJECT_VERSION_MINOR) +
         TextRecord(0x000C, "", 0x003C);  // compilation constants
}

std::string ReferenceRecords() {
  std::string libid = OLE_AUTOMATION_LIBID;
  return TextRecord(0x0016, OLE_AUTOMATION_NAME, 0x003E) +
         Record(0x000D, Le32(uint32_t(libid.size())) + libid + Le32(0) + Le16(0));
}

std::string ModuleRecords(const std::string& moduleName) {
  return Record(0x000F, Le16(1)) + Record(0x0013, Le16(COOKIE)) +  // one module
         Record(0x0019, moduleName) + Record(0x0047, Utf16(moduleName)) +
         TextRecord(0x001A, moduleName, 0x0032) +  // stream name
         TextRecord(0x001C, "", 0x0048) +          // description
         Record(0x0031, Le32(0)) +                 // source offset in the stream
         Record(0x001E, Le32(0)) +                 // help context
         Record(0x002C, Le16(COOKIE)) +            // module cookie
         Le16(0x0021) + Le32(0) +                  // procedural module
         Le16(0x002B) + Le32(0);                   // end of the module
}

// Why `source` cannot be a module source, or "" when it can.
std::string SourceFault(const std::string& source, const std::string& moduleName) {
  if (source.compare(0, 3, "\xEF\xBB\xBF") == 0) return "it is UTF-8 text (it starts with a byte-order mark)";
  if (source.compare(0, 2, "\xFF\xFE") == 0 || source.compare(0, 2, "\xFE\xFF") == 0)
    return "it is UTF-16 text (it starts with a byte-order mark)";
  size_t nul = source.find('\0');
  if (nul != std::string::npos) return "it holds a NUL byte at offset " + std::to_string(nul);
  std::string nameLine = "Attribute VB_Name = \"" + moduleName + "\"";
  std::string text = ToCrLf(source);
  for (size_t begin = 0; begin < text.size();) {
    size_t end = text.find(CRLF, begin);
    if (end == std::string::npos) end = text.size();
    if (text.compare(begin, end - begin, nameLine) == 0) return "";
    begin = end + 2;
  }
  return "it lacks the line " + nameLine;
}

}  // namespace

std::string ToCrLf(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); i++) {
    if (text[i] == '\r' || text[i] == '\n') {
      out += CRLF;
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') i++;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string ProjectText(const std::string& projectName, const std::string& moduleName) {
  CheckIdentifier(projectName);
  CheckIdentifier(moduleName);
  std::string id = PROJECT_ID;
  return "ID=\"" + id + "\"\r\n" + "Module=" + moduleName + CRLF + "Name=\"" + projectName + "\"\r\n" +
         "HelpContextID=\"0\"\r\n" + "VersionCompatible32=\"393222000\"\r\n" + "CMG=\"" +
         OvbaEncrypt(PROTECTION_SEED, id, std::string(4, '\0')) + "\"\r\n" + "DPB=\"" +
         OvbaEncrypt(PASSWORD_SEED, id, std::string(1, '\0')) + "\"\r\n" + "GC=\"" +
         OvbaEncrypt(VISIBILITY_SEED, id, "\xFF") + "\"\r\n" + CRLF + "[Host Extender Info]\r\n" +
         "&H00000001={3832D640-CF90-11CF-8E43-00A0C911005A};VBE;&H00000000\r\n" + CRLF + "[Workspace]\r\n" +
         moduleName + "=0, 0, 0, 0, C\r\n";
}

std::string DirRecords(const std::string& projectName, const std::string& moduleName) {
  CheckIdentifier(projectName);
  CheckIdentifier(moduleName);
  return InformationRecords(projectName) + ReferenceRecords() + ModuleRecords(moduleName) + Le16(0x0010) + Le32(0);
}

CCompoundFile BuildVbaProject(const std::string& projectName, const std::string& moduleName,
                              const std::string& source) {
  std::string projectText = ProjectText(projectName, moduleName);
  std::string fault = SourceFault(source, moduleName);
  if (!fault.empty()) throw CVbaSourceError("the source of module " + moduleName + " cannot be packed: " + fault);
  CCompoundFile file;
  file.AddStream("PROJECT", projectText);
  file.AddStream("PROJECTwm", moduleName + '\0' + Utf16(moduleName) + std::string(4, '\0'));
  file.AddStream("VBA/_VBA_PROJECT", std::string(VBA_PROJECT_STREAM, 7));
  file.AddStream("VBA/dir", OvbaCompress(DirRecords(projectName, moduleName)));
  std::string text = ToCrLf(source);
  std::string compressed = OvbaCompress(text);
  // Only a last chunk stored raw changes in the round trip: it comes back padded to 4096 bytes.
  if (OvbaDecompress(compressed) != text)
    throw CVbaSourceError("the source of module " + moduleName +
                          " cannot be packed: its last 4096 bytes do not compress");
  file.AddStream("VBA/" + moduleName, compressed);
  return file;
}
