#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "CfbReader.h"
#include "corel/macro/CompoundFile.h"

namespace {

std::string Filled(size_t size, char seed) {
  std::string bytes;
  for (size_t i = 0; i < size; i++) bytes += char(seed + i % 97);
  return bytes;
}

TEST(CompoundFile, HeaderDescribesVersion3With512ByteSectors) {
  CCompoundFile file;
  file.AddStream("PROJECT", "ID=\"{}\"\r\n");
  std::string bytes = file.Write();
  CCfbReader reader(bytes);

  EXPECT_EQ(bytes.substr(0, 8), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1");
  EXPECT_EQ(bytes.substr(8, 16), std::string(16, '\0'));  // CLSID
  EXPECT_EQ(reader.Get16(24), 0x003E);
  EXPECT_EQ(reader.Get16(26), 3);
  EXPECT_EQ(reader.Get16(28), 0xFFFE);
  EXPECT_EQ(reader.Get16(30), 9);
  EXPECT_EQ(reader.Get16(32), 6);
  EXPECT_EQ(reader.Get32(40), 0u);  // directory sector count: always 0 in version 3
  EXPECT_EQ(reader.Get32(44), 1u);
  EXPECT_EQ(reader.Get32(52), 0u);
  EXPECT_EQ(reader.Get32(56), 4096u);
  EXPECT_EQ(reader.Get32(64), 1u);
  EXPECT_EQ(reader.Get32(68), CFB_END_OF_CHAIN);  // no DIFAT sectors
  EXPECT_EQ(reader.Get32(72), 0u);
  EXPECT_EQ(reader.Get32(76), 0u);  // the FAT is sector 0...
  for (size_t slot = 1; slot < 109; slot++) EXPECT_EQ(reader.Get32(76 + 4 * slot), CFB_FREE_SECTOR);
  EXPECT_EQ(reader.Get32(512), CFB_FAT_SECTOR);  // ...and marks itself
  EXPECT_EQ(bytes.size() % 512, 0u);
  // FAT, directory, mini FAT, one sector of mini stream.
  EXPECT_EQ(bytes.size(), 5 * 512u);
}

TEST(CompoundFile, StreamsUnder4096BytesGoToTheMiniStream) {
  struct Case {
    size_t size;
    bool mini;
  };
  std::vector<Case> cases = {{0, true},    {1, true},     {63, true},    {64, true},    {65, true},
                             {4095, true}, {4096, false}, {4097, false}, {70000, false}};
  CCompoundFile file;
  for (size_t i = 0; i < cases.size(); i++)
    file.AddStream("S" + std::to_string(i), Filled(cases[i].size, char('a' + i)));
  CCfbReader reader(file.Write());

  size_t miniSectors = 0;
  for (size_t i = 0; i < cases.size(); i++) {
    int at = reader.Find("S" + std::to_string(i));
    ASSERT_GE(at, 0) << i;
    const CfbEntry& entry = reader.entries[at];
    EXPECT_EQ(entry.size, cases[i].size);
    EXPECT_EQ(reader.Stream(entry), Filled(cases[i].size, char('a' + i))) << cases[i].size;
    if (cases[i].mini) miniSectors += (cases[i].size + 63) / 64;
    if (cases[i].size == 0) {
      EXPECT_EQ(entry.start, CFB_END_OF_CHAIN);
    }
  }
  EXPECT_EQ(reader.entries[0].size, miniSectors * 64);  // the root's stream: the mini sectors in use
}

// In order, the tree of a storage's children lists them sorted; the colouring is a valid
// red-black one: black root, no red child of a red node, one black count on every path.
void CheckTree(const CCfbReader& reader, uint32_t root, std::vector<std::string>& inOrder) {
  struct Walk {
    const CCfbReader& reader;
    std::vector<std::string>& names;
    int blackHeight = -1;
    void Visit(uint32_t at, bool parentRed, int blacks) {
      if (at == CFB_NO_STREAM) {
        if (blackHeight < 0) blackHeight = blacks;
        EXPECT_EQ(blacks, blackHeight) << "unequal black counts";
        return;
      }
      ASSERT_LT(names.size(), reader.entries.size()) << "the tree loops";
      const CfbEntry& entry = reader.entries.at(at);
      bool red = entry.color == 0;
      EXPECT_FALSE(red && parentRed) << entry.name << " is red under red";
      Visit(entry.left, red, blacks + (red ? 0 : 1));
      names.push_back(entry.name);
      Visit(entry.right, red, blacks + (red ? 0 : 1));
    }
  };
  if (root != CFB_NO_STREAM) {
    EXPECT_EQ(reader.entries.at(root).color, 1) << "red root";
  }
  Walk walk{reader, inOrder};
  walk.Visit(root, false, 0);
}

TEST(CompoundFile, DirectoryTreesReadBackSortedAndBalanced) {
  for (size_t count = 1; count <= 40; count++) {
    CCompoundFile file;
    std::vector<std::string> names;
    for (size_t i = 0; i < count; i++) {
      // Lengths and cases mixed, added in no particular order.
      std::string name =
          std::string(1 + (i * 7) % 5, char('a' + (i * 11) % 26)) + (i % 2 ? "x" : "Y") + std::to_string(i);
      names.push_back(name);
      file.AddStream("VBA/" + name, name);
    }
    file.AddStream("PROJECT", "p");
    CCfbReader reader(file.Write());

    std::vector<std::string> top;
    CheckTree(reader, reader.entries[0].child, top);
    EXPECT_EQ(top, (std::vector<std::string>{"VBA", "PROJECT"}));

    int vba = reader.Find("VBA");
    ASSERT_GE(vba, 0);
    EXPECT_EQ(reader.entries[vba].type, 1);
    std::vector<std::string> inOrder;
    CheckTree(reader, reader.entries[vba].child, inOrder);
    std::sort(names.begin(), names.end(), CfbNameLess);
    EXPECT_EQ(inOrder, names) << count << " children";
    for (const std::string& name : names) {
      int at = reader.Find("VBA/" + name);
      ASSERT_GE(at, 0) << name;
      EXPECT_EQ(reader.Stream(reader.entries[at]), name);
    }
  }
}

TEST(CompoundFile, NamesSortByLengthThenUpperCase) {
  EXPECT_TRUE(CfbNameLess("dir", "VBA_"));  // shorter first, whatever the letters
  EXPECT_FALSE(CfbNameLess("VBA_", "dir"));
  EXPECT_TRUE(CfbNameLess("abc", "ABD"));
  EXPECT_TRUE(CfbNameLess("ABC", "abd"));
  EXPECT_FALSE(CfbNameLess("ABC", "abc"));
  EXPECT_FALSE(CfbNameLess("abc", "ABC"));
  // Upper-cased, "c" (0x43) sorts before "_" (0x5F), where its own code (0x63) would not.
  EXPECT_TRUE(CfbNameLess("abc", "AB_"));
  EXPECT_FALSE(CfbNameLess("AB_", "abc"));
}

TEST(CompoundFile, RejectsBadNamesAndTakenPaths) {
  for (const char* path : {"", "VBA/", "/dir", "a:b", "a\\b", "a!b", "tab\there", "0123456789012345678901234567890x"}) {
    CCompoundFile file;
    EXPECT_THROW(file.AddStream(path, "x"), std::invalid_argument) << path;
  }
  CCompoundFile file;
  file.AddStream("VBA/dir", "x");
  file.AddStream("0123456789012345678901234567890", "31 characters");
  EXPECT_THROW(file.AddStream("VBA/dir", "x"), std::invalid_argument);
  EXPECT_THROW(file.AddStream("vba/DIR", "x"), std::invalid_argument);
  EXPECT_THROW(file.AddStream("VBA/dir/x", "x"), std::invalid_argument);
  EXPECT_THROW(file.AddStream("VBA", "x"), std::invalid_argument);
}

}  // namespace
