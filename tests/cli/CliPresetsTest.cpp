// The presets commands on real files in a throw-away folder.
#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempDir.h"

namespace {

const std::string TWO_PRESETS =
    "[Presets]\r\nCount=2\r\n"
    "[Preset 1]\r\nName=Oracal 651 (45\xC2\xB0)\r\nBladeOffset=0.25\r\nOvercut=0.50\r\nPasses=1\r\nForce=80\r\n"
    "Speed=20\r\n"
    "[Preset 2]\r\nName=Flock \"x\" $(x)\r\nBladeOffset=\r\nOvercut=\r\nPasses=2\r\nForce=\r\nSpeed=\r\n";

// Caught: the list read from another folder than the settings file's, a name matched with
// its case, the wrong preset deleted or the rest rewritten, an unknown name or a damaged
// file taken as no presets, and the exit codes of a usage error and of a file failure.
TEST(CliPresets, ListDeleteAndRefusals) {
  TempDir dir;
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  const std::string presets = dir.Write("Presets.ini", TWO_PRESETS);
  const CliRun list({"presets", "--ini", ini});
  EXPECT_EQ(list.code, 0);
  EXPECT_EQ(list.out,
            "Oracal 651 (45\xC2\xB0): offset 0.25 mm, over-cut 0.50 mm, 1 pass, 80 g, 20 cm/s\n"
            "Flock \"x\" $(x): offset off, over-cut off, 2 passes, force off, speed off\n");

  const CliRun unknown({"preset", "delete", "Vinyl", "--ini", ini});
  EXPECT_EQ(unknown.code, 2);
  EXPECT_EQ(unknown.err,
            "plotgate: no preset \"Vinyl\"; the presets are \"Oracal 651 (45\xC2\xB0)\", \"Flock \"x\" $(x)\" "
            "(plotgate presets)\n");

  const CliRun deleted({"preset", "delete", "oracal 651 (45\xC2\xB0)", "--ini", ini});
  EXPECT_EQ(deleted.code, 0);
  EXPECT_EQ(deleted.out, "Deleted the preset \"Oracal 651 (45\xC2\xB0)\".\n");
  EXPECT_EQ(TempDir::Read(presets),
            "[Presets]\r\nCount=1\r\n"
            "[Preset 1]\r\nName=Flock \"x\" $(x)\r\nBladeOffset=\r\nOvercut=\r\nPasses=2\r\nForce=\r\nSpeed=\r\n");

  dir.Write("Presets.ini", "[Presets]\r\nCount=3\r\n");
  const CliRun damaged({"presets", "--ini", ini});
  EXPECT_EQ(damaged.code, 1);
  EXPECT_EQ(damaged.out, "");
  EXPECT_EQ(damaged.err, "plotgate: cannot read " + presets + ": [Presets] Count=3, but there is no [Preset 1]\n");
}

}  // namespace
