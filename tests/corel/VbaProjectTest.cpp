#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "CfbReader.h"
#include "corel/macro/OvbaCompression.h"
#include "corel/macro/OvbaEncryption.h"
#include "corel/macro/VbaProject.h"

namespace {

const char SOURCE[] =
    "Attribute VB_Name = \"Ver001\"\nOption Explicit\n\nPublic Sub MeridalCut()\n  MsgBox \"Caf\xE9\"\nEnd Sub\n";

// The published PROJECT example: its identifier and its three values, which show the
// ignored bytes all 0x07.
TEST(OvbaEncryption, MatchesThePublishedProjectValues) {
  const std::string id = "{917DED54-440B-4FD1-A5C1-74ACF261E600}";
  EXPECT_EQ(OvbaEncrypt(0x07, id, std::string(4, '\0')), "0705D8E3D8EDDBF1DBF1DBF1DBF1");
  EXPECT_EQ(OvbaEncrypt(0x0E, id, std::string(1, '\0')), "0E0CD1ECDFF4E7F5E7F5E7");
  EXPECT_EQ(OvbaEncrypt(0x15, id, "\xFF"), "1517CAF1D6F9D7F9D706");
}

TEST(VbaProject, LineEndsBecomeCrLf) {
  EXPECT_EQ(ToCrLf("a\nb\n"), "a\r\nb\r\n");
  EXPECT_EQ(ToCrLf("a\r\nb"), "a\r\nb");
  EXPECT_EQ(ToCrLf("a\rb\r"), "a\r\nb\r\n");
  EXPECT_EQ(ToCrLf("\n\r"), "\r\n\r\n");  // LF then CR: two line ends
  EXPECT_EQ(ToCrLf("\r\r\n"), "\r\n\r\n");
  EXPECT_EQ(ToCrLf("no end"), "no end");
}

TEST(VbaProject, RejectsSourcesThatAreNotSingleByteWithTheNameLine) {
  struct Case {
    std::string source;
    const char* error;
  };
  std::string prefix = "the source of module Ver001 cannot be packed: ";
  std::vector<Case> cases = {
      {"Sub A()\r\nEnd Sub\r\n", "it lacks the line Attribute VB_Name = \"Ver001\""},
      {"Attribute VB_Name = \"Ver002\"\r\n", "it lacks the line Attribute VB_Name = \"Ver001\""},
      {std::string("Attribute VB_Name = \"Ver001\"\r\nx\0y", 33), "it holds a NUL byte at offset 31"},
      {"\xEF\xBB\xBF" + std::string(SOURCE), "it is UTF-8 text (it starts with a byte-order mark)"},
      {std::string("\xFF\xFE"
                   "A\0t\0",
                   6),
       "it is UTF-16 text (it starts with a byte-order mark)"},
  };
  for (const Case& c : cases) {
    try {
      BuildVbaProject("MeridalVorn", "Ver001", c.source);
      ADD_FAILURE() << "no error for " << c.error;
    } catch (const CVbaSourceError& error) {
      EXPECT_EQ(error.what(), prefix + c.error);
    }
  }
  EXPECT_THROW(BuildVbaProject("Meridal Vorn", "Ver001", SOURCE), std::invalid_argument);
  EXPECT_THROW(BuildVbaProject("MeridalVorn", "1Ver", SOURCE), std::invalid_argument);
}

uint32_t Le(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = 0; i < count; i++) value |= uint32_t(uint8_t(bytes.at(at + i))) << (8 * i);
  return value;
}

// The dir records as (id, data) pairs. Every record is an id, a 4-byte size and that many
// bytes, but for the version record, whose size field says 4 before 6 bytes.
std::vector<std::pair<uint16_t, std::string>> Records(const std::string& dir) {
  std::vector<std::pair<uint16_t, std::string>> records;
  for (size_t at = 0; at < dir.size();) {
    uint16_t id = uint16_t(Le(dir, at, 2));
    size_t size = id == 0x0009 ? 6 : Le(dir, at + 2, 4);
    records.push_back({id, dir.substr(at + 6, size)});
    EXPECT_LE(at + 6 + size, dir.size());
    at += 6 + size;
  }
  return records;
}

TEST(VbaProject, ProjectReadsBackFromItsCompoundFile) {
  CCfbReader reader(BuildVbaProject("MeridalVorn", "Ver001", SOURCE).Write());
  for (const char* path : {"PROJECT", "PROJECTwm", "VBA/_VBA_PROJECT", "VBA/dir", "VBA/Ver001"})
    ASSERT_GE(reader.Find(path), 0) << path;
  auto stream = [&reader](const char* path) { return reader.Stream(reader.entries[reader.Find(path)]); };

  std::string project = stream("PROJECT");
  EXPECT_EQ(project.rfind("ID=\"{", 0), 0u);
  EXPECT_NE(project.find("\r\nModule=Ver001\r\nName=\"MeridalVorn\"\r\n"), std::string::npos);
  EXPECT_NE(project.find("\r\n\r\n[Host Extender Info]\r\n"), std::string::npos);
  std::string workspace = "\r\n\r\n[Workspace]\r\nVer001=0, 0, 0, 0, C\r\n";
  EXPECT_EQ(project.substr(project.size() - workspace.size()), workspace);
  std::string wideName(
      "V\0e\0r\0"
      "0\0"
      "0\0"
      "1\0",
      12);
  EXPECT_EQ(stream("PROJECTwm"), std::string("Ver001\0", 7) + wideName + std::string(4, '\0'));
  EXPECT_EQ(stream("VBA/_VBA_PROJECT"), std::string("\xCC\x61\xFF\xFF\0\x01\0", 7));
  EXPECT_EQ(OvbaDecompress(stream("VBA/Ver001")), ToCrLf(SOURCE));

  std::string dir = OvbaDecompress(stream("VBA/dir"));
  EXPECT_EQ(dir, DirRecords("MeridalVorn", "Ver001"));
  std::vector<uint16_t> ids;
  for (const auto& record : Records(dir)) ids.push_back(record.first);
  EXPECT_EQ(ids, (std::vector<uint16_t>{0x0001, 0x0002, 0x0014, 0x0003, 0x0004, 0x0005, 0x0040,
                                        0x0006, 0x003D, 0x0007, 0x0008, 0x0009, 0x000C, 0x003C,  // project information
                                        0x0016, 0x003E, 0x000D,                                  // the reference
                                        0x000F, 0x0013, 0x0019, 0x0047, 0x001A, 0x0032, 0x001C,
                                        0x0048, 0x0031, 0x001E, 0x002C, 0x0021, 0x002B,  // the module
                                        0x0010}));
  auto records = Records(dir);
  EXPECT_EQ(records[0].second, std::string("\1\0\0\0", 4));  // 32-bit Windows
  EXPECT_EQ(records[1].second, std::string("\x09\x04\0\0", 4));
  EXPECT_EQ(records[3].second, std::string("\xE4\x04", 2));  // 1252
  EXPECT_EQ(records[4].second, "MeridalVorn");
  EXPECT_EQ(records[16].second.substr(4, 42), "*\\G{00020430-0000-0000-C000-000000000046}#");
  EXPECT_EQ(records[19].second, "Ver001");
  EXPECT_EQ(records[21].second, "Ver001");              // stream name
  EXPECT_EQ(records[25].second, std::string(4, '\0'));  // source at offset 0
}

}  // namespace
