// The result log: a run of empty XML elements, one per event of a load, save or parse,
// for example '<unended_start_tag tagname="b" offset="3" offset2="7"/>'.
#pragma once

#include <string>

// Flags of WriteResultEntry. The text attribute is "type", "encoding" or "msg" (else
// "tagname"); the number attribute "n", "count" or "length" (else "offset").
const int ResultCount = 0x1;
const int ResultType = 0x2;
const int ResultNumber = 0x4;  // "n"
const int ResultEncoding = 0x8;
const int ResultLength = 0x10;
const int ResultUpdate = 0x20;  // set the attributes on the first entry of that name instead of adding one
const int ResultMessage = 0x40;

// Logs longer than this take no further entries.
const size_t ResultLogLimit = 1000;

// Appends the entry `name` to `log` with the text attribute (when `text` is not null),
// the number attribute (when `number` is not -1) and "offset2" (when `offset2` is not -1).
// Does nothing once the log holds ResultLogLimit bytes or more.
void WriteResultEntry(std::string& log, const char* name, const char* text, int flags, long long number,
                      long long offset2 = -1);
