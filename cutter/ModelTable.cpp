#include "cutter/ModelTable.h"

#include <cstring>

#include "pipeline/CommandDialect.h"

// clang-format off
const CutterModel ModelTable[MODEL_COUNT] = {
    {"Lark-Series", 0},
    {"Wren-Series", 3},
    {"Heron(V8.8 or before)", 2},
    {"Heron(V8.9 or later)", 4},
    {"Finch-Series", 1},
    {"Robin-Series", 4},
    {"Linnet-Series", 4},
    {"Egret-Series", 4},
    {"Plover", 1},
    {"Tern(V8.8 or before)", 2},
    {"Tern(V8.9 or later)", 4},
};
// clang-format on

int DialectOfProtocol(int protocol) { return protocol == 1 || protocol == 2 ? DialectDmpl : DialectHpgl; }

JobFormat JobFormatOf(int protocol) { return JobFormat{DialectOfProtocol(protocol), true}; }

std::string ForceNotSentText(int model, int grams) {
  if (StringsFor(JobFormatOf(ModelTable[model].ProtocolNumber).dialect).forceKeyword) return "";
  const std::string force = grams > 0 ? "the force (" + std::to_string(grams) + " g)" : "the force";
  return std::string(ModelTable[model].name) + " speaks DM/PL: " + force + " is not sent; set it on the cutter";
}

int FindModel(const char* name) {
  if (!name) return -1;
  for (int i = 0; i < MODEL_COUNT; ++i) {
    if (strcmp(ModelTable[i].name, name) == 0) return i;
  }
  // An index: one or two digits, nothing else.
  const size_t length = strlen(name);
  if (length == 0 || length > 2 || strspn(name, "0123456789") != length) return -1;
  const int index = (name[0] - '0') * (length == 2 ? 10 : 1) + (length == 2 ? name[1] - '0' : 0);
  return index < MODEL_COUNT ? index : -1;
}
