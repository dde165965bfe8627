// The cutter models of the Device list, in list order: the index is what the settings
// file stores under "Type". Each model stands for one of five cutter protocols, and the
// protocol alone fixes the driver class, the command dialect and how bytes travel.
#pragma once

#include <string>

#include "pipeline/CommandDialect.h"

struct CutterModel {
  const char* name;    // display name in the Device list
  int ProtocolNumber;  // 0..4
};

const int MODEL_COUNT = 11;
extern const CutterModel ModelTable[MODEL_COUNT];

// The command dialect (DialectHpgl or DialectDmpl) that a protocol's driver writes:
// protocols 1 and 2 write DM/PL, the others HPGL.
int DialectOfProtocol(int protocol);

// The job file format of `protocol`, whatever the number: the dialect DialectOfProtocol
// gives, the pair swapped.
JobFormat JobFormatOf(int protocol);

// Why model `model` (an index into the table) is not sent a force of `grams`: "Finch-Series
// speaks DM/PL: the force (80 g) is not sent; set it on the cutter", without "(80 g)" for
// 0 grams; "" when its dialect has a force command.
std::string ForceNotSentText(int model, int grams);

// Index of the model named exactly `name` (as in the Device list) or given by its index
// "0".."10"; -1 when there is no such model.
int FindModel(const char* name);
