#include "xml/XmlResult.h"

#include <cstring>

#include "xml/XmlEscape.h"

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

// Offset of the first entry named `name`, or npos. Values are escaped, so every "<" in the
// log starts an entry.
size_t FindEntry(const std::string& log, const char* name) {
  const size_t length = strlen(name);
  for (size_t at = log.find('<'); at != std::string::npos; at = log.find('<', at + 1)) {
    const size_t after = at + 1 + length;
    if (log.compare(at + 1, length, name) == 0 && after < log.size() && (log[after] == ' ' || log[after] == '/'))
      return at;
  }
  return std::string::npos;
}

// Sets the attribute on the entry whose "/>" is at `end`, from `start`: the value of an
// attribute of that name is replaced, else the attribute is added last. Gives the entry's
// new "/>" offset. A quote inside a value is escaped, so ' name="' starts the attribute.
size_t SetAttribute(std::string& log, size_t start, size_t end, const char* name, const std::string& value) {
  const std::string quoted = "\"" + EscapeText(value, EscapeAttribute) + "\"";
  const std::string key = std::string(" ") + name + "=";
  const size_t at = log.find(key + "\"", start);
  if (at < end) {
    const size_t from = at + key.size();
    const size_t length = log.find('"', from + 1) + 1 - from;
    log.replace(from, length, quoted);
    return end - length + quoted.size();
  }
  log.insert(end, key + quoted);
  return end + key.size() + quoted.size();
}

}  // namespace

// The log holds only empty entries written here, so an entry is found and edited as text.
void WriteResultEntry(std::string& log, const char* name, const char* text, int flags, long long number,
                      long long offset2) {
  if (log.size() >= ResultLogLimit) return;
  size_t start = (flags & ResultUpdate) ? FindEntry(log, name) : std::string::npos;
  if (start == std::string::npos) {
    start = log.size();
    log += std::string("<") + name + "/>";
  }
  size_t end = log.find("/>", start);
  if (text) end = SetAttribute(log, start, end, TextAttribute(flags), text);
  if (number != -1) end = SetAttribute(log, start, end, NumberAttribute(flags), std::to_string(number));
  if (offset2 != -1) SetAttribute(log, start, end, "offset2", std::to_string(offset2));
}
