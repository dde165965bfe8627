#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "settings/Presets.h"

namespace {

Preset MakePreset(const std::string& name, const char* offset, const char* overCut, int passes, int force, int speed) {
  Preset p;
  p.name = name;
  p.bladeOffset = offset != nullptr;
  p.bladeOffsetText = offset ? offset : "";
  p.overCut = overCut != nullptr;
  p.overCutText = overCut ? overCut : "";
  p.passes = passes;
  p.tool = ToolSettings{force, speed};
  return p;
}

// A name with a degree sign, quotes and "$(x)" is kept byte for byte through the file and
// the list; off values are written empty and read back off. Caught: a key misspelt or out
// of order, an "off" written as "0" (a force of 0 g), a name trimmed, re-encoded or cut,
// a list line in the wrong words or "1 passes".
TEST(Presets, OddNamesSurviveTheFileAndTheList) {
  const std::vector<Preset> presets = {
      MakePreset("Oracal 651 (45\xC2\xB0)", "0.25", "0.50", 1, 80, 20),
      MakePreset("Flock \"Soft\" $(x) 'q'", nullptr, nullptr, 2, 0, 0),
  };
  TempDir dir;
  const std::string path = PresetsPathBeside((dir.Path() / "Plotgate.ini").string());
  EXPECT_EQ(path, (dir.Path() / "Presets.ini").string());
  WritePresets(path, presets);
  EXPECT_EQ(TempDir::Read(path),
            "[Presets]\r\nCount=2\r\n"
            "[Preset 1]\r\nName=Oracal 651 (45\xC2\xB0)\r\nBladeOffset=0.25\r\nOvercut=0.50\r\nPasses=1\r\n"
            "Force=80\r\nSpeed=20\r\n"
            "[Preset 2]\r\nName=Flock \"Soft\" $(x) 'q'\r\nBladeOffset=\r\nOvercut=\r\nPasses=2\r\nForce=\r\n"
            "Speed=\r\n");

  std::vector<Preset> read;
  std::string reason;
  ASSERT_TRUE(ReadPresets(path, read, reason)) << reason;
  ASSERT_EQ(read.size(), 2u);
  for (size_t i = 0; i < read.size(); ++i) EXPECT_EQ(PresetsText({read[i]}), PresetsText({presets[i]}));
  EXPECT_EQ(PresetLine(read[0]), "Oracal 651 (45\xC2\xB0): offset 0.25 mm, over-cut 0.50 mm, 1 pass, 80 g, 20 cm/s");
  EXPECT_EQ(PresetLine(read[1]), "Flock \"Soft\" $(x) 'q': offset off, over-cut off, 2 passes, force off, speed off");
  EXPECT_EQ(FindPreset(read, "flock \"SOFT\" $(x) 'Q'"), &read[1]);
  EXPECT_EQ(FindPreset(read, "Flock"), nullptr);
}

// Caught: a damaged file taken in part (the presets before the damage listed), a count
// that lies believed, a value the options refuse sent to the cutter, two presets of one
// name, and a missing file created by a mere listing.
TEST(Presets, DamagedFilesAreRefusedWholeAndSayWhere) {
  const std::string one = "[Presets]\nCount=1\n[Preset 1]\nName=A\n";
  const struct {
    std::string bytes;
    const char* reason;
  } rows[] = {
      {"[Presets]\nCount=1\n[Preset 1]\nName=\xFF\n", "not UTF-8 text"},
      {"[Presets]\nCount=2\n[Preset 1]\nName=A\n", "[Presets] Count=2, but there is no [Preset 2]"},
      {one + "[Preset 2]\nName=B\n", "[Presets] Count=1, but there is a [Preset 2]"},
      {"[Preset 1]\nName=A\n", "[Presets] Count=0, but there is a [Preset 1]"},
      {"[Presets]\nCount=51\n", "[Presets] Count=51: \"51\" is not a whole number from 0 to 50"},
      {one + "Force=1200\n", "[Preset 1] Force=1200: takes grams from 1 to 1000, not \"1200\""},
      {one + "Speed=fast\n", "[Preset 1] Speed=fast: takes cm/s from 1 to 100, not \"fast\""},
      {one + "BladeOffset=2.5\n", "[Preset 1] BladeOffset=2.5: \"2.5\" is outside a number of mm from 0.01 to 2"},
      {one + "Passes=7\n", "[Preset 1] Passes=7: \"7\" is not a whole number from 1 to 5"},
      {"[Presets]\nCount=2\n[Preset 1]\nName=Flock\n[Preset 2]\nName=FLOCK\n",
       "[Preset 2] Name=FLOCK: the name of a preset before it, \"Flock\", regardless of case"},
      {"[Presets]\nCount=1\n[Preset 1]\nBladeOffset=0.25\n",
       "[Preset 1] Name=: a preset name has 1 to 40 characters; \"\" has 0"},
  };
  for (const auto& row : rows) {
    std::vector<Preset> presets;
    EXPECT_EQ(ParsePresets(row.bytes, presets), row.reason) << row.bytes;
    EXPECT_TRUE(presets.empty());
  }

  TempDir dir;
  std::vector<Preset> presets{MakePreset("stale", nullptr, nullptr, 1, 0, 0)};
  std::string reason;
  const std::string missing = (dir.Path() / "Presets.ini").string();
  EXPECT_TRUE(ReadPresets(missing, presets, reason));
  EXPECT_TRUE(presets.empty());
  EXPECT_FALSE(std::filesystem::exists(missing));
  // A folder where the file should be cannot be read: the system's reason, no presets.
  EXPECT_FALSE(ReadPresets(dir.Path().string(), presets, reason));
  EXPECT_FALSE(reason.empty());
}

// Caught: a length counted in bytes (forty "é" refused), control characters of either
// range let through, an overlong or surrogate form taken as UTF-8, and a space at an end
// that the file's trimming would lose.
TEST(Presets, NameRules) {
  std::string forty;
  for (int i = 0; i < 40; ++i) forty += "\xC3\xA9";
  EXPECT_EQ(PresetNameProblem(forty), "");
  EXPECT_EQ(PresetNameProblem("Oracal 651 (45\xC2\xB0)"), "");
  EXPECT_EQ(PresetNameProblem(forty + "x"), "a preset name has 1 to 40 characters; \"" + forty + "x\" has 41");
  for (const char* control : {"A\tB", "A\x7F", "A\xC2\x85"})
    EXPECT_EQ(PresetNameProblem(control), "a preset name holds no control characters") << control;
  for (const char* broken : {"\xC0\xAF", "\xED\xA0\x80", "A\xC3"})
    EXPECT_EQ(PresetNameProblem(broken), "a preset name is UTF-8 text; \"" + std::string(broken) + "\" is not");
  EXPECT_EQ(PresetNameProblem(" Flock"), "a preset name neither begins nor ends with a space; \" Flock\" does");
}

}  // namespace
