#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <vector>

#include "MapRegistry.h"
#include "TempDir.h"
#include "corel/MacroInstall.h"
#include "corel/WorkspaceFiles.h"

namespace {

const std::string COREL = "Software\\Corel\\CorelDRAW\\";
const std::string SEP = PATH_SEPARATOR;

// The parts joined with the platform's separator.
std::string Join(std::initializer_list<std::string> parts) {
  std::string path;
  for (const std::string& part : parts) path += (path.empty() ? "" : SEP) + part;
  return path;
}

// Version -> folder, for comparing whole answers at once.
std::map<int, std::string> Folders(const CMapRegistry& registry, const std::string& appData) {
  std::map<int, std::string> folders;
  for (const GmsFolder& gms : FindGmsFolders(registry, appData)) folders[gms.version] = gms.folder;
  return folders;
}

TEST(GmsFolders, EachVersionWithoutHintsGetsItsDefaultFolder) {
  CMapRegistry registry;
  for (int version = 11; version <= 27; ++version)
    registry.WriteString(COREL + std::to_string(version) + ".0", "x", "");
  const std::string suite = "CorelDRAW Graphics Suite ";
  const std::map<int, std::string> expected = {
      {12, Join({"A", "Corel", "Graphics12", "User Draw", "GMS"})},
      {13, Join({"A", "Corel", "Graphics13", "User Draw", "GMS"})},
      {14, Join({"A", "Corel", suite + "X4", "User Draw", "GMS"})},
      {15, Join({"A", "Corel", suite + "X5", "Draw", "GMS"})},
      {16, Join({"A", "Corel", suite + "X6", "Draw", "GMS"})},
      {17, Join({"A", "Corel", suite + "X7", "Draw", "GMS"})},
      {18, Join({"A", "Corel", suite + "X8", "Draw", "GMS"})},
      {19, Join({"A", "Corel", suite + "2017", "Draw", "GMS"})},
      {20, Join({"A", "Corel", suite + "2018", "Draw", "GMS"})},
      {21, Join({"A", "Corel", suite + "2019", "Draw", "GMS"})},
      {22, Join({"A", "Corel", suite + "2020", "Draw", "GMS"})},
      {23, Join({"A", "Corel", suite + "2021", "Draw", "GMS"})},
      {24, Join({"A", "Corel", suite + "2022", "Draw", "GMS"})},
      {25, Join({"A", "Corel", suite + "2024", "Draw", "GMS"})},
      {26, Join({"A", "Corel", suite + "2025", "Draw", "GMS"})},
      {27, Join({"A", "Corel", suite + "2026", "Draw", "GMS"})},
  };
  EXPECT_EQ(Folders(registry, "A"), expected);
}

TEST(GmsFolders, RegistryHints) {
  const std::string x5 = Join({"D:", "Users", "ann", "X5 Draw"});
  const std::string x5Default = Join({"A", "Corel", "CorelDRAW Graphics Suite X5", "Draw", "GMS"});
  const std::string workspace15 = COREL + "15.0\\Draw";
  const std::string vba17 = COREL + "17.0\\Draw\\Application Preferences\\VBA";
  struct Case {
    const char* name;
    std::string key, value, data;
    int version;
    std::string folder;  // "" when the version is left out
    std::string appData = "A";
  };
  const Case cases[] = {
      {"a workspace names its draw folder", workspace15, "LastWorkspaceUsed", Join({x5, "Workspace", "_default.cdws"}),
       15, Join({x5, "GMS"})},
      {"the folder name in any case", workspace15, "LastWorkspaceUsed", Join({x5, "WORKSPACE", "mine.xml"}), 15,
       Join({x5, "GMS"})},
      {"12 keeps its value under \"CorelDRAW\"", COREL + "12.0\\CorelDRAW", "LastWorkspaceUsed",
       Join({x5, "Workspace", "_default.xml"}), 12, Join({x5, "GMS"})},
      {"a workspace outside a \"Workspace\" folder", workspace15, "LastWorkspaceUsed",
       Join({x5, "Other", "_default.cdws"}), 15, x5Default},
      {"a workspace without folders", workspace15, "LastWorkspaceUsed", "_default.cdws", 15, x5Default},
      {"an empty value", workspace15, "LastWorkspaceUsed", "", 15, x5Default},
      {"the value on the wrong key", COREL + "15.0\\CorelDRAW", "LastWorkspaceUsed",
       Join({x5, "Workspace", "_default.cdws"}), 15, x5Default},
      {"17's macro folder, its separator dropped", vba17, "LastGMSFolder", Join({x5, "GMS"}) + SEP, 17,
       Join({x5, "GMS"})},
      {"17's value missing", vba17, "Other", "", 17,
       Join({"A", "Corel", "CorelDRAW Graphics Suite X7", "Draw", "GMS"})},
      {"17's value only separators", vba17, "LastGMSFolder", SEP + SEP, 17,
       Join({"A", "Corel", "CorelDRAW Graphics Suite X7", "Draw", "GMS"})},
      {"no application data: a hinted version stays", vba17, "LastGMSFolder", Join({x5, "GMS"}) + SEP, 17,
       Join({x5, "GMS"}), ""},
      {"no application data: a version without hint is left out", COREL + "20.0", "x", "", 20, "", ""},
      {"a version out of range", COREL + "100.0", "x", "", 100, ""},
      {"a key that only begins like a version's", COREL + "14.0x", "x", "", 14, ""},
  };
  for (const Case& c : cases) {
    CMapRegistry registry;
    registry.WriteString(c.key, c.value, c.data);
    std::map<int, std::string> expected;
    if (!c.folder.empty()) expected[c.version] = c.folder;
    EXPECT_EQ(Folders(registry, c.appData), expected) << c.name;
  }
}

// A user with versions 14, 17 (whose value names its macro folder) and 20, and a program
// folder holding the macro project.
struct Installation {
  Installation() {
    root = dir.Path().string();
    appData = Join({root, "AppData"});
    program = Join({root, "My Programs", "Plotgate.exe"});
    std::filesystem::create_directories(Join({root, "My Programs"}));
    dir.Write(Join({"My Programs", "MeridalVorn.gms"}), "macro project");
    registry.WriteString(COREL + "14.0\\CorelDRAW", "LastWorkspaceUsed", "x");
    registry.WriteString(COREL + "17.0\\Draw\\Application Preferences\\VBA", "LastGMSFolder",
                         Join({root, "X7", "GMS"}) + SEP);
    registry.WriteString(COREL + "20.0", "x", "");
    copy14 = Join({appData, "Corel", "CorelDRAW Graphics Suite X4", "User Draw", "GMS", "MeridalVorn.gms"});
    copy17 = Join({root, "X7", "GMS", "MeridalVorn.gms"});
    copy20 = Join({appData, "Corel", "CorelDRAW Graphics Suite 2018", "Draw", "GMS", "MeridalVorn.gms"});
  }
  std::string Value(const std::string& name) const {
    std::string data;
    return registry.ReadValue("Software\\Meridal\\Plotgate", name, data) ? data.c_str() : "(none)";
  }
  void Install() { InstallMacroProject(registry, registry, appData, program); }
  void Uninstall() { UninstallMacroProject(registry, registry, program); }

  TempDir dir;
  CMapRegistry registry;
  std::string root, appData, program, copy14, copy17, copy20;
};

TEST(MacroInstall, PutsRecordsAndTakesAway) {
  Installation in;
  // The user's own files: beside a copy, and a project of the same name in 17's default
  // folder, which its value overrides.
  std::filesystem::create_directories(Join({in.root, "X7", "GMS"}));
  const std::string other = in.dir.Write(Join({"X7", "GMS", "Other.gms"}), "users macros");
  const std::string x7Default = Join({"AppData", "Corel", "CorelDRAW Graphics Suite X7", "Draw", "GMS"});
  std::filesystem::create_directories(in.dir.Path() / x7Default);
  const std::string own = in.dir.Write(Join({x7Default, "MeridalVorn.gms"}), "users own copy");

  for (int round = 0; round < 2; ++round) {  // installing again changes nothing
    in.Install();
    for (const std::string& copy : {in.copy14, in.copy17, in.copy20}) EXPECT_EQ(TempDir::Read(copy), "macro project");
    EXPECT_EQ(in.Value("Path"), in.program);
    EXPECT_EQ(in.Value("Macro14"), in.copy14);
    EXPECT_EQ(in.Value("Macro17"), in.copy17);
    EXPECT_EQ(in.Value("Macro20"), in.copy20);
    EXPECT_EQ(in.registry.values["Software\\Meridal\\Plotgate"].size(), 4u);
  }

  // The macro's emptied record of an export goes too, else it keeps the key.
  in.registry.WriteString("Software\\Meridal\\Plotgate", "ExportState", "");
  in.Uninstall();
  for (const std::string& copy : {in.copy14, in.copy17, in.copy20}) EXPECT_FALSE(FileExists(copy)) << copy;
  EXPECT_EQ(TempDir::Read(other), "users macros");
  EXPECT_EQ(TempDir::Read(own), "users own copy");
  EXPECT_FALSE(in.registry.KeyExists("Software\\Meridal"));
  // The folders made for the copies stay.
  EXPECT_TRUE(std::filesystem::is_directory(std::filesystem::path(in.copy20).parent_path()));
}

TEST(MacroInstall, RemovingTouchesOnlyWhatWasRecorded) {
  Installation in;
  in.Install();
  // A version installed later, whose folder holds a project of that name, and a copy the
  // record names but that the user has deleted already.
  in.registry.WriteString(COREL + "21.0", "x", "");
  const std::string later = Join({"AppData", "Corel", "CorelDRAW Graphics Suite 2019", "Draw", "GMS"});
  std::filesystem::create_directories(in.dir.Path() / later);
  const std::string found = in.dir.Write(Join({later, "MeridalVorn.gms"}), "not ours");
  std::filesystem::remove(in.copy14);
  // A value of someone else's keeps the key.
  in.registry.WriteString("Software\\Meridal\\Plotgate", "Other", "kept");

  in.Uninstall();
  EXPECT_EQ(TempDir::Read(found), "not ours");
  EXPECT_FALSE(FileExists(in.copy17));
  EXPECT_FALSE(FileExists(in.copy20));
  const std::map<std::string, std::string> left = {{"Other", std::string("kept", 5)}};
  EXPECT_EQ(in.registry.values["Software\\Meridal\\Plotgate"], left);
}

// A record changed to name another file: only a "MeridalVorn.gms" in a "GMS" folder that
// holds our bytes is deleted; any other file stays, and its record goes.
TEST(MacroInstall, RecordsNamingFilesNotOursDeleteNothing) {
  const struct {
    const char* name;
    std::vector<std::string> file;  // under the test's folder
    const char* bytes;
  } cases[] = {
      {"a document of the user's", {"Documents", "report.docx"}, "macro project"},
      {"our name outside a GMS folder", {"Documents", "MeridalVorn.gms"}, "macro project"},
      {"our name in a GMS folder, other bytes", {"GMS", "MeridalVorn.gms"}, "the user's project"},
      {"our bytes under another name in a GMS folder", {"GMS", "Other.gms"}, "macro project"},
  };
  for (const auto& c : cases) {
    Installation in;
    in.Install();
    std::filesystem::create_directories(in.dir.Path() / c.file[0]);
    const std::string file = in.dir.Write(Join({c.file[0], c.file[1]}), c.bytes);
    in.registry.WriteString("Software\\Meridal\\Plotgate", "Macro14", file);
    in.Uninstall();
    EXPECT_EQ(TempDir::Read(file), c.bytes) << c.name;
    EXPECT_FALSE(in.registry.KeyExists("Software\\Meridal\\Plotgate")) << c.name;
    EXPECT_FALSE(FileExists(in.copy20)) << c.name;
  }
}

TEST(MacroInstall, ReinstallingTakesTheOldCopyFromAMovedFolder) {
  Installation in;
  in.Install();
  in.registry.WriteString(COREL + "17.0\\Draw\\Application Preferences\\VBA", "LastGMSFolder",
                          Join({in.root, "X7 moved", "GMS"}) + SEP);
  in.Install();
  const std::string moved = Join({in.root, "X7 moved", "GMS", "MeridalVorn.gms"});
  EXPECT_FALSE(FileExists(in.copy17));
  EXPECT_EQ(TempDir::Read(moved), "macro project");
  EXPECT_EQ(in.Value("Macro17"), moved);
}

// 2022 and 2023 share the key "24.0": the project goes where either keeps its macros.
TEST(MacroInstall, Version24GoesToThe2022And2023FoldersThatExist) {
  struct Case {
    const char* name;
    std::vector<std::string> made;    // folders under AppData\Corel before the install
    std::vector<std::string> suites;  // the years that get a copy
  };
  const std::string suite = "CorelDRAW Graphics Suite ";
  const Case cases[] = {
      {"neither: 2022's folder is made", {}, {"2022"}},
      {"2023's macro folder", {Join({suite + "2023", "Draw", "GMS"})}, {"2023"}},
      {"both macro folders",
       {Join({suite + "2022", "Draw", "GMS"}), Join({suite + "2023", "Draw", "GMS"})},
       {"2022", "2023"}},
      {"no macro folder yet, but 2023's suite folder", {suite + "2023"}, {"2023"}},
      {"2023's suite folder, 2022's macro folder", {suite + "2023", Join({suite + "2022", "Draw", "GMS"})}, {"2022"}},
  };
  for (const Case& c : cases) {
    Installation in;
    in.registry.WriteString(COREL + "24.0", "x", "");
    for (const std::string& folder : c.made) std::filesystem::create_directories(Join({in.appData, "Corel", folder}));
    in.Install();
    std::map<std::string, std::string> expected = {
        {"Path", in.program}, {"Macro14", in.copy14}, {"Macro17", in.copy17}, {"Macro20", in.copy20}};
    for (const std::string& year : c.suites) {
      const std::string copy = Join({in.appData, "Corel", suite + year, "Draw", "GMS", "MeridalVorn.gms"});
      expected[year == "2022" ? "Macro24" : "Macro24-2023"] = copy;
      EXPECT_EQ(TempDir::Read(copy), "macro project") << c.name;
    }
    std::map<std::string, std::string> recorded;
    for (const auto& [name, data] : in.registry.values["Software\\Meridal\\Plotgate"]) recorded[name] = data.c_str();
    EXPECT_EQ(recorded, expected) << c.name;
    in.Uninstall();
    for (const std::string& year : c.suites) {
      EXPECT_FALSE(FileExists(Join({in.appData, "Corel", suite + year, "Draw", "GMS", "MeridalVorn.gms"}))) << c.name;
    }
    EXPECT_FALSE(in.registry.KeyExists("Software\\Meridal")) << c.name;
  }
}

TEST(MacroInstall, FailedCopiesAreNotRecorded) {
  Installation in;
  // 20's macro folder cannot be made: a file has its name.
  const std::string suite = Join({"AppData", "Corel", "CorelDRAW Graphics Suite 2018", "Draw"});
  std::filesystem::create_directories(in.dir.Path() / suite);
  in.dir.Write(Join({suite, "GMS"}), "a file");
  in.Install();
  EXPECT_EQ(TempDir::Read(in.copy14), "macro project");
  EXPECT_EQ(in.Value("Macro20"), "(none)");

  // Without the project beside the program nothing is copied and no folder is made; the
  // macro is still told where the program is.
  Installation bare;
  std::filesystem::remove(Join({bare.root, "My Programs", "MeridalVorn.gms"}));
  bare.Install();
  EXPECT_FALSE(std::filesystem::exists(bare.appData));
  EXPECT_EQ(bare.registry.values["Software\\Meridal\\Plotgate"].size(), 1u);
  EXPECT_EQ(bare.Value("Path"), bare.program);
}

}  // namespace
