#include "corel/CorelWorkspace.h"

#include <cstring>
#include <new>

#include "base/SystemError.h"
#include "corel/RegistryReader.h"
#include "corel/ToolbarIcon.h"
#include "corel/WorkspaceFiles.h"
#include "xml/TextFile.h"
#include "xml/XmlDocument.h"

const char* const TOOLBAR_GUID = "cce012b7-e5ab-44d8-a452-db398ff869a7";
const char* const ITEM_GUID = "90c7038a-be16-44b5-8db5-c2745b70be66";
const char* const CATEGORY_GUID = "2cc24a3e-fe24-4708-9a74-9c75406eebcd";
const char* const PROVIEW_WORKSPACE_PATH =
    "C:\\Users\\signshop\\AppData\\Roaming\\Corel\\CorelDRAW Graphics Suite X5\\Draw\\Workspace\\_default\\"
    "DRAWUIConfig.xml";

namespace {

const char* const TOOLBAR_NAME = "MeridalCut";
const char* const MACRO_COMMAND = "MeridalVorn.Ver001.MeridalCut";

struct RegistryValue {
  const char* key;
  const char* name;
};

// Versions 12 to 16, in this order: the value names the last workspace file used.
const RegistryValue XML_WORKSPACES[] = {
    {"Software\\Corel\\CorelDRAW\\12.0\\CorelDRAW", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\13.0\\CorelDRAW", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\14.0\\CorelDRAW", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\15.0\\Draw", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\16.0\\Draw", "LastWorkspaceUsed"},
};
// Version 17: the value names its macro folder, beside which the workspace folder lies.
const RegistryValue SWAPPED_WORKSPACE = {"Software\\Corel\\CorelDRAW\\17.0\\Draw\\Application Preferences\\VBA",
                                         "LastGMSFolder"};

// The value's text without its last four characters (the extension of a workspace file,
// the "GMS\" of a macro folder), read as a string. The data is UTF-8 with its terminating
// zero; a character is one lead byte and its continuation bytes. A value too short to
// lose four characters gives false.
bool ReadCutValue(const CRegistryReader& registry, const RegistryValue& value, std::string& text) {
  std::string data;
  if (!registry.ReadValue(value.key, value.name, data) || data.empty()) return false;
  size_t end = data.size() - 1;  // the terminating zero
  for (int dropped = 0; dropped < 4; ++dropped) {
    if (end == 0) return false;
    do --end;
    while (end > 0 && (static_cast<unsigned char>(data[end]) & 0xC0) == 0x80);
  }
  data.resize(end);
  text = data.c_str();
  return true;
}

// Swaps the version 17 workspace for the prepared one, keeping the user's own as the
// backup, or puts the backup back. Adding copies the prepared file only where nothing is
// lost: after the user's workspace became the backup, or where there is no workspace. So
// a swapped workspace the user has changed since (adding runs on every start) is kept, and
// without "X7.wz" nothing is touched. Removing deletes the workspace only when a backup
// takes its place or when it is the prepared file itself, so a workspace the adding never
// touched (a version installed after the toolbar was added) is never lost.
ToolbarEditResult SwapVersion17Workspace(bool add, const std::string& folder, const std::string& programDir) {
  const std::string workspace = folder + "Workspace" + PATH_SEPARATOR + "_default.cdws";
  const std::string backup = folder + "Workspace" + PATH_SEPARATOR + "_default.bak";
  const std::string source = programDir + PATH_SEPARATOR + "X7.wz";
  if (add) {
    if (!FileExists(source)) return {TOOLBAR_NO_PREPARED_WORKSPACE, 0};
    const bool ownWorkspace = FileExists(workspace);
    // Fails while a backup exists: the workspace is the prepared one then, perhaps with the
    // user's changes since, and stays as it is.
    if (ownWorkspace && !RenameFile(workspace, backup)) {
      const int error = LastSystemError();
      return FileExists(backup) ? ToolbarEditResult{TOOLBAR_UNCHANGED, 0}
                                : ToolbarEditResult{TOOLBAR_UNWRITABLE, error};
    }
    if (!CopyFileOver(source, workspace)) {
      const int error = LastSystemError();
      if (ownWorkspace) RenameFile(backup, workspace);  // the user's own comes back
      return {TOOLBAR_UNWRITABLE, error};
    }
    return {TOOLBAR_CHANGED, 0};
  }
  if (FileExists(backup)) {
    RemoveFile(workspace);
    return RenameFile(backup, workspace) ? ToolbarEditResult{TOOLBAR_CHANGED, 0}
                                         : ToolbarEditResult{TOOLBAR_UNWRITABLE, LastSystemError()};
  }
  if (!SameContent(source, workspace)) return {TOOLBAR_UNCHANGED, 0};
  return RemoveFile(workspace) ? ToolbarEditResult{TOOLBAR_CHANGED, 0}
                               : ToolbarEditResult{TOOLBAR_UNWRITABLE, LastSystemError()};
}

// Inside the current element for as long as it lives: entering on construction and
// leaving on destruction, so every way out of a block leaves what the block entered and an
// edit can never go on in the wrong subtree.
class CInsideElement {
 public:
  explicit CInsideElement(CXmlDocument& doc) : m_doc(doc), m_bEntered(doc.EnterElement()) {}
  ~CInsideElement() {
    if (m_bEntered) m_doc.LeaveElement();
  }
  CInsideElement(const CInsideElement&) = delete;
  CInsideElement& operator=(const CInsideElement&) = delete;

 private:
  CXmlDocument& m_doc;
  bool m_bEntered;
};

// A child that marks the toolbar: the element and the attribute that holds its guid.
struct MarkedChild {
  const char* element;
  const char* attribute;
  const char* value;
};

const MarkedChild COMMAND_BAR = {"commandBar", "guidRef", TOOLBAR_GUID};
const MarkedChild COMMAND_BAR_DATA = {"commandBarData", "guid", TOOLBAR_GUID};
const MarkedChild ITEM_DATA = {"itemData", "guid", ITEM_GUID};

// True when the current element's attribute `name` is exactly `value`.
bool AttributeIs(CXmlDocument& doc, const char* name, const char* value) {
  return doc.GetAttribute(doc.CurrentElement(), name) == value;
}

bool IsMarked(CXmlDocument& doc, const MarkedChild& child) { return AttributeIs(doc, child.attribute, child.value); }

// Whether the current parent has the marked child. The position is left as it was.
bool HasChild(CXmlDocument& doc, const MarkedChild& child) {
  doc.SavePosition("probe");
  bool found = false;
  while (!found && doc.FindElement(child.element)) found = IsMarked(doc, child);
  doc.RestorePosition("probe");
  return found;
}

// Removes every copy of the marked child from the current parent.
bool RemoveChildren(CXmlDocument& doc, const MarkedChild& child) {
  bool removed = false;
  while (doc.FindElement(child.element)) {
    if (!IsMarked(doc, child)) continue;
    doc.RemoveElement(doc.CurrentElement());  // the previous sibling becomes current
    removed = true;
  }
  return removed;
}

// Adds an element with no content as the next sibling (or last child) and sets its
// attributes in the order given.
void AddWithAttributes(CXmlDocument& doc, const char* name,
                       std::initializer_list<std::pair<const char*, const char*>> attributes) {
  doc.AddElement(name, nullptr, 0);
  for (const auto& a : attributes) doc.SetAttribute(doc.CurrentElement(), a.first, a.second);
}

// Inside "frame": up to five "dockBar" elements are examined; the first whose position is
// exactly "float" takes the command bar, in a "cmdBarLane" added when there is none.
bool AddCommandBar(CXmlDocument& doc) {
  bool floating = false;
  for (int tries = 0; tries < 5 && !floating; ++tries) {
    if (doc.FindElement("dockBar")) floating = AttributeIs(doc, "position", "float");
  }
  if (!floating) return false;
  bool added = false;
  CInsideElement dockBar(doc);
  if (!doc.FindElement("cmdBarLane")) {
    doc.AddElement("cmdBarLane", nullptr, 0);
    added = true;
  }
  CInsideElement lane(doc);
  if (HasChild(doc, COMMAND_BAR)) return added;
  AddWithAttributes(doc, COMMAND_BAR.element,
                    {{"guidRef", TOOLBAR_GUID}, {"floatX", "200"}, {"floatY", "200"}, {"visible", "true"}});
  return true;
}

// Inside "frame": the command bar leaves the lane of every floating "dockBar".
bool RemoveCommandBar(CXmlDocument& doc) {
  bool removed = false;
  while (doc.FindElement("dockBar")) {
    if (!AttributeIs(doc, "position", "float")) continue;
    CInsideElement dockBar(doc);
    if (!doc.FindElement("cmdBarLane")) continue;
    CInsideElement lane(doc);
    removed = RemoveChildren(doc, COMMAND_BAR) || removed;
  }
  return removed;
}

// Inside "commandBars": the toolbar's definition, a container holding its one button.
bool AddCommandBarData(CXmlDocument& doc) {
  if (HasChild(doc, COMMAND_BAR_DATA)) return false;
  AddWithAttributes(doc, COMMAND_BAR_DATA.element,
                    {{"guid", TOOLBAR_GUID},
                     {"type", "toolbar"},
                     {"nonLocalizableName", TOOLBAR_NAME},
                     {"userCaption", TOOLBAR_NAME},
                     {"userCreated", "true"}});
  CInsideElement definition(doc);
  AddWithAttributes(doc, "container", {{"floatWidth", "32767"}});
  CInsideElement container(doc);
  AddWithAttributes(doc, "item", {{"guidRef", ITEM_GUID}});
  return true;
}

// Inside "items": the button's command, the macro, with its icon.
bool AddItemData(CXmlDocument& doc) {
  if (HasChild(doc, ITEM_DATA)) return false;
  AddWithAttributes(doc, ITEM_DATA.element,
                    {{"guid", ITEM_GUID}, {"dynamicCommand", MACRO_COMMAND}, {"dynamicCategory", CATEGORY_GUID}});
  CInsideElement item(doc);
  AddWithAttributes(doc, "userSmallBitmap",
                    {{"xmlns:dt", "urn:schemas-microsoft-com:datatypes"}, {"dt:dt", "bin.base64"}});
  doc.SetElementData(doc.CurrentElement(), ToolbarIcon().c_str());
  return true;
}

// The three children of "uiConfig" the toolbar lives in, in document order, with how it is
// added to and removed from each.
struct ToolbarPlace {
  const char* element;
  bool (*add)(CXmlDocument&);
  bool (*remove)(CXmlDocument&);
};

const ToolbarPlace TOOLBAR_PLACES[] = {
    {"frame", AddCommandBar, RemoveCommandBar},
    {"commandBars", AddCommandBarData, [](CXmlDocument& doc) { return RemoveChildren(doc, COMMAND_BAR_DATA); }},
    {"items", AddItemData, [](CXmlDocument& doc) { return RemoveChildren(doc, ITEM_DATA); }},
};

// Adds (or removes) the toolbar in each of its places that the document has; true when
// anything changed.
bool EditToolbarPlaces(CXmlDocument& doc, bool add) {
  if (!doc.FindElement("uiConfig")) return false;
  CInsideElement config(doc);
  bool changed = false;
  for (const ToolbarPlace& place : TOOLBAR_PLACES) {
    if (!doc.FindElement(place.element)) continue;
    CInsideElement inside(doc);
    changed = (add ? place.add(doc) : place.remove(doc)) || changed;
  }
  return changed;
}

ToolbarEditResult EditWorkspaceFile(const std::string& path, bool add, bool acceptMalformed) {
  CXmlDocument doc;
  const bool wellFormed = doc.Load(path.c_str());
  if (doc.GetFileError() == TEXT_FILE_TOO_LARGE) return {TOOLBAR_TOO_LARGE, 0};
  if (!wellFormed && doc.GetText().empty()) return {TOOLBAR_UNREADABLE, doc.GetFileError()};
  // Saving would write back what reading changed, not the user's file.
  if (doc.GetDocFlags() & DocReadChanged) return {TOOLBAR_READ_CHANGED, 0};
  if (!wellFormed && !acceptMalformed) return {TOOLBAR_NOT_WELL_FORMED, 0};
  doc.ResetPosition();
  if (!doc.FindElement("uiConfig")) return {TOOLBAR_NOT_A_WORKSPACE, 0};
  doc.ResetPosition();
  if (!EditToolbarPlaces(doc, add)) return {TOOLBAR_UNCHANGED, 0};
  if (!doc.Save(path.c_str())) return {TOOLBAR_UNWRITABLE, doc.GetFileError()};
  return {TOOLBAR_CHANGED, 0};
}

}  // namespace

// The document of a workspace takes a few times the file's size; a large file in the 32-bit
// program can exhaust its address space, which must not end the program at start-up.
ToolbarEditResult EditCorelToolbar(const std::string& path, bool add, bool acceptMalformed) {
  try {
    return EditWorkspaceFile(path, add, acceptMalformed);
  } catch (const std::bad_alloc&) {
    return {TOOLBAR_NO_MEMORY, 0};
  }
}

int RegisterCorelWorkspace(bool add, const CRegistryReader& registry, const std::string& programDir,
                           const WorkspaceReport& report) {
  try {
    std::string text;
    for (const RegistryValue& value : XML_WORKSPACES) {
      if (!ReadCutValue(registry, value, text)) continue;
      const std::string path = text + PATH_SEPARATOR + "DRAWUIConfig.xml";
      const ToolbarEditResult result = EditCorelToolbar(path, add, true);
      if (report) report(path, result);
    }
    if (ReadCutValue(registry, SWAPPED_WORKSPACE, text)) {
      const ToolbarEditResult result = SwapVersion17Workspace(add, text, programDir);
      if (report) report(text + "Workspace" + PATH_SEPARATOR + "_default.cdws", result);
    }
  } catch (const std::bad_alloc&) {
    // Out of memory outside an edit (for a path or a report): the rest is skipped, as
    // silently as every other failure here.
  }
  return 0;
}

int AddCorelToolbar(const std::string& path) {
  EditCorelToolbar(path, true, true);
  return 0;
}

int RemoveCorelToolbar(const std::string& path) {
  EditCorelToolbar(path, false, true);
  return 0;
}
