// An SVG picture as the tests read it: parsed with the project's own XML document, with
// its elements found by name or by id.
#pragma once

#include <string>
#include <vector>

#include "xml/XmlDocument.h"

class CSvgPicture {
 public:
  explicit CSvgPicture(const std::string& text) : m_doc(text.c_str()) {}

  bool IsWellFormed() const { return m_doc.IsWellFormed(); }

  // The live elements named `name`, in the order of the text.
  std::vector<int> Elements(const char* name) const {
    std::vector<int> found;
    for (int i = 1; i < m_doc.RecordCount(); ++i)
      if (m_doc.ElementName(i) == name) found.push_back(i);
    return found;
  }
  // The element whose id is `id`, or 0.
  int ById(const char* id) const {
    for (int i = 1; i < m_doc.RecordCount(); ++i)
      if (!m_doc.ElementName(i).empty() && m_doc.GetAttribute(i, "id") == id) return i;
    return 0;
  }
  std::string Attribute(int element, const char* name) const { return m_doc.GetAttribute(element, name); }
  std::string Attribute(const char* id, const char* name) const { return m_doc.GetAttribute(ById(id), name); }
  // The text between the element's start and end tags.
  std::string Content(const char* id) const {
    const int element = ById(id);
    if (element == 0) return "";
    const ElementRecord& r = m_doc.Record(element);
    const int startTag = static_cast<int>(r.tagLengths & 0x3FFFFF), endTag = static_cast<int>(r.tagLengths >> 22);
    return m_doc.GetText().substr(r.start + startTag, r.length - startTag - endTag);
  }

 private:
  CXmlDocument m_doc;
};
