// The remedy for a device the user may not open names a group to join only when joining
// it would let the user open the device and it is not root's group.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "TempDir.h"
#include "cli/PortDiagnosis.h"

namespace {

TEST(PortDiagnosis, PermissionDeniedNamesOnlyAGroupThatHelps) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a file root's ids needs root";
  TempDir dir;
  const std::string device = dir.Write("ttyUSB7", "");
  // The mode and ids a device node would have; the remedy reads only these.
  ASSERT_EQ(chown(device.c_str(), 0, 0), 0);
  ASSERT_EQ(chmod(device.c_str(), 0600), 0);
  const std::string ownerOnly = OpenFailureRemedy(device, EACCES);
  EXPECT_EQ(ownerOnly.find("usermod"), std::string::npos) << ownerOnly;
  EXPECT_EQ(ownerOnly.find("only root may open it; a udev rule can give it to a group of yours: the line "
                           "SUBSYSTEM==\"tty\", KERNEL==\"ttyUSB7\", GROUP=\"dialout\", MODE=\"0660\""),
            0u)
      << ownerOnly;
  // Root's group may read and write it: joining root's group is no remedy.
  ASSERT_EQ(chmod(device.c_str(), 0660), 0);
  const std::string rootGroup = OpenFailureRemedy(device, EACCES);
  EXPECT_EQ(rootGroup.find("usermod"), std::string::npos) << rootGroup;
  EXPECT_EQ(rootGroup.find("only root and the group root may open it;"), 0u) << rootGroup;
  // Another group that may read and write it is the one to join.
  const gid_t other = 20;
  if (chown(device.c_str(), 0, other) != 0) GTEST_SKIP() << "cannot give the file another group";
  const std::string joined = OpenFailureRemedy(device, EACCES);
  EXPECT_NE(joined.find("belongs to the group "), std::string::npos) << joined;
  EXPECT_NE(joined.find("sudo usermod -aG "), std::string::npos) << joined;
  // A group that may only read it is not.
  ASSERT_EQ(chmod(device.c_str(), 0640), 0);
  EXPECT_EQ(OpenFailureRemedy(device, EACCES).find("usermod"), std::string::npos);
}

}  // namespace
