// plotgate toolbar add|remove FILE... | --registry: puts the toolbar button into (or takes
// it out of) CorelDRAW workspace files, or every workspace the current user's registry
// names. Silent on success, like the dialog program.
#include <cstdio>
#include <memory>

#include "Commands.h"
#include "CorelWorkspace.h"
#include "ModuleDir.h"
#include "RegistryReader.h"
#include "XmlDocument.h"

namespace {

// A workspace file that cannot be read is left alone by the edit; say so.
bool Readable(const std::string& path) {
  CXmlDocument doc;
  return doc.Load(path.c_str()) || !doc.GetText().empty();
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
      RegisterCorelWorkspace(add, *reader, GetModuleDir());
      return;
    }
    if (o->files.empty()) throw CLI::ValidationError("FILE", "name the DRAWUIConfig.xml files to edit, or --registry");
    for (const std::string& file : o->files) {
      if (!Readable(file)) {
        fprintf(stderr, "plotgate: cannot read the workspace file %s\n", file.c_str());
        exitCode = 1;
        continue;
      }
      if (add)
        AddCorelToolbar(file);
      else
        RemoveCorelToolbar(file);
    }
  });
}
