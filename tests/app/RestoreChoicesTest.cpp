#include <gtest/gtest.h>

#include "PortList.h"
#include "RestoreChoices.h"

namespace {

SavedChoices Saved(int model, int port) {
  SavedChoices saved;
  saved.ModelIndex = model;
  saved.PortIndex = port;
  return saved;
}

const std::vector<SerialDevice> kVcpOnCom7 = {{"\\Device\\Serial0", "COM1"}, {"\\Device\\VCP0", "COM7"}};

TEST(PortList, EntryTextsAndIndices) {
  EXPECT_EQ(PortListText(0), "VORN_USB");
  EXPECT_EQ(PortListText(1), "COM1");
  EXPECT_EQ(PortListText(30), "COM30");
  EXPECT_EQ(PortListText(31), "");
  EXPECT_EQ(PortListText(-1), "");
  EXPECT_EQ(PortListIndex("VORN_USB"), 0);
  EXPECT_EQ(PortListIndex("COM30"), 30);
  EXPECT_EQ(PortListIndex("COM31"), -1);
  EXPECT_EQ(PortListIndex("COM07"), -1);
  EXPECT_EQ(PortListIndex("com7"), -1);
  EXPECT_EQ(PortListIndex(""), -1);
}

TEST(RestoreDevice, FirstRunShowsTheFirstModelOnTheUsbLink) {
  const RestoredDevice r = RestoreDevice(SavedChoices(), kVcpOnCom7);
  EXPECT_EQ(r.ModelIndex, 0);
  EXPECT_EQ(r.Port, "VORN_USB");
  EXPECT_TRUE(r.PortListEnabled);
  EXPECT_FALSE(r.PortChosenForModel);
}

TEST(RestoreDevice, SavedUsbEntryWithAnotherModelTakesThePortFoundForIt) {
  // Model 9 is protocol 2, searched under "\Device\VCP0".
  const RestoredDevice r = RestoreDevice(Saved(9, 0), kVcpOnCom7);
  EXPECT_EQ(r.ModelIndex, 9);
  EXPECT_EQ(r.Port, "COM7");
  EXPECT_TRUE(r.PortListEnabled);
  EXPECT_TRUE(r.PortChosenForModel);
  EXPECT_EQ(RestoreDevice(Saved(9, 0), {}).Port, "COM1");  // nothing found
}

TEST(RestoreDevice, FoundPortsAboveThirtyAreKept) {
  const RestoredDevice r = RestoreDevice(Saved(4, 0), {{"\\Device\\USBSER000", "COM42"}});
  EXPECT_EQ(r.Port, "COM42");
}

TEST(RestoreDevice, SavedComEntryIsShownAsItIs) {
  const RestoredDevice first = RestoreDevice(Saved(0, 5), kVcpOnCom7);
  EXPECT_EQ(first.Port, "COM5");
  EXPECT_TRUE(first.PortListEnabled);
  const RestoredDevice other = RestoreDevice(Saved(3, 30), kVcpOnCom7);
  EXPECT_EQ(other.ModelIndex, 3);
  EXPECT_EQ(other.Port, "COM30");
  EXPECT_FALSE(other.PortListEnabled);  // no automatic choice ran
  EXPECT_FALSE(other.PortChosenForModel);
}

TEST(RestoreDevice, OutOfRangeIndicesFallBackToTheFirstEntries) {
  const RestoredDevice r = RestoreDevice(Saved(11, 31), kVcpOnCom7);
  EXPECT_EQ(r.ModelIndex, 0);
  EXPECT_EQ(r.Port, "VORN_USB");
  EXPECT_EQ(RestoreDevice(Saved(-1, -5), kVcpOnCom7).ModelIndex, 0);
}

}  // namespace
