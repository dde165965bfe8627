// "X7.wz" as the build writes it: a ZIP archive with one stored entry, the workspace XML
// holding the toolbar that the edit of the older versions adds, with the same command and
// picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "corel/CorelWorkspace.h"
#include "corel/ToolbarIcon.h"
#include "xml/XmlDocument.h"

namespace {

std::string ReadFile(const char* path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t U16(const std::string& s, size_t at) {
  return static_cast<uint8_t>(s[at]) | static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 8;
}
uint32_t U32(const std::string& s, size_t at) { return U16(s, at) | U16(s, at + 2) << 16; }

// The ZIP checksum: CRC-32 with the reflected polynomial 0xEDB88320.
uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFF;
  for (char c : data) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = crc & 1 ? crc >> 1 ^ 0xEDB88320 : crc >> 1;
  }
  return ~crc;
}

// The one entry of the archive, checked against its local header, central directory
// record and end record on the way: stored (method 0), no data descriptor, no comment.
struct StoredEntry {
  std::string name;
  std::string data;
};

void ReadOnlyEntry(const std::string& zip, StoredEntry& entry) {
  ASSERT_GE(zip.size(), 22u + 46u + 30u);
  // End of central directory: the last 22 bytes, as the archive has no comment.
  const size_t end = zip.size() - 22;
  ASSERT_EQ(U32(zip, end), 0x06054B50u);
  EXPECT_EQ(U16(zip, end + 8), 1u) << "entries on this disk";
  EXPECT_EQ(U16(zip, end + 10), 1u) << "entries in all";
  const size_t directorySize = U32(zip, end + 12), directory = U32(zip, end + 16);
  ASSERT_EQ(directory + directorySize, end);

  ASSERT_EQ(U32(zip, directory), 0x02014B50u);
  const uint32_t method = U16(zip, directory + 10), crc = U32(zip, directory + 16);
  const uint32_t packed = U32(zip, directory + 20), size = U32(zip, directory + 24);
  const size_t nameLength = U16(zip, directory + 28);
  EXPECT_EQ(method, 0u) << "stored, not deflated";
  EXPECT_EQ(packed, size);
  EXPECT_EQ(directorySize, 46 + nameLength + U16(zip, directory + 30) + U16(zip, directory + 32));
  const size_t local = U32(zip, directory + 42);
  ASSERT_EQ(local, 0u);

  ASSERT_EQ(U32(zip, local), 0x04034B50u);
  EXPECT_EQ(U16(zip, local + 6) & 0x8, 0u) << "sizes in the local header, no data descriptor";
  EXPECT_EQ(U16(zip, local + 8), 0u);
  EXPECT_EQ(U32(zip, local + 14), crc);
  EXPECT_EQ(U32(zip, local + 18), packed);
  EXPECT_EQ(U32(zip, local + 22), size);
  ASSERT_EQ(U16(zip, local + 26), nameLength);
  const size_t data = local + 30 + nameLength + U16(zip, local + 28);
  ASSERT_EQ(data + size, directory) << "the data runs up to the central directory";
  EXPECT_EQ(zip.substr(local + 30, nameLength), zip.substr(directory + 46, nameLength));

  entry.name = zip.substr(directory + 46, nameLength);
  entry.data = zip.substr(data, size);
  EXPECT_EQ(Crc32(entry.data), crc);
}

// Moves to the next child `name` whose `attribute` is `value`; false when there is none.
bool FindWith(CXmlDocument& doc, const char* name, const char* attribute, const char* value) {
  while (doc.FindElement(name)) {
    if (doc.GetAttribute(doc.CurrentElement(), attribute) == value) return true;
  }
  return false;
}

class X7Workspace : public testing::Test {
 protected:
  void SetUp() override {
    const std::string zip = ReadFile(PLOTGATE_X7_WZ);
    ASSERT_FALSE(zip.empty()) << PLOTGATE_X7_WZ;
    ASSERT_NO_FATAL_FAILURE(ReadOnlyEntry(zip, m_entry));
    ASSERT_TRUE(m_doc.SetDocument(m_entry.data.c_str())) << m_doc.GetResultLog();
    ASSERT_TRUE(m_doc.FindElement("uiConfig"));
    ASSERT_TRUE(m_doc.EnterElement());
  }

  StoredEntry m_entry;
  CXmlDocument m_doc;
};

TEST_F(X7Workspace, IsAZipWithTheWorkspaceXmlStored) {
  EXPECT_EQ(m_entry.name, "DRAWUIConfig.xml");
  EXPECT_TRUE(m_doc.IsWellFormed());
  EXPECT_EQ(m_entry.data.find('@'), std::string::npos) << "a placeholder was left in";
}

TEST_F(X7Workspace, FloatingCommandBarShowsTheToolbar) {
  ASSERT_TRUE(m_doc.FindElement("frame") && m_doc.EnterElement());
  ASSERT_TRUE(FindWith(m_doc, "dockBar", "position", "float") && m_doc.EnterElement());
  ASSERT_TRUE(m_doc.FindElement("cmdBarLane") && m_doc.EnterElement());
  ASSERT_TRUE(FindWith(m_doc, "commandBar", "guidRef", TOOLBAR_GUID));
  EXPECT_EQ(m_doc.GetAttribute(m_doc.CurrentElement(), "visible"), "true");
}

TEST_F(X7Workspace, ToolbarDefinitionHoldsTheOneButton) {
  ASSERT_TRUE(m_doc.FindElement("commandBars") && m_doc.EnterElement());
  ASSERT_TRUE(FindWith(m_doc, "commandBarData", "guid", TOOLBAR_GUID));
  const int bar = m_doc.CurrentElement();
  EXPECT_EQ(m_doc.GetAttribute(bar, "type"), "toolbar");
  EXPECT_EQ(m_doc.GetAttribute(bar, "nonLocalizableName"), "MeridalCut");
  EXPECT_EQ(m_doc.GetAttribute(bar, "userCaption"), "MeridalCut");
  ASSERT_TRUE(m_doc.EnterElement() && m_doc.FindElement("container") && m_doc.EnterElement());
  EXPECT_TRUE(FindWith(m_doc, "item", "guidRef", ITEM_GUID));
}

TEST_F(X7Workspace, ButtonRunsTheMacroWithTheToolbarPicture) {
  ASSERT_TRUE(m_doc.FindElement("items") && m_doc.EnterElement());
  ASSERT_TRUE(FindWith(m_doc, "itemData", "guid", ITEM_GUID));
  EXPECT_EQ(m_doc.GetAttribute(m_doc.CurrentElement(), "dynamicCommand"), "MeridalVorn.Ver001.MeridalCut");
  EXPECT_EQ(m_doc.GetAttribute(m_doc.CurrentElement(), "dynamicCategory"), CATEGORY_GUID);
  ASSERT_TRUE(m_doc.EnterElement() && m_doc.FindElement("userSmallBitmap"));
  EXPECT_EQ(m_doc.GetAttribute(m_doc.CurrentElement(), "dt:dt"), "bin.base64");
  ASSERT_TRUE(m_doc.EnterElement());
  ASSERT_TRUE(m_doc.FindNode(NodeText));
  EXPECT_EQ(m_doc.GetText().substr(m_doc.NodeOffset(), m_doc.NodeLength()), ToolbarIcon());
}

}  // namespace
