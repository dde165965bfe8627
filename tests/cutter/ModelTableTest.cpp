#include <gtest/gtest.h>

#include "cutter/ModelTable.h"

namespace {

// The Device list in its order, each model with its protocol (what the protocol fixes is
// asserted with the drivers). Catches a model moved in the list, which a saved "Type" index
// then names instead, and a model given another protocol of the same dialect, which a
// dialect per model does not tell apart: "Finch-Series" on protocol 2 would lose its
// USB-serial port and talk at 9600 baud, "Robin-Series" on protocol 0 would be sent through
// the maker's USB library instead of its COM port.
TEST(ModelTable, EachModelStandsForItsProtocol) {
  const struct {
    const char* name;
    int protocol;
  } expected[MODEL_COUNT] = {
      {"Lark-Series", 0},  {"Wren-Series", 3},          {"Heron(V8.8 or before)", 2}, {"Heron(V8.9 or later)", 4},
      {"Finch-Series", 1}, {"Robin-Series", 4},         {"Linnet-Series", 4},         {"Egret-Series", 4},
      {"Plover", 1},       {"Tern(V8.8 or before)", 2}, {"Tern(V8.9 or later)", 4},
  };
  for (int i = 0; i < MODEL_COUNT; ++i) {
    EXPECT_STREQ(ModelTable[i].name, expected[i].name) << i;
    EXPECT_EQ(ModelTable[i].ProtocolNumber, expected[i].protocol) << i;
  }
}

TEST(ModelTable, FindByExactNameOrIndex) {
  EXPECT_EQ(FindModel("Heron(V8.9 or later)"), 3);
  EXPECT_EQ(FindModel("Tern(V8.9 or later)"), 10);
  EXPECT_EQ(FindModel("7"), 7);
  EXPECT_EQ(FindModel("10"), 10);
  EXPECT_EQ(FindModel("11"), -1);
  EXPECT_EQ(FindModel("heron(v8.9 or later)"), -1);
  EXPECT_EQ(FindModel("-1"), -1);
  EXPECT_EQ(FindModel(""), -1);
  EXPECT_EQ(FindModel(nullptr), -1);
}

}  // namespace
