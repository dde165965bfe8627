#include <gtest/gtest.h>

#include "cutter/ModelTable.h"
#include "pipeline/CommandDialect.h"

namespace {

TEST(ModelTable, ProtocolFixesTheDialect) {
  // The 8.8-and-before firmwares and the USB-serial models speak DM/PL, the rest HPGL.
  EXPECT_EQ(DialectOfProtocol(ModelTable[2].ProtocolNumber), DialectDmpl);
  EXPECT_EQ(DialectOfProtocol(ModelTable[9].ProtocolNumber), DialectDmpl);
  EXPECT_EQ(DialectOfProtocol(ModelTable[4].ProtocolNumber), DialectDmpl);
  EXPECT_EQ(DialectOfProtocol(ModelTable[8].ProtocolNumber), DialectDmpl);
  EXPECT_EQ(DialectOfProtocol(ModelTable[3].ProtocolNumber), DialectHpgl);
  EXPECT_EQ(DialectOfProtocol(ModelTable[10].ProtocolNumber), DialectHpgl);
  EXPECT_EQ(DialectOfProtocol(ModelTable[0].ProtocolNumber), DialectHpgl);
  EXPECT_EQ(DialectOfProtocol(ModelTable[1].ProtocolNumber), DialectHpgl);
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
