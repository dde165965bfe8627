// Reading the attributes of a start tag or a processing instruction:
//
//   <a x="1" y='2' z=3 checked>     name, optional "=", value in quotes or bare
#pragma once

struct XmlAttribute {
  int nameOffset = 0;
  int nameLength = 0;
  int valueOffset = 0;  // the value without its quotes
  int valueLength = 0;
  int spanStart = 0;  // the value as written, quotes included; both at the name's end when
  int spanEnd = 0;    // the attribute has no "="
};

// Looks through the attributes in text[from, limit) (from: just after the tag's name;
// limit: the tag's closing ">" or "?>") for the first one named `name`, compared by the
// tag-name rule. Gives true and the attribute, or false and in `insertAt` the end of the
// last attribute (`from` when there is none), where a new attribute belongs.
bool FindAttribute(const char* text, int from, int limit, const char* name, bool foldCase, XmlAttribute& found,
                   int& insertAt);
