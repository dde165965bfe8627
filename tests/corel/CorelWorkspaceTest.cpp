#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "FailingAllocations.h"
#include "MapRegistry.h"
#include "TempDir.h"
#include "corel/CorelWorkspace.h"
#include "corel/ToolbarIcon.h"
#include "corel/WorkspaceFiles.h"

namespace {

const std::string G1 = "cce012b7-e5ab-44d8-a452-db398ff869a7";  // toolbar
const std::string G2 = "90c7038a-be16-44b5-8db5-c2745b70be66";  // button item
const std::string G3 = "2cc24a3e-fe24-4708-9a74-9c75406eebcd";  // category

const std::string COMMAND_BAR = "<commandBar guidRef=\"" + G1 + "\" floatX=\"200\" floatY=\"200\" visible=\"true\"/>";
const std::string COMMAND_BAR_DATA = "<commandBarData guid=\"" + G1 +
                                     "\" type=\"toolbar\" nonLocalizableName=\"MeridalCut\" userCaption=\"MeridalCut\" "
                                     "userCreated=\"true\">\r\n<container floatWidth=\"32767\">\r\n<item guidRef=\"" +
                                     G2 + "\"/>\r\n</container>\r\n</commandBarData>";
const std::string ITEM_DATA = "<itemData guid=\"" + G2 +
                              "\" dynamicCommand=\"MeridalVorn.Ver001.MeridalCut\" dynamicCategory=\"" + G3 +
                              "\">\r\n<userSmallBitmap xmlns:dt=\"urn:schemas-microsoft-com:datatypes\" "
                              "dt:dt=\"bin.base64\">" +
                              ToolbarIcon() + "</userSmallBitmap>\r\n</itemData>";

const std::string COMPACT =
    "<uiConfig><frame><dockBar position=\"float\"/></frame><commandBars></commandBars><items/></uiConfig>";

const std::string COMPACT_ADDED = "<uiConfig><frame><dockBar position=\"float\">\r\n<cmdBarLane>\r\n" + COMMAND_BAR +
                                  "\r\n</cmdBarLane>\r\n</dockBar></frame><commandBars>\r\n" + COMMAND_BAR_DATA +
                                  "\r\n</commandBars><items>\r\n" + ITEM_DATA + "\r\n</items></uiConfig>";

const std::string COMPACT_REMOVED =
    "<uiConfig><frame><dockBar position=\"float\">\r\n<cmdBarLane>\r\n</cmdBarLane>\r\n</dockBar></frame>"
    "<commandBars>\r\n</commandBars><items>\r\n</items></uiConfig>";

TEST(CorelToolbar, AddsBarDefinitionAndButton) {
  TempDir dir;
  const std::string path = dir.Write("DRAWUIConfig.xml", COMPACT);
  AddCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path), COMPACT_ADDED);
  RemoveCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path), COMPACT_REMOVED);
}

TEST(CorelToolbar, AddingTwiceAddsOnce) {
  TempDir dir;
  const std::string path = dir.Write("DRAWUIConfig.xml", COMPACT);
  AddCorelToolbar(path);
  AddCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path), COMPACT_ADDED);
  // After a removal the lane stays; adding again fills it the same way.
  RemoveCorelToolbar(path);
  AddCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path), COMPACT_ADDED);
}

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// UTF-16 bytes of the text, little- or big-endian.
std::string Utf16(const std::u16string& text, bool bigEndian) {
  std::string out;
  for (char16_t c : text) {
    const char low = static_cast<char>(c & 0xFF), high = static_cast<char>(c >> 8);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

// A comment of a user's German workspace: o with diaeresis, sharp s and an en dash.
const std::u16string GERMAN = u"<!-- Gr\u00F6\u00DFe \u2013 Werkzeug -->";

TEST(CorelToolbar, FilesKeepTheirEncodingAndMark) {
  struct Case {
    const char* name;
    std::string before, added;
  };
  const std::string latin1 = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n";
  const std::string e9 = "<!-- caf\xE9 -->";  // a Latin-1 byte that is not UTF-8
  const Case cases[] = {
      {"utf-8", COMPACT_REMOVED, COMPACT_ADDED},
      {"utf-8 with mark", "\xEF\xBB\xBF" + COMPACT_REMOVED, "\xEF\xBB\xBF" + COMPACT_ADDED},
      {"utf-16le with mark", "\xFF\xFE" + Utf16(Widen(COMPACT_REMOVED), false),
       "\xFF\xFE" + Utf16(Widen(COMPACT_ADDED), false)},
      // Without a mark, UTF-16 is known by its first character, "<".
      {"utf-16le without mark", Utf16(GERMAN + Widen(COMPACT_REMOVED), false),
       Utf16(GERMAN + Widen(COMPACT_ADDED), false)},
      {"utf-16be without mark", Utf16(GERMAN + Widen(COMPACT_REMOVED), true),
       Utf16(GERMAN + Widen(COMPACT_ADDED), true)},
      {"iso-8859-1", latin1 + e9 + COMPACT_REMOVED, latin1 + e9 + COMPACT_ADDED},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = dir.Write("DRAWUIConfig.xml", c.before);
    AddCorelToolbar(path);
    EXPECT_EQ(TempDir::Read(path), c.added) << c.name;
    RemoveCorelToolbar(path);
    EXPECT_EQ(TempDir::Read(path), c.before) << c.name;
  }
}

// Saving a document whose reading dropped or replaced characters would write those
// changes into the user's workspace: such a file is left exactly as it is.
TEST(CorelToolbar, FilesThatDoNotReadBackCleanlyAreLeftAlone) {
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"zero byte", "<!-- a" + std::string(1, '\0') + "b -->" + COMPACT},
      {"zero unit in UTF-16", "\xFF\xFE" + Utf16(u"<!-- a" + std::u16string(1, 0) + u"b -->" + Widen(COMPACT), false)},
      {"odd last byte of UTF-16", Utf16(GERMAN + Widen(COMPACT), false) + "!"},
      {"ANSI text that saving would turn into UTF-8", "\r\n<!-- caf\xE9 -->" + COMPACT},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string path = dir.Write("DRAWUIConfig.xml", c.bytes);
    const ToolbarEditResult result = EditCorelToolbar(path, true, true);
    EXPECT_EQ(result.outcome, TOOLBAR_READ_CHANGED) << c.name;
    EXPECT_EQ(TempDir::Read(path), c.bytes) << c.name;
  }
}

// No real workspace comes near 32 MB; a larger file is not even read, so it can neither
// exhaust the 32-bit program's memory nor be changed.
TEST(CorelToolbar, WorkspacesOver32MegabytesAreLeftAlone) {
  const size_t limit = 32 * 1024 * 1024;
  for (const size_t size : {limit, limit + 1}) {
    TempDir dir;
    const std::string padded = COMPACT + "<!--" + std::string(size - COMPACT.size() - 7, 'x') + "-->";
    const std::string path = dir.Write("DRAWUIConfig.xml", padded);
    const ToolbarEditResult result = EditCorelToolbar(path, true, true);
    if (size == limit) {
      EXPECT_EQ(result.outcome, TOOLBAR_CHANGED);
      continue;
    }
    EXPECT_EQ(result.outcome, TOOLBAR_TOO_LARGE);
    EXPECT_EQ(TempDir::Read(path), padded);
  }
}

TEST(CorelToolbar, FileMissingSomePartsGetsOnlyThose) {
  TempDir dir;
  const std::string path =
      dir.Write("DRAWUIConfig.xml", "<uiConfig><frame><dockBar position=\"float\"><cmdBarLane>" + COMMAND_BAR +
                                        "</cmdBarLane></dockBar></frame><commandBars>" + COMMAND_BAR_DATA +
                                        "</commandBars><items></items></uiConfig>");
  AddCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path), "<uiConfig><frame><dockBar position=\"float\"><cmdBarLane>" + COMMAND_BAR +
                                     "</cmdBarLane></dockBar></frame><commandBars>" + COMMAND_BAR_DATA +
                                     "</commandBars><items>\r\n" + ITEM_DATA + "\r\n</items></uiConfig>");
}

TEST(CorelToolbar, RemovingCleansEveryCopy) {
  // Workspaces filled by earlier versions hold the toolbar several times.
  TempDir dir;
  const std::string path =
      dir.Write("DRAWUIConfig.xml",
                "<uiConfig><frame><dockBar position=\"float\"><cmdBarLane>" + COMMAND_BAR + COMMAND_BAR +
                    "<commandBar guidRef=\"other\"/></cmdBarLane></dockBar></frame><commandBars>" + COMMAND_BAR_DATA +
                    COMMAND_BAR_DATA + "</commandBars><items>" + ITEM_DATA + ITEM_DATA + "</items></uiConfig>");
  RemoveCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path),
            "<uiConfig><frame><dockBar position=\"float\"><cmdBarLane><commandBar guidRef=\"other\"/></cmdBarLane>"
            "</dockBar></frame><commandBars></commandBars><items></items></uiConfig>");
}

TEST(CorelToolbar, OnlyTheFirstFiveDockBarsAreExamined) {
  std::string bars;
  for (int i = 0; i < 5; ++i) bars += "<dockBar position=\"top\"/>";
  TempDir dir;
  const std::string path = dir.Write(
      "DRAWUIConfig.xml", "<uiConfig><frame>" + bars + "<dockBar position=\"float\"><cmdBarLane>" + COMMAND_BAR +
                              "</cmdBarLane></dockBar></frame><commandBars></commandBars>"
                              "<items/></uiConfig>");
  AddCorelToolbar(path);
  const std::string added = TempDir::Read(path);
  // No second command bar in the sixth bar's lane, but the definition and button are added.
  EXPECT_NE(added.find("<cmdBarLane>" + COMMAND_BAR + "</cmdBarLane>"), std::string::npos);
  EXPECT_NE(added.find(COMMAND_BAR_DATA), std::string::npos);
  EXPECT_NE(added.find(ITEM_DATA), std::string::npos);
  // Removal has no such limit.
  RemoveCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path).find(G1), std::string::npos);
}

TEST(CorelToolbar, PositionMustBeExactlyFloat) {
  TempDir dir;
  const std::string path = dir.Write(
      "DRAWUIConfig.xml", "<uiConfig><frame><dockBar position=\"Float\"/></frame><commandBars/><items/></uiConfig>");
  AddCorelToolbar(path);
  const std::string added = TempDir::Read(path);
  EXPECT_NE(added.find("<dockBar position=\"Float\"/>"), std::string::npos);
  EXPECT_EQ(added.find("<commandBar "), std::string::npos);
}

TEST(CorelToolbar, FloatingBarWithoutLaneGetsOneAsLastChild) {
  TempDir dir;
  const std::string path =
      dir.Write("DRAWUIConfig.xml", "<uiConfig><frame><dockBar position=\"float\"><x/></dockBar></frame></uiConfig>");
  AddCorelToolbar(path);
  EXPECT_EQ(TempDir::Read(path), "<uiConfig><frame><dockBar position=\"float\"><x/><cmdBarLane>\r\n" + COMMAND_BAR +
                                     "\r\n</cmdBarLane>\r\n</dockBar></frame></uiConfig>");
}

TEST(CorelToolbar, ElementsOutOfOrderAreEditedInPart) {
  // "items" is looked for only after "commandBars".
  TempDir dir;
  const std::string path = dir.Write("DRAWUIConfig.xml", "<uiConfig><items/><commandBars/></uiConfig>");
  AddCorelToolbar(path);
  const std::string added = TempDir::Read(path);
  EXPECT_EQ(added.find("<itemData"), std::string::npos);
  EXPECT_NE(added.find("<commandBarData"), std::string::npos);
}

TEST(CorelToolbar, UnreadableOrUnchangedFilesAreNotWritten) {
  TempDir dir;
  const std::string missing = (dir.Path() / "DRAWUIConfig.xml").string();
  AddCorelToolbar(missing);
  RemoveCorelToolbar(missing);
  EXPECT_FALSE(std::filesystem::exists(missing));

  const std::string other = dir.Write("other.xml", "<config/>");
  AddCorelToolbar(other);
  RemoveCorelToolbar(other);
  EXPECT_EQ(TempDir::Read(other), "<config/>");
}

TEST(CorelRegistry, EachVersionFoundIsEdited) {
  TempDir dir;
  const std::string sep = PATH_SEPARATOR;
  std::filesystem::create_directories(dir.Path() / "X5" / "_default");
  const std::string folder = (dir.Path() / "X5" / "_default").string();
  dir.Write("X5/_default/DRAWUIConfig.xml", COMPACT);
  CMapRegistry registry;
  // The value ends in a four-character extension, which is dropped.
  registry.WriteString("Software\\Corel\\CorelDRAW\\15.0\\Draw", "LastWorkspaceUsed", folder + ".xml");
  // Values too short to lose four characters are skipped.
  registry.WriteString("Software\\Corel\\CorelDRAW\\12.0\\CorelDRAW", "LastWorkspaceUsed", "abc");
  registry.values["Software\\Corel\\CorelDRAW\\13.0\\CorelDRAW"]["LastWorkspaceUsed"] = "";
  RegisterCorelWorkspace(true, registry, dir.Path().string() + sep);
  EXPECT_EQ(TempDir::Read(folder + sep + "DRAWUIConfig.xml"), COMPACT_ADDED);
  RegisterCorelWorkspace(false, registry, dir.Path().string() + sep);
  EXPECT_EQ(TempDir::Read(folder + sep + "DRAWUIConfig.xml"), COMPACT_REMOVED);
}

TEST(CorelRegistry, NoKeysNothingHappens) {
  TempDir dir;
  CMapRegistry registry;
  EXPECT_EQ(RegisterCorelWorkspace(true, registry, dir.Path().string()), 0);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

struct Version17 {
  Version17() {
    std::filesystem::create_directories(dir.Path() / "user" / "Workspace");
    std::filesystem::create_directories(dir.Path() / "program");
    workspace = dir.Write("user/Workspace/_default.cdws", "users own workspace");
    backup = (dir.Path() / "user" / "Workspace" / "_default.bak").string();
    program = (dir.Path() / "program").string() + PATH_SEPARATOR;
    // The macro folder's name ends in four characters that are dropped: "GMS" and a separator.
    registry.WriteString("Software\\Corel\\CorelDRAW\\17.0\\Draw\\Application Preferences\\VBA", "LastGMSFolder",
                         (dir.Path() / "user").string() + PATH_SEPARATOR + "GMS" + PATH_SEPARATOR);
  }
  TempDir dir;
  CMapRegistry registry;
  std::string workspace, backup, program;
};

TEST(CorelRegistry, Version17SwapsTheWorkspaceFile) {
  Version17 v;
  v.dir.Write("program/X7.wz", "prepared workspace");
  RegisterCorelWorkspace(true, v.registry, v.program);
  RegisterCorelWorkspace(true, v.registry, v.program);
  EXPECT_EQ(TempDir::Read(v.backup), "users own workspace");
  EXPECT_EQ(TempDir::Read(v.workspace), "prepared workspace");
  RegisterCorelWorkspace(false, v.registry, v.program);
  EXPECT_EQ(TempDir::Read(v.workspace), "users own workspace");
  EXPECT_FALSE(std::filesystem::exists(v.backup));
}

// Without "X7.wz" there is nothing to swap in: the user's workspace stays where it is.
TEST(CorelRegistry, Version17WithoutPreparedFileTouchesNothing) {
  Version17 v;
  RegisterCorelWorkspace(true, v.registry, v.program);
  EXPECT_EQ(TempDir::Read(v.workspace), "users own workspace");
  EXPECT_FALSE(std::filesystem::exists(v.backup));
  RegisterCorelWorkspace(false, v.registry, v.program);
  EXPECT_EQ(TempDir::Read(v.workspace), "users own workspace");
}

// What registering tells its caller, workspace by workspace: "a:CHANGED" and so on.
struct Reports {
  WorkspaceReport Collect() {
    return [this](const std::string& path, const ToolbarEditResult& result) {
      lines.push_back(std::filesystem::path(path).filename().string() + ":" + std::to_string(result.outcome));
    };
  }
  std::vector<std::string> lines;
};

TEST(CorelRegistry, EachWorkspaceIsReported) {
  Version17 v;
  v.dir.Write("program/X7.wz", "prepared workspace");
  std::filesystem::create_directories(v.dir.Path() / "X6");
  const std::string xml = v.dir.Write("X6/DRAWUIConfig.xml", COMPACT);
  v.registry.WriteString("Software\\Corel\\CorelDRAW\\16.0\\Draw", "LastWorkspaceUsed",
                         (v.dir.Path() / "X6").string() + ".xml");
  const std::string changed = std::to_string(TOOLBAR_CHANGED), same = std::to_string(TOOLBAR_UNCHANGED);
  Reports first, second, removed, again;
  RegisterCorelWorkspace(true, v.registry, v.program, first.Collect());
  RegisterCorelWorkspace(true, v.registry, v.program, second.Collect());
  RegisterCorelWorkspace(false, v.registry, v.program, removed.Collect());
  RegisterCorelWorkspace(false, v.registry, v.program, again.Collect());
  using Lines = std::vector<std::string>;
  EXPECT_EQ(first.lines, (Lines{"DRAWUIConfig.xml:" + changed, "_default.cdws:" + changed}));
  EXPECT_EQ(second.lines, (Lines{"DRAWUIConfig.xml:" + same, "_default.cdws:" + same}));
  EXPECT_EQ(removed.lines, (Lines{"DRAWUIConfig.xml:" + changed, "_default.cdws:" + changed}));
  EXPECT_EQ(again.lines, (Lines{"DRAWUIConfig.xml:" + same, "_default.cdws:" + same}));
  EXPECT_EQ(TempDir::Read(v.workspace), "users own workspace");
}

TEST(CorelRegistry, Version17FailuresAreReported) {
  Version17 v;
  Reports missing;
  RegisterCorelWorkspace(true, v.registry, v.program, missing.Collect());
  EXPECT_EQ(missing.lines, std::vector<std::string>{"_default.cdws:" + std::to_string(TOOLBAR_NO_PREPARED_WORKSPACE)});
}

// Adding runs on every start: changes the user made to the swapped workspace since are
// kept, and removing still gives back the workspace from before the first adding.
TEST(CorelRegistry, Version17AddingAgainKeepsChangesToTheSwappedWorkspace) {
  Version17 v;
  v.dir.Write("program/X7.wz", "prepared workspace");
  RegisterCorelWorkspace(true, v.registry, v.program);
  v.dir.Write("user/Workspace/_default.cdws", "prepared workspace, rearranged by the user");
  Reports again;
  RegisterCorelWorkspace(true, v.registry, v.program, again.Collect());
  EXPECT_EQ(TempDir::Read(v.workspace), "prepared workspace, rearranged by the user");
  EXPECT_EQ(again.lines, std::vector<std::string>{"_default.cdws:" + std::to_string(TOOLBAR_UNCHANGED)});
  RegisterCorelWorkspace(false, v.registry, v.program);
  EXPECT_EQ(TempDir::Read(v.workspace), "users own workspace");
}

// The dialog program edits the workspaces at start-up, before its window opens: a workspace
// too large for the memory left is reported, and the others are still edited.
TEST(CorelRegistry, RunningOutOfMemoryOnOneWorkspaceEndsNothing) {
  TempDir dir;
  std::filesystem::create_directories(dir.Path() / "X5");
  std::filesystem::create_directories(dir.Path() / "X6");
  const std::string big = COMPACT + "<!--" + std::string(2 * 1024 * 1024, 'x') + "-->";
  const std::string bigPath = dir.Write("X5/DRAWUIConfig.xml", big);
  const std::string smallPath = dir.Write("X6/DRAWUIConfig.xml", COMPACT);
  CMapRegistry registry;
  registry.WriteString("Software\\Corel\\CorelDRAW\\15.0\\Draw", "LastWorkspaceUsed",
                       (dir.Path() / "X5").string() + ".xml");
  registry.WriteString("Software\\Corel\\CorelDRAW\\16.0\\Draw", "LastWorkspaceUsed",
                       (dir.Path() / "X6").string() + ".xml");
  Reports reports;
  int result = -1;
  {
    CFailingLargeAllocations failing(1024 * 1024);  // the big file's text cannot be held
    result = RegisterCorelWorkspace(true, registry, dir.Path().string(), reports.Collect());
  }
  EXPECT_EQ(result, 0);
  EXPECT_EQ(reports.lines, (std::vector<std::string>{"DRAWUIConfig.xml:" + std::to_string(TOOLBAR_NO_MEMORY),
                                                     "DRAWUIConfig.xml:" + std::to_string(TOOLBAR_CHANGED)}));
  EXPECT_EQ(TempDir::Read(bigPath), big);
  EXPECT_EQ(TempDir::Read(smallPath), COMPACT_ADDED);
}

// A version 17 the toolbar was never added to (installed after the adding, say): removing
// keeps the user's workspace, which has no backup to come back from.
TEST(CorelRegistry, Version17RemovingNeverDeletesTheUsersWorkspace) {
  Version17 v;
  v.dir.Write("program/X7.wz", "prepared workspace");
  Reports removed;
  RegisterCorelWorkspace(false, v.registry, v.program, removed.Collect());
  EXPECT_EQ(TempDir::Read(v.workspace), "users own workspace");
  EXPECT_EQ(removed.lines, std::vector<std::string>{"_default.cdws:" + std::to_string(TOOLBAR_UNCHANGED)});
  // Without a workspace of the user's, the adding leaves no backup; removing then takes
  // out the prepared file it copied.
  std::filesystem::remove(v.workspace);
  RegisterCorelWorkspace(true, v.registry, v.program);
  EXPECT_EQ(TempDir::Read(v.workspace), "prepared workspace");
  RegisterCorelWorkspace(false, v.registry, v.program);
  EXPECT_FALSE(std::filesystem::exists(v.workspace));
  EXPECT_FALSE(std::filesystem::exists(v.backup));
}

TEST(WorkspaceFiles, RenameNeverReplaces) {
  TempDir dir;
  const std::string a = dir.Write("a", "A"), b = dir.Write("b", "B");
  EXPECT_FALSE(RenameFile(a, b));
  EXPECT_EQ(TempDir::Read(b), "B");
  EXPECT_TRUE(RemoveFile(b));
  EXPECT_TRUE(RenameFile(a, b));
  EXPECT_EQ(TempDir::Read(b), "A");
  EXPECT_FALSE(RenameFile(a, b));  // the source is gone
  EXPECT_TRUE(CopyFileOver(b, dir.Write("c", "old")));
  EXPECT_EQ(TempDir::Read((dir.Path() / "c").string()), "A");
}

}  // namespace
