#include "CorelWorkspace.h"

#include <cstring>

#include "RegistryReader.h"
#include "ToolbarIcon.h"
#include "WorkspaceFiles.h"
#include "XmlDocument.h"

const char* const TOOLBAR_GUID = "cce012b7-e5ab-44d8-a452-db398ff869a7";
const char* const ITEM_GUID = "90c7038a-be16-44b5-8db5-c2745b70be66";
const char* const CATEGORY_GUID = "2cc24a3e-fe24-4708-9a74-9c75406eebcd";
const char* const PROVIEW_WORKSPACE_PATH =
    "C:\\Users\\signshop\\AppData\\Roaming\\Corel\\CorelDRAW Graphics Suite X5\\Draw\\Workspace\\_default\\"
    "DRAWUIConfig.xml";

namespace {

const char* const kToolbarName = "MeridalCut";
const char* const kMacroCommand = "MeridalVorn.Ver001.MeridalCut";

struct RegistryValue {
  const char* key;
  const char* name;
};

// Versions 12 to 16, in this order: the value names the last workspace file used.
const RegistryValue kXmlWorkspaces[] = {
    {"Software\\Corel\\CorelDRAW\\12.0\\CorelDRAW", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\13.0\\CorelDRAW", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\14.0\\CorelDRAW", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\15.0\\Draw", "LastWorkspaceUsed"},
    {"Software\\Corel\\CorelDRAW\\16.0\\Draw", "LastWorkspaceUsed"},
};
// Version 17: the value names its macro folder, beside which the workspace folder lies.
const RegistryValue kSwappedWorkspace = {"Software\\Corel\\CorelDRAW\\17.0\\Draw\\Application Preferences\\VBA",
                                         "LastGMSFolder"};

// The value's text without its last four characters: the data (terminating zero included)
// is cut at its byte count minus five and read as a string. A value too short to lose four
// characters gives false.
bool ReadCutValue(const CRegistryReader& registry, const RegistryValue& value, std::string& text) {
  std::string data;
  if (!registry.ReadValue(value.key, value.name, data) || data.size() < 5) return false;
  data.resize(data.size() - 5);
  text = data.c_str();
  return true;
}

void SwapVersion17Workspace(bool add, const std::string& folder, const std::string& programDir) {
  const std::string workspace = folder + "Workspace" + kPathSeparator + "_default.cdws";
  const std::string backup = folder + "Workspace" + kPathSeparator + "_default.bak";
  const std::string source = programDir + kPathSeparator + "X7.wz";
  if (add) {
    // Fails while a backup exists, so repeated adding keeps the user's own workspace.
    RenameFile(workspace, backup);
    CopyFileOver(source, workspace);
  } else {
    RemoveFile(workspace);
    RenameFile(backup, workspace);
  }
}

// True when the current element's attribute `name` is exactly `value`.
bool AttributeIs(CXmlDocument& doc, const char* name, const char* value) {
  return doc.GetAttribute(doc.CurrentElement(), name) == value;
}

// Whether the current parent has a child `element` whose `attribute` is `value`. The
// position is left as it was.
bool HasChild(CXmlDocument& doc, const char* element, const char* attribute, const char* value) {
  doc.SavePosition("probe");
  bool found = false;
  while (!found && doc.FindElement(element)) found = AttributeIs(doc, attribute, value);
  doc.RestorePosition("probe");
  return found;
}

// Adds an element with no content as the next sibling (or last child) and sets its
// attributes in the order given.
void AddWithAttributes(CXmlDocument& doc, const char* name, std::initializer_list<std::pair<const char*, const char*>> attributes) {
  doc.AddElement(name, nullptr, 0);
  for (const auto& a : attributes) doc.SetAttribute(doc.CurrentElement(), a.first, a.second);
}

// Up to five "dockBar" elements of the current "frame" are examined; the first whose
// position is exactly "float" takes the command bar.
bool AddCommandBar(CXmlDocument& doc) {
  bool floating = false;
  for (int tries = 0; tries < 5 && !floating; ++tries) {
    if (doc.FindElement("dockBar")) floating = AttributeIs(doc, "position", "float");
  }
  if (!floating) return false;
  bool added = false;
  doc.EnterElement();
  if (!doc.FindElement("cmdBarLane")) {
    doc.AddElement("cmdBarLane", nullptr, 0);
    added = true;
  }
  doc.EnterElement();
  if (!HasChild(doc, "commandBar", "guidRef", TOOLBAR_GUID)) {
    AddWithAttributes(doc, "commandBar",
                      {{"guidRef", TOOLBAR_GUID}, {"floatX", "200"}, {"floatY", "200"}, {"visible", "true"}});
    added = true;
  }
  doc.LeaveElement();
  doc.LeaveElement();
  return added;
}

bool AddCommandBarData(CXmlDocument& doc) {
  if (HasChild(doc, "commandBarData", "guid", TOOLBAR_GUID)) return false;
  AddWithAttributes(doc, "commandBarData",
                    {{"guid", TOOLBAR_GUID},
                     {"type", "toolbar"},
                     {"nonLocalizableName", kToolbarName},
                     {"userCaption", kToolbarName},
                     {"userCreated", "true"}});
  doc.EnterElement();
  AddWithAttributes(doc, "container", {{"floatWidth", "32767"}});
  doc.EnterElement();
  AddWithAttributes(doc, "item", {{"guidRef", ITEM_GUID}});
  doc.LeaveElement();
  doc.LeaveElement();
  return true;
}

bool AddItemData(CXmlDocument& doc) {
  if (HasChild(doc, "itemData", "guid", ITEM_GUID)) return false;
  AddWithAttributes(doc, "itemData",
                    {{"guid", ITEM_GUID}, {"dynamicCommand", kMacroCommand}, {"dynamicCategory", CATEGORY_GUID}});
  doc.EnterElement();
  AddWithAttributes(doc, "userSmallBitmap",
                    {{"xmlns:dt", "urn:schemas-microsoft-com:datatypes"}, {"dt:dt", "bin.base64"}});
  doc.SetElementData(doc.CurrentElement(), ToolbarIcon().c_str());
  doc.LeaveElement();
  return true;
}

// Removes every child `element` of the current parent whose `attribute` is `value`.
bool RemoveChildren(CXmlDocument& doc, const char* element, const char* attribute, const char* value) {
  bool removed = false;
  while (doc.FindElement(element)) {
    if (!AttributeIs(doc, attribute, value)) continue;
    doc.RemoveElement(doc.CurrentElement());  // the previous sibling becomes current
    removed = true;
  }
  return removed;
}

// Runs the edit on the loaded file and writes it back when the edit changed something. A
// file that cannot be read is never written.
template <typename Edit>
void EditWorkspace(const std::string& path, Edit&& edit) {
  CXmlDocument doc;
  if (!doc.Load(path.c_str()) && doc.GetText().empty()) return;
  doc.ResetPosition();
  if (edit(doc)) doc.Save(path.c_str());
}

}  // namespace

int RegisterCorelWorkspace(bool add, const CRegistryReader& registry, const std::string& programDir) {
  std::string text;
  for (const RegistryValue& value : kXmlWorkspaces) {
    if (!ReadCutValue(registry, value, text)) continue;
    const std::string path = text + kPathSeparator + "DRAWUIConfig.xml";
    if (add)
      AddCorelToolbar(path);
    else
      RemoveCorelToolbar(path);
  }
  if (ReadCutValue(registry, kSwappedWorkspace, text)) SwapVersion17Workspace(add, text, programDir);
  return 0;
}

int AddCorelToolbar(const std::string& path) {
  EditWorkspace(path, [](CXmlDocument& doc) {
    if (!doc.FindElement("uiConfig")) return false;
    doc.EnterElement();
    bool added = false;
    if (doc.FindElement("frame")) {
      doc.EnterElement();
      added = AddCommandBar(doc);
      doc.LeaveElement();
    }
    if (doc.FindElement("commandBars")) {
      doc.EnterElement();
      added = AddCommandBarData(doc) || added;
      doc.LeaveElement();
    }
    if (doc.FindElement("items")) {
      doc.EnterElement();
      added = AddItemData(doc) || added;
      doc.LeaveElement();
    }
    return added;
  });
  return 0;
}

int RemoveCorelToolbar(const std::string& path) {
  EditWorkspace(path, [](CXmlDocument& doc) {
    if (!doc.FindElement("uiConfig")) return false;
    doc.EnterElement();
    bool removed = false;
    if (doc.FindElement("frame")) {
      doc.EnterElement();
      while (doc.FindElement("dockBar")) {
        if (!AttributeIs(doc, "position", "float")) continue;
        doc.EnterElement();
        if (doc.FindElement("cmdBarLane")) {
          doc.EnterElement();
          removed = RemoveChildren(doc, "commandBar", "guidRef", TOOLBAR_GUID) || removed;
          doc.LeaveElement();
        }
        doc.LeaveElement();
      }
      doc.LeaveElement();
    }
    if (doc.FindElement("commandBars")) {
      doc.EnterElement();
      removed = RemoveChildren(doc, "commandBarData", "guid", TOOLBAR_GUID) || removed;
      doc.LeaveElement();
    }
    if (doc.FindElement("items")) {
      doc.EnterElement();
      removed = RemoveChildren(doc, "itemData", "guid", ITEM_GUID) || removed;
      doc.LeaveElement();
    }
    return removed;
  });
  return 0;
}
