// The element index of a document written out as text, in tree order, so that a test
// can compare an edited document's index with the index of a fresh parse of its text.
#pragma once

#include <string>

#include "xml/XmlDocument.h"

inline std::string DumpRecord(const CXmlDocument& doc, int e) {
  const ElementRecord& r = doc.Record(e);
  return doc.ElementName(e) + "@" + std::to_string(r.start) + "+" + std::to_string(r.length) + " tags " +
         std::to_string(StoredStartTagLength(r)) + "/" + std::to_string(StoredEndTagLength(r)) + " level " +
         std::to_string(LevelOf(r)) + " flags " + std::to_string(r.flags & ~ElementLevelMask);
}

// One line per element: name, start, length, tag lengths, level, flags; indented by depth.
// Checks the sibling links on the way (first-child flag, previous fields, last child).
inline std::string DumpIndex(const CXmlDocument& doc, int parent = 0, int depth = 0) {
  std::string out;
  const int first = doc.Record(parent).firstChild;
  int previous = 0;
  for (int e = first; e; e = doc.Record(e).next) {
    const ElementRecord& r = doc.Record(e);
    std::string links;
    if (r.parent != parent) links += " BAD-PARENT";
    if (((r.flags & ElementFirstChild) != 0) != (e == first)) links += " BAD-FIRST-FLAG";
    if (e != first && r.previous != previous) links += " BAD-PREVIOUS";
    if (r.flags & ElementFree) links += " FREE";
    out += std::string(depth * 2, ' ') + DumpRecord(doc, e) + links + "\n";
    out += DumpIndex(doc, e, depth + 1);
    previous = e;
  }
  if (first && doc.Record(first).previous != previous) out += "BAD-LAST-CHILD\n";
  if (parent == 0) out += "root length " + std::to_string(doc.Record(0).length) + "\n";
  return out;
}

// The index of a fresh parse of the document's text.
inline std::string DumpFreshIndex(const CXmlDocument& doc) {
  CXmlDocument fresh;
  fresh.SetDocFlags(doc.GetDocFlags());
  fresh.SetDocument(doc.GetText().c_str());
  return DumpIndex(fresh);
}
