// Puts the toolbar button that runs the cutting macro into CorelDRAW's per-user
// workspaces, and takes it out again. Versions 12 to 16 keep their workspace in
// "DRAWUIConfig.xml", which is edited; for version 17 the workspace file is swapped for a
// prepared one ("X7.wz") shipped beside the program. Every failure is silent unless the caller
// asks for a report.
#pragma once

#include <functional>
#include <string>

class CRegistryReader;

extern const char* const TOOLBAR_GUID;
extern const char* const ITEM_GUID;
extern const char* const CATEGORY_GUID;

// The "DRAWUIConfig.xml" that the hidden "Proview" button of the dialog cleans.
extern const char* const PROVIEW_WORKSPACE_PATH;

// How one edit of a "DRAWUIConfig.xml" (or one swap of the version 17 workspace) went, for
// callers that report it.
enum ToolbarEdit {
  TOOLBAR_CHANGED,                // added (or removed) and written back
  TOOLBAR_UNCHANGED,              // already there (or nothing to remove); the file is untouched
  TOOLBAR_UNREADABLE,             // the file cannot be read, or is empty (error 0)
  TOOLBAR_READ_CHANGED,           // reading changed characters, so saving would not give the rest back: left alone
  TOOLBAR_NOT_WELL_FORMED,        // not well-formed XML, left alone when malformed files are refused
  TOOLBAR_NOT_A_WORKSPACE,        // no "uiConfig" element: not a workspace file
  TOOLBAR_UNWRITABLE,             // changed, but the file cannot be written
  TOOLBAR_NO_PREPARED_WORKSPACE,  // "X7.wz" is missing from the program's folder
  TOOLBAR_NO_MEMORY,              // memory ran out while editing
  TOOLBAR_TOO_LARGE,              // larger than any workspace can be (TEXT_FILE_SIZE_MAX): not even read
};

struct ToolbarEditResult {
  ToolbarEdit outcome;
  int error;  // the system's number of the failed call (text by SystemErrorText); 0 otherwise
};

// Told, for each workspace registering found, its file and how its edit went.
using WorkspaceReport = std::function<void(const std::string& path, const ToolbarEditResult& result)>;

// Finds the workspaces of versions 12 to 17 through `registry` and adds (or removes) the
// toolbar in each, telling `report` (when given) how each went; `programDir` is the
// program's folder with its trailing separator, where "X7.wz" lies. Returns 0 in every
// case: running out of memory never escapes (the dialog program calls this at start-up).
int RegisterCorelWorkspace(bool add, const CRegistryReader& registry, const std::string& programDir,
                           const WorkspaceReport& report = nullptr);

// The edit of AddCorelToolbar (`add`) or RemoveCorelToolbar with its outcome. A file that
// is not well formed is edited as far as it can be parsed when `acceptMalformed`, as the
// dialog's start-up does, and refused otherwise. Running out of memory gives
// TOOLBAR_NO_MEMORY instead of an exception.
ToolbarEditResult EditCorelToolbar(const std::string& path, bool add, bool acceptMalformed);

// Adds the toolbar, its definition and its button to one "DRAWUIConfig.xml", each only
// when it is not there yet; the file is rewritten only when something was added, and never
// when it cannot be read. Returns 0.
int AddCorelToolbar(const std::string& path);

// Removes every copy of the toolbar, its definition and its button from one
// "DRAWUIConfig.xml"; the file is rewritten only when something was removed. Returns 0.
int RemoveCorelToolbar(const std::string& path);
