// plotgate toolbar add|remove FILE... | --registry: puts the toolbar button into (or takes
// it out of) CorelDRAW workspace files, or every workspace the current user's registry
// names. Each file edited gets a line saying what was done; a file that cannot be edited
// is said on stderr with its reason, and the exit code is 1.
#include <cstdio>
#include <memory>

#include "base/ModuleDir.h"
#include "base/SystemError.h"
#include "cli/Commands.h"
#include "corel/CorelWorkspace.h"
#include "corel/RegistryReader.h"

namespace {

// What one edit did, as the line printed for its file; false (with the reason on stderr)
// when the file could not be edited.
bool ReportEdit(const std::string& file, bool add, const ToolbarEditResult& result) {
  const char* done = nullptr;
  std::string why;
  switch (result.outcome) {
    case TOOLBAR_CHANGED: done = add ? "added" : "removed"; break;
    case TOOLBAR_UNCHANGED: done = add ? "already there" : "nothing to remove"; break;
    case TOOLBAR_UNREADABLE: why = result.error ? SystemErrorText(result.error) : "it is empty"; break;
    case TOOLBAR_TOO_LARGE: why = "it is larger than 32 MB, far beyond any workspace"; break;
    case TOOLBAR_READ_CHANGED:
      why = "reading it drops or replaces characters (zero bytes, bytes that do not decode), so it is left as it is";
      break;
    case TOOLBAR_NOT_WELL_FORMED: why = "it is not well-formed XML"; break;
    case TOOLBAR_NOT_A_WORKSPACE: why = "it is not a CorelDRAW workspace (no uiConfig element)"; break;
    case TOOLBAR_UNWRITABLE:
      why = result.error ? "cannot write it: " + SystemErrorText(result.error) : "cannot write it";
      break;
    case TOOLBAR_NO_PREPARED_WORKSPACE:
      why = "X7.wz, the workspace put in its place, is missing beside plotgate";
      break;
    case TOOLBAR_NO_MEMORY: why = "not enough memory to edit it"; break;
  }
  if (done) {
    printf("%s: %s\n", file.c_str(), done);
    return true;
  }
  fprintf(stderr, "plotgate: cannot edit the workspace file %s: %s\n", file.c_str(), why.c_str());
  return false;
}

}  // namespace

void AddToolbarCommand(CLI::App& app, int& exitCode) {
  struct Options {
    std::string action;
    std::vector<std::string> files;
    bool registry = false;
  };
  auto o = std::make_shared<Options>();
  CLI::App* toolbar = app.add_subcommand("toolbar", "Add or remove the CorelDRAW toolbar button");
  toolbar->add_option("ACTION", o->action, "add or remove")->required()->check(CLI::IsMember({"add", "remove"}));
  CLI::Option* files = toolbar->add_option("FILE", o->files, "DRAWUIConfig.xml files to edit");
  CLI::Option* registry =
      toolbar->add_flag("--registry", o->registry, "Every workspace the current user's registry names (Windows)");
  files->excludes(registry);
  toolbar->callback([o, &exitCode] {
    const bool add = o->action == "add";
    if (o->registry) {
      const std::unique_ptr<CRegistryReader> reader = CurrentUserRegistry();
      if (!reader) {
        fprintf(stderr, "plotgate: this system has no registry; name the workspace files instead\n");
        exitCode = 1;
        return;
      }
      int found = 0;
      RegisterCorelWorkspace(add, *reader, GetModuleDir(), [&](const std::string& path, const ToolbarEditResult& r) {
        ++found;
        if (!ReportEdit(path, add, r)) exitCode = 1;
      });
      if (found == 0) printf("No CorelDRAW 12 to 17 workspace is named in the current user's registry.\n");
      return;
    }
    if (o->files.empty()) throw CLI::ValidationError("FILE", "name the DRAWUIConfig.xml files to edit, or --registry");
    for (const std::string& file : o->files) {
      if (!ReportEdit(file, add, EditCorelToolbar(file, add, false))) exitCode = 1;
    }
  });
}
