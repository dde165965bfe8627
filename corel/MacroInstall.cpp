#include "corel/MacroInstall.h"

#include <cctype>
#include <iterator>

#include "corel/RegistryReader.h"
#include "corel/RegistryWriter.h"
#include "corel/WorkspaceFiles.h"

const char* const PLOTGATE_KEY = "Software\\Meridal\\Plotgate";
const char* const MACRO_PROJECT_FILE = "MeridalVorn.gms";

namespace {

const char* const MERIDAL_KEY = "Software\\Meridal";
const char* const PATH_VALUE = "Path";
// The macro's record of the settings an export under way has changed.
const char* const EXPORT_STATE_VALUE = "ExportState";

// Which registry value, if any, says where a version keeps its per-user files.
enum FolderHint {
  NO_HINT,
  LAST_WORKSPACE,   // "LastWorkspaceUsed": "<draw folder>\Workspace\<name>.<ext>"
  LAST_GMS_FOLDER,  // "LastGMSFolder": the GMS folder itself, "...\GMS\"
};

struct CorelVersion {
  int version;
  std::string suite;       // its folder under "%APPDATA%\Corel"
  const char* drawFolder;  // the folder under it that holds "GMS"
  FolderHint hint;
  const char* hintKey;  // under "Software\Corel\CorelDRAW\<N>.0"
  bool sharesKey;       // a later release under the key of the row before it
};

// Folders of 14 and 18 on are the known ones; 17's value names its folder, and for 12, 13,
// 15 and 16 the GMS folder is taken to lie beside the workspace folder, as it does in 14,
// with a guessed default when the value is missing. 2023 kept the key "24.0" of 2022.
const CorelVersion NAMED_VERSIONS[] = {
    {12, "Graphics12", "User Draw", LAST_WORKSPACE, "CorelDRAW", false},
    {13, "Graphics13", "User Draw", LAST_WORKSPACE, "CorelDRAW", false},
    {14, "CorelDRAW Graphics Suite X4", "User Draw", NO_HINT, nullptr, false},
    {15, "CorelDRAW Graphics Suite X5", "Draw", LAST_WORKSPACE, "Draw", false},
    {16, "CorelDRAW Graphics Suite X6", "Draw", LAST_WORKSPACE, "Draw", false},
    {17, "CorelDRAW Graphics Suite X7", "Draw", LAST_GMS_FOLDER, "Draw\\Application Preferences\\VBA", false},
    {18, "CorelDRAW Graphics Suite X8", "Draw", NO_HINT, nullptr, false},
    {19, "CorelDRAW Graphics Suite 2017", "Draw", NO_HINT, nullptr, false},
    {20, "CorelDRAW Graphics Suite 2018", "Draw", NO_HINT, nullptr, false},
    {21, "CorelDRAW Graphics Suite 2019", "Draw", NO_HINT, nullptr, false},
    {22, "CorelDRAW Graphics Suite 2020", "Draw", NO_HINT, nullptr, false},
    {23, "CorelDRAW Graphics Suite 2021", "Draw", NO_HINT, nullptr, false},
    {24, "CorelDRAW Graphics Suite 2022", "Draw", NO_HINT, nullptr, false},
    {24, "CorelDRAW Graphics Suite 2023", "Draw", NO_HINT, nullptr, true},
};

// From 25 (2024) on, version N keeps its files under the year N + 1999; versions are
// looked for up to LAST_VERSION, so that releases to come are covered.
const int FIRST_YEAR_VERSION = 25;
const int YEAR_OFFSET = 1999;
const int LAST_VERSION = 99;

std::vector<CorelVersion> AllVersions() {
  std::vector<CorelVersion> all(std::begin(NAMED_VERSIONS), std::end(NAMED_VERSIONS));
  for (int version = FIRST_YEAR_VERSION; version <= LAST_VERSION; ++version) {
    all.push_back({version, "CorelDRAW Graphics Suite " + std::to_string(version + YEAR_OFFSET), "Draw", NO_HINT,
                   nullptr, false});
  }
  return all;
}

std::string VersionKey(int version) { return "Software\\Corel\\CorelDRAW\\" + std::to_string(version) + ".0"; }

// "Macro<N>", and for a release that shares its key with the one before, "Macro<N>-<year>".
std::string RecordName(const CorelVersion& v) {
  const std::string name = "Macro" + std::to_string(v.version);
  return v.sharesKey ? name + "-" + v.suite.substr(v.suite.rfind(' ') + 1) : name;
}

// A string value's text, up to its terminating zero; false when it is missing.
bool ReadText(const CRegistryReader& registry, const std::string& key, const std::string& name, std::string& text) {
  std::string data;
  if (!registry.ReadValue(key, name, data)) return false;
  text = data.c_str();
  return true;
}

// Whether `name` is `expected` in any case (ASCII letters).
bool SameNameAnyCase(const std::string& name, const std::string& expected) {
  if (name.size() != expected.size()) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(name[i])) != std::tolower(static_cast<unsigned char>(expected[i]))) {
      return false;
    }
  }
  return true;
}

// The draw folder of a workspace path "<draw folder>\Workspace\<name>", or "" when the
// path does not have that shape.
std::string DrawFolderOfWorkspace(const std::string& workspace) {
  const size_t name = workspace.find_last_of("\\/");
  if (name == std::string::npos || name == 0) return "";
  const size_t parent = workspace.find_last_of("\\/", name - 1);
  if (parent == std::string::npos || parent == 0) return "";
  if (!SameNameAnyCase(workspace.substr(parent + 1, name - parent - 1), "Workspace")) return "";
  return workspace.substr(0, parent);
}

// The GMS folder a version's registry hint gives, or "" when it gives none.
std::string HintedFolder(const CRegistryReader& registry, const CorelVersion& v) {
  if (v.hint == NO_HINT) return "";
  const std::string key = VersionKey(v.version) + "\\" + v.hintKey;
  std::string text;
  if (v.hint == LAST_WORKSPACE) {
    if (!ReadText(registry, key, "LastWorkspaceUsed", text)) return "";
    const std::string draw = DrawFolderOfWorkspace(text);
    return draw.empty() ? "" : draw + PATH_SEPARATOR + "GMS";
  }
  if (!ReadText(registry, key, "LastGMSFolder", text)) return "";
  return text.erase(text.find_last_not_of("\\/") + 1);
}

// Of the folders of releases that share one key, those whose GMS folder exists (both when
// both do); else those whose suite folder exists; else the first, to be made.
std::vector<GmsFolder> ReleasesPresent(const std::vector<GmsFolder>& found) {
  if (found.size() < 2) return found;
  for (int up : {0, 2}) {  // the GMS folder itself, then its suite folder two levels up
    std::vector<GmsFolder> present;
    for (const GmsFolder& gms : found) {
      std::string folder = gms.folder;
      for (int level = 0; level < up; ++level) folder = folder.substr(0, folder.find_last_of("\\/"));
      if (FolderExists(folder)) present.push_back(gms);
    }
    if (!present.empty()) return present;
  }
  return {found.front()};
}

// The macro project beside the program at `programPath`; "" without a program path.
std::string ProjectBeside(const std::string& programPath) {
  const size_t folder = programPath.find_last_of("\\/");
  return folder == std::string::npos ? "" : programPath.substr(0, folder + 1) + MACRO_PROJECT_FILE;
}

// Whether `copy` is one this program put: a file named MACRO_PROJECT_FILE in a folder
// named "GMS" (either in any case) holding the bytes of `project`, the program's own. A
// value may have been changed to name any file, a document of the user's among them.
bool IsOurCopy(const std::string& copy, const std::string& project) {
  const size_t name = copy.find_last_of("\\/");
  if (name == std::string::npos || name == 0 || !SameNameAnyCase(copy.substr(name + 1), MACRO_PROJECT_FILE)) {
    return false;
  }
  const size_t parent = copy.find_last_of("\\/", name - 1);
  const size_t start = parent == std::string::npos ? 0 : parent + 1;
  return SameNameAnyCase(copy.substr(start, name - start), "GMS") && !project.empty() && SameContent(copy, project);
}

// Deletes the recorded copies that are still ours, and the record of each copy that is
// gone or not ours (that file is left as it is). A copy of ours that cannot be deleted
// (CorelDRAW may hold it open) stays recorded for a later attempt.
void RemoveRecordedCopies(const CRegistryReader& registry, CRegistryWriter& writer, const std::string& project) {
  for (const CorelVersion& v : AllVersions()) {
    std::string copy;
    if (!ReadText(registry, PLOTGATE_KEY, RecordName(v), copy)) continue;
    if (!IsOurCopy(copy, project) || RemoveFile(copy) || !FileExists(copy)) {
      writer.DeleteValue(PLOTGATE_KEY, RecordName(v));
    }
  }
}

}  // namespace

std::vector<GmsFolder> FindGmsFolders(const CRegistryReader& registry, const std::string& appData) {
  std::vector<GmsFolder> folders;
  const std::string sep = PATH_SEPARATOR;
  const std::vector<CorelVersion> versions = AllVersions();
  for (size_t row = 0; row < versions.size();) {
    // The rows of one key: one, or several releases that share it.
    size_t end = row + 1;
    while (end < versions.size() && versions[end].sharesKey) ++end;
    std::vector<GmsFolder> found;
    if (registry.KeyExists(VersionKey(versions[row].version))) {
      for (; row < end; ++row) {
        const CorelVersion& v = versions[row];
        std::string folder = HintedFolder(registry, v);
        if (folder.empty() && !appData.empty()) {
          folder = appData + sep + "Corel" + sep + v.suite + sep + v.drawFolder + sep + "GMS";
        }
        if (!folder.empty()) found.push_back({v.version, folder, RecordName(v)});
      }
    }
    row = end;
    const std::vector<GmsFolder> chosen = ReleasesPresent(found);
    folders.insert(folders.end(), chosen.begin(), chosen.end());
  }
  return folders;
}

void InstallMacroProject(const CRegistryReader& registry, CRegistryWriter& writer, const std::string& appData,
                         const std::string& programPath) {
  const std::string source = ProjectBeside(programPath);
  RemoveRecordedCopies(registry, writer, source);
  if (FileExists(source)) {
    for (const GmsFolder& gms : FindGmsFolders(registry, appData)) {
      const std::string copy = gms.folder + PATH_SEPARATOR + MACRO_PROJECT_FILE;
      if (MakeFolders(gms.folder) && CopyFileOver(source, copy)) {
        writer.WriteString(PLOTGATE_KEY, gms.record, copy);
      }
    }
  }
  writer.WriteString(PLOTGATE_KEY, PATH_VALUE, programPath);
}

void UninstallMacroProject(const CRegistryReader& registry, CRegistryWriter& writer, const std::string& programPath) {
  RemoveRecordedCopies(registry, writer, ProjectBeside(programPath));
  writer.DeleteValue(PLOTGATE_KEY, PATH_VALUE);
  writer.DeleteValue(PLOTGATE_KEY, EXPORT_STATE_VALUE);
  if (writer.DeleteKeyIfEmpty(PLOTGATE_KEY)) writer.DeleteKeyIfEmpty(MERIDAL_KEY);
}
