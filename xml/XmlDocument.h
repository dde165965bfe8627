// An XML document held as one 8-bit text and an index of its elements. Reading goes
// through the index; edits change the text in place and shift the offsets in the index.
// A current position (parent, current element, child) lets callers walk the tree:
//
//   CXmlDocument doc;
//   doc.Load(path);
//   doc.ResetPosition();
//   if (doc.FindElement("uiConfig") && doc.EnterElement() && doc.FindElement("items")) {
//     doc.EnterElement();
//     doc.AddElement("itemData", nullptr, 0);
//     doc.SetAttribute(doc.CurrentElement(), "guid", "...");
//   }
//   doc.Save(path);
//
// Failures are reported by the boolean results (or an empty string); a refused call
// changes nothing. Problems met while reading or parsing go to the result log.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "xml/DocumentFlags.h"
#include "xml/ElementTable.h"

// NodeType of the current node.
const int NodeNone = 0;
const int NodeElement = 1;
const int NodeText = 2;
const int NodeWhitespace = 4;
const int NodeCdata = 8;
const int NodeProcessingInstruction = 16;
const int NodeComment = 32;
const int NodeDocumentType = 64;
const int NodeLoneEndTag = 128;

// Flags of AddElement.
const int AddCdata = 0x1;  // content written as a CDATA section
const int AddNoLineBreaks = 0x2;
const int AddSpacedEmpty = 0x4;    // '<name />' instead of '<name/>'
const int AddStartTagOnly = 0x10;  // '<name>' without end tag; refused with content
const int AddBefore = 0x2000;      // before the current element (no current: first in the parent)
const int AddChild = 0x4000;       // inside the current element, after the child position

class CXmlDocument {
 public:
  CXmlDocument();
  explicit CXmlDocument(const char* text);
  ~CXmlDocument();
  CXmlDocument(const CXmlDocument&) = delete;
  CXmlDocument& operator=(const CXmlDocument&) = delete;

  // Replaces the text (null: empty) and parses it; true when well formed. Refused in file mode.
  bool SetDocument(const char* text);
  // Reads the file into the text and parses it; false when it cannot be read (the
  // document is then empty) or is not well formed. Refused in file mode. DocFlags then
  // hold the file's encoding bits and DocReadChanged when saving would not give it back.
  bool Load(const char* path);
  // Writes the text to the file; false when it cannot be written. Refused in file mode.
  bool Save(const char* path);

  // Moves to the start of the current parent: no current element, child or node.
  void ResetPosition();
  // Moves to the next element named `name` (null or empty: any) among the siblings after
  // the current position; false, and no move, when there is none or the name is malformed.
  bool FindElement(const char* name);
  // Moves to the next node of one of the kinds in `nodeTypes` (Node* bits) within the
  // current parent; elements passed over become the current element. False when none.
  bool FindNode(int nodeTypes);
  // Goes into the current element (its child, if any, becomes current); false without one.
  bool EnterElement();
  // Goes out of the current parent, which becomes current; false at the document level.
  bool LeaveElement();

  // Inserts a new element after the current element or node (or at the end of the
  // parent) and makes it current; see the Add* flags. False when refused.
  bool AddElement(const char* name, const char* content, int flags);
  // AddElement inside the current element after the child position; the new element
  // becomes the child. False without a current element.
  bool AddChildElement(const char* name, const char* content, int flags);

  // Value of the attribute, decoded, or "" when the element has no such attribute.
  std::string GetAttribute(int element, const char* name) const;
  // Adds or replaces the attribute; false when refused.
  bool SetAttribute(int element, const char* name, const char* value);
  // Replaces the content of an element without child elements (or the current node's
  // text when `element` is current and a node is current); false when refused.
  bool SetElementData(int element, const char* content);
  // Deletes the element with everything inside it; gives its previous sibling, or 0 when
  // it was the first child (or cannot be removed).
  int RemoveElement(int element);

  // Saves the position under `name`; RestorePosition goes back to it (false when unknown
  // or when the element it pointed at has been removed).
  void SavePosition(const char* name);
  bool RestorePosition(const char* name);

  const std::string& GetText() const { return m_text; }
  const std::string& GetResultLog() const { return m_resultLog; }
  // The system's number of the failure of the last Load or Save (TEXT_FILE_TOO_LARGE for a
  // file refused by its size); 0 when it succeeded or failed for no system reason.
  int GetFileError() const { return m_nFileError; }
  unsigned GetDocFlags() const { return m_docFlags; }
  void SetDocFlags(unsigned flags) { m_docFlags = flags; }

  int ParentElement() const { return m_parent; }
  int CurrentElement() const { return m_current; }
  int ChildElement() const { return m_child; }
  int GetNodeType() const { return m_nodeType; }
  int NodeOffset() const { return m_nodeOffset; }
  int NodeLength() const { return m_nodeLength; }

  // The index itself, for readers that walk it: records 0 .. RecordCount() - 1, record 0
  // being the root record. Removed records stay in the table flagged ElementFree.
  int RecordCount() const { return m_nextFree; }
  const ElementRecord& Record(int index) const { return (*m_elements)[index]; }
  // Name of a live element ("" for an index that is not one).
  std::string ElementName(int element) const;
  // True when the last parse found a well-formed document.
  bool IsWellFormed() const;

 private:
  struct SavedPosition {
    std::string name;
    int parent, current, child;
  };
  struct Place;
  // The attributes of a start tag or of the current processing instruction:
  // text[from, limit), from just after the name to the closing ">" or "?>".
  struct AttributeSpan {
    int from = 0;
    int limit = 0;
    bool instruction = false;
  };

  bool ParseDocument();
  void CloseUnended(int element, int offset2);
  void SettleMovedElements();

  bool IsLiveElement(int index) const;
  // Every position change goes through here, so that the six members never disagree.
  void SetPosition(int parent, int current, int child, int nodeType, int nodeOffset = 0, int nodeLength = 0);
  // The attribute span of `element`: the current processing instruction when `element`
  // is current and one is current, else the element's start tag. False when it is neither.
  bool FindAttributeSpan(int element, AttributeSpan& span) const;
  bool InFileMode() const { return (m_docFlags & DocFileMode) != 0; }
  int StartTagLength(int element) const;
  int EndTagLength(int element) const;
  int NameLength(int element) const;
  int ContentStart(int element) const;
  int ContentEnd(int element) const;
  void GrowForNextRecord();
  void LinkAfter(int parent, int record, int previous);
  int Unlink(int record);
  void ShiftSubtree(int record, int delta);
  void ShiftIndex(int parent, int editOffset, int delta);
  void ReplaceText(int parent, int offset, int length, const std::string& replacement);
  void ReplaceContent(int element, const std::string& content);
  bool SetNodeData(const char* content);
  Place ChoosePlace(int parent, int current, int flags) const;
  bool InsertElement(int parent, int current, const char* name, const char* content, int flags);
  void FreeSubtree(int element);

  std::string m_text;
  std::string m_resultLog;  // ResultLog
  int m_parent = 0;
  int m_current = 0;
  int m_child = 0;
  int m_nextFree = 0;
  int m_freeHead = 0;
  int m_nodeType = NodeNone;
  int m_nodeOffset = 0;
  int m_nodeLength = 0;
  unsigned m_docFlags = 0;  // DocFlags
  int m_nFileError = 0;
  std::unique_ptr<std::vector<SavedPosition>> m_savedPositions;
  std::unique_ptr<ElementTable> m_elements;  // ElementTable
};
