#include <gtest/gtest.h>

#include "settings/PortList.h"
#include "settings/RestoreChoices.h"

namespace {

Choices Saved(int model, int port) {
  Choices saved;
  saved.model = model;
  saved.port = PortListText(port);
  return saved;
}

const std::vector<SerialDevice> VCP_ON_COM7 = {{"\\Device\\Serial0", "COM1"}, {"\\Device\\VCP0", "COM7"}};

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
  const RestoredDevice r = RestoreDevice(Choices(), VCP_ON_COM7);
  EXPECT_EQ(r.modelIndex, 0);
  EXPECT_EQ(r.port, "VORN_USB");
  EXPECT_TRUE(r.portListEnabled);
  EXPECT_FALSE(r.portChosenForModel);
}

TEST(RestoreDevice, SavedUsbEntryWithAnotherModelTakesThePortFoundForIt) {
  // Model 9 is protocol 2, searched under "\Device\VCP0".
  const RestoredDevice r = RestoreDevice(Saved(9, 0), VCP_ON_COM7);
  EXPECT_EQ(r.modelIndex, 9);
  EXPECT_EQ(r.port, "COM7");
  EXPECT_TRUE(r.portListEnabled);
  EXPECT_TRUE(r.portChosenForModel);
  EXPECT_EQ(RestoreDevice(Saved(9, 0), {}).port, "COM1");  // nothing found
}

TEST(RestoreDevice, FoundPortsAboveThirtyAreKept) {
  const RestoredDevice r = RestoreDevice(Saved(4, 0), {{"\\Device\\USBSER000", "COM42"}});
  EXPECT_EQ(r.port, "COM42");
}

TEST(RestoreDevice, SavedComEntryIsShownAsItIs) {
  const RestoredDevice first = RestoreDevice(Saved(0, 5), VCP_ON_COM7);
  EXPECT_EQ(first.port, "COM5");
  EXPECT_TRUE(first.portListEnabled);
  const RestoredDevice other = RestoreDevice(Saved(3, 30), VCP_ON_COM7);
  EXPECT_EQ(other.modelIndex, 3);
  EXPECT_EQ(other.port, "COM30");
  EXPECT_FALSE(other.portListEnabled);  // no automatic choice ran
  EXPECT_FALSE(other.portChosenForModel);
}

TEST(RestoreDevice, OutOfRangeIndicesFallBackToTheFirstEntries) {
  const RestoredDevice r = RestoreDevice(Saved(11, 31), VCP_ON_COM7);
  EXPECT_EQ(r.modelIndex, 0);
  EXPECT_EQ(r.port, "VORN_USB");
  EXPECT_EQ(RestoreDevice(Saved(-1, -5), VCP_ON_COM7).modelIndex, 0);
}

}  // namespace
