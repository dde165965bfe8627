// The presets commands on real files in a throw-away folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// An option beats the preset, the preset beats the remembered choices, and a remembered
// force or speed the option would refuse is refused naming its entry. The test cut's
// header and its first cut show which won: the remembered blade offset bends the first
// cut, the preset's "off" keeps it straight. Caught: a preset under the remembered
// choices or over an option, a preset's "off" taken as "not given", and a remembered
// "Force=1200" sent or quietly dropped.
TEST(CliPresets, AnOptionBeatsThePresetAndThePresetTheRemembered) {
  TempDir dir;
  const std::string ini = dir.Write("Plotgate.ini",
                                    "[Device]\r\nType=5\r\n[Offset]\r\nChkBladeOffset=1\r\nBladeOffset=0.38\r\n"
                                    "[Tool]\r\nForce=50\r\nSpeed=10\r\n");
  dir.Write("Presets.ini",
            "[Presets]\r\nCount=1\r\n[Preset 1]\r\nName=Flock\r\nBladeOffset=\r\nOvercut=\r\nPasses=1\r\n"
            "Force=80\r\nSpeed=\r\n");
  std::string homing;
  for (int i = 0; i < 15; ++i) homing += "PU0,0;";
  const std::string straight = homing + "PU100,300;PD200,100;";
  const struct {
    std::vector<std::string> options;
    std::string opening;  // the header up to the homing moves and the first cut
  } rows[] = {
      {{}, "IN;SP1;FS50;VS10;" + homing + "PU100,300;PD100,300;"},  // remembered, blade offset on
      {{"--preset", "flock"}, "IN;SP1;FS80;" + straight},
      {{"--preset", "Flock", "--speed", "30", "--no-force"}, "IN;SP1;VS30;" + straight},
      {{"--preset", "Flock", "--blade-offset", "0.38"}, "IN;SP1;FS80;" + homing + "PU100,300;PD100,300;"},
  };
  for (const auto& row : rows) {
    std::vector<std::string> args = {"testcut", "--model", "Robin-Series", "--ini", ini, "--output", "-"};
    args.insert(args.end(), row.options.begin(), row.options.end());
    const CliRun run(args);
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out.substr(0, row.opening.size()), row.opening) << row.options.size();
  }
  dir.Write("Plotgate.ini", "[Device]\r\nType=5\r\n[Tool]\r\nForce=1200\r\n");
  const CliRun refused({"testcut", "--ini", ini, "--output", "-"});
  EXPECT_EQ(refused.code, 2);
  EXPECT_EQ(refused.err,
            "plotgate: the saved force in " + ini +
                " ([Tool] Force): takes grams from 1 to 1000, not \"1200\"; give --force G or --no-force\n");
  EXPECT_EQ(CliRun({"testcut", "--ini", ini, "--output", "-", "--force", "90"}).code, 0);
}

// A name with a degree sign, quotes and "$(x)" is saved, listed and found byte for byte;
// an existing name needs --replace, the 51st preset and a bad name are refused, and none
// of the refusals writes the file. Caught: a name quoted or re-encoded on its way, a
// preset overwritten without --replace, more than 50 kept, and the saved values not the
// remembered ones under the options given.
TEST(CliPresets, SaveReplaceTheMostAndOddNames) {
  TempDir dir;
  const std::string ini = dir.Write("Plotgate.ini", "[Offset]\r\nChkBladeOffset=1\r\nBladeOffset=0.25\r\n");
  const std::string presets = (dir.Path() / "Presets.ini").string();
  const std::string odd = "Oracal 651 (45\xC2\xB0) \"x\" $(x)";
  const CliRun saved({"preset", "save", odd, "--overcut", "0.50", "--force", "80", "--speed", "20", "--ini", ini});
  EXPECT_EQ(saved.code, 0) << saved.err;
  const std::string line = odd + ": offset 0.25 mm, over-cut 0.50 mm, 1 pass, 80 g, 20 cm/s";
  EXPECT_EQ(saved.out, "Saved the preset " + line + "\n");
  EXPECT_EQ(CliRun({"presets", "--ini", ini}).out, line + "\n");
  EXPECT_EQ(
      CliRun({"testcut", "--model", "Robin-Series", "--preset", odd, "--ini", ini, "--output", "-"}).out.substr(0, 17),
      "IN;SP1;FS80;VS20;");

  const std::string before = TempDir::Read(presets);
  const CliRun again({"preset", "save", "ORACAL 651 (45\xC2\xB0) \"X\" $(X)", "--ini", ini});
  EXPECT_EQ(again.code, 2);
  EXPECT_EQ(again.err, "plotgate: a preset named \"" + odd + "\" exists; add --replace to overwrite it\n");
  const CliRun bad({"preset", "save", "tab\there", "--ini", ini});
  EXPECT_EQ(bad.code, 2);
  EXPECT_EQ(bad.err, "plotgate: a preset name holds no control characters\n");
  EXPECT_EQ(TempDir::Read(presets), before);
  const CliRun replaced({"preset", "save", odd, "--no-blade-offset", "--replace", "--ini", ini});
  EXPECT_EQ(replaced.out, "Saved the preset " + odd + ": offset off, over-cut off, 1 pass, force off, speed off\n");

  for (int i = 2; i <= 50; ++i) ASSERT_EQ(CliRun({"preset", "save", "P" + std::to_string(i), "--ini", ini}).code, 0);
  const CliRun most({"preset", "save", "P51", "--ini", ini});
  EXPECT_EQ(most.code, 2);
  EXPECT_EQ(most.err, "plotgate: 50 presets is the most; delete one first\n");
}

}  // namespace
