#include "XmlResult.h"

#include "XmlDocument.h"

namespace {

const char* TextAttribute(int flags) {
  if (flags & ResultType) return "type";
  if (flags & ResultEncoding) return "encoding";
  if (flags & ResultMessage) return "msg";
  return "tagname";
}

const char* NumberAttribute(int flags) {
  if (flags & ResultNumber) return "n";
  if (flags & ResultCount) return "count";
  if (flags & ResultLength) return "length";
  return "offset";
}

}  // namespace

// The log is itself a small XML text, so the entry is written with the document's own
// editing: load the log into a scratch document, add (or find) the entry at the document
// level, set its attributes, and take the text back.
void WriteResultEntry(std::string& log, const char* name, const char* text, int flags, long long number,
                      long long offset2) {
  if (log.size() >= ResultLogLimit) return;
  CXmlDocument scratch(log.c_str());
  const bool found = (flags & ResultUpdate) && scratch.FindElement(name);
  if (!found && !scratch.AddElement(name, nullptr, AddNoLineBreaks)) return;
  const int entry = scratch.CurrentElement();
  if (text) scratch.SetAttribute(entry, TextAttribute(flags), text);
  if (number != -1) scratch.SetAttribute(entry, NumberAttribute(flags), std::to_string(number).c_str());
  if (offset2 != -1) scratch.SetAttribute(entry, "offset2", std::to_string(offset2).c_str());
  log = scratch.GetText();
}
