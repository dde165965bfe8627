#include <gtest/gtest.h>

#include "CliRun.h"
#include "TempDir.h"
#include "cli/RememberedChoices.h"
#include "cli/SettingsWarnings.h"

namespace {

SavedChoices Saved(int model, int port, int blade, int overCut, const char* bladeText, const char* overCutText) {
  SavedChoices saved;
  saved.modelIndex = model;
  saved.portIndex = port;
  saved.chkBladeOffset = blade;
  saved.chkOverCut = overCut;
  saved.bladeOffsetText = bladeText;
  saved.overCutText = overCutText;
  return saved;
}

TEST(RememberedChoices, NothingGivenTakesEverythingSaved) {
  SendChoices choices;
  CompleteFromSaved(choices, RememberOptions(), Saved(3, 27, 1, 0, "0.5", "1.0"));
  EXPECT_EQ(choices.cutter.model, 3);
  EXPECT_EQ(choices.port, "COM27");
  EXPECT_TRUE(choices.cutter.offsets.bladeOffset);
  EXPECT_EQ(choices.cutter.offsets.bladeOffsetText, "0.5");
  EXPECT_FALSE(choices.cutter.offsets.overCut);
  EXPECT_EQ(choices.cutter.offsets.overCutText, "1.0");
}

TEST(RememberedChoices, SavedUsbEntryLeavesThePortToTheAutomaticChoice) {
  SendChoices choices;
  CompleteFromSaved(choices, RememberOptions(), Saved(9, 0, 0, 0, "0.38", "0.85"));
  EXPECT_EQ(choices.cutter.model, 9);
  EXPECT_EQ(choices.port, "");
}

TEST(RememberedChoices, GivenModelPicksItsOwnPort) {
  SendChoices choices;
  choices.cutter.model = 4;
  CompleteFromSaved(choices, RememberOptions(), Saved(3, 27, 0, 0, "0.38", "0.85"));
  EXPECT_EQ(choices.cutter.model, 4);
  EXPECT_EQ(choices.port, "");
}

TEST(RememberedChoices, GivenOptionsWinAndUntickingKeepsTheText) {
  SendChoices choices;
  choices.port = "/dev/ttyUSB0";
  choices.cutter.offsets.overCut = true;
  choices.cutter.offsets.overCutText = "2";
  RememberOptions options;
  options.noBladeOffset = true;
  CompleteFromSaved(choices, options, Saved(3, 27, 1, 1, "0.5", "1.0"));
  EXPECT_EQ(choices.port, "/dev/ttyUSB0");
  EXPECT_FALSE(choices.cutter.offsets.bladeOffset);
  EXPECT_EQ(choices.cutter.offsets.bladeOffsetText, "0.5");
  EXPECT_TRUE(choices.cutter.offsets.overCut);
  EXPECT_EQ(choices.cutter.offsets.overCutText, "2");
}

TEST(RememberedChoices, PortIsSavedAsItsListIndex) {
  SendChoices choices;
  choices.cutter.model = 2;
  choices.cutter.offsets = {true, "0.4", false, "0.85"};
  const SavedChoices saved = Saved(0, 7, 0, 0, "0.38", "0.85");
  const SavedChoices com30 = ChoicesToRemember(choices, "COM30", saved);
  EXPECT_EQ(com30.modelIndex, 2);
  EXPECT_EQ(com30.portIndex, 30);
  EXPECT_EQ(com30.chkBladeOffset, 1);
  EXPECT_EQ(com30.chkOverCut, 0);
  EXPECT_EQ(com30.bladeOffsetText, "0.4");
  EXPECT_EQ(com30.overCutText, "0.85");
  EXPECT_EQ(ChoicesToRemember(choices, "VORN_USB", saved).portIndex, 0);
  // Ports the Port list cannot show keep the saved entry.
  EXPECT_EQ(ChoicesToRemember(choices, "COM31", saved).portIndex, 7);
  EXPECT_EQ(ChoicesToRemember(choices, "/dev/pts/3", saved).portIndex, 7);
  EXPECT_EQ(ChoicesToRemember(choices, "\\\\.\\COM3", saved).portIndex, 7);
}

TEST(RememberedChoices, RememberedPortWinsOverTheSavedIndexUnlessModelOrPortIsGiven) {
  SendChoices choices;
  CompleteFromSaved(choices, RememberOptions(), Saved(3, 0, 0, 0, "", ""), "/dev/ttyUSB0");
  EXPECT_EQ(choices.port, "/dev/ttyUSB0");
  SendChoices given;
  given.port = "COM4";
  CompleteFromSaved(given, RememberOptions(), Saved(3, 0, 0, 0, "", ""), "/dev/ttyUSB0");
  EXPECT_EQ(given.port, "COM4");
  SendChoices withModel;
  withModel.cutter.model = 4;
  CompleteFromSaved(withModel, RememberOptions(), Saved(3, 0, 0, 0, "", ""), "/dev/ttyUSB0");
  EXPECT_EQ(withModel.port, "");
}

TEST(RememberedChoices, RememberedPortEntryIsWrittenOnlyWhenItChanges) {
  TempDir dir;
  CIniFile ini;
  ini.IniPath = dir.Write("Plotgate.ini", "[Device]\r\nType=4\r\nPort=2\r\n");
  WriteRememberedPort(ini, "COM3");
  EXPECT_EQ(TempDir::Read(ini.IniPath), "[Device]\r\nType=4\r\nPort=2\r\n");
  WriteRememberedPort(ini, "COM31");
  EXPECT_EQ(ReadRememberedPort(ini), "COM31");
  WriteRememberedPort(ini, "/dev/pts/3");
  EXPECT_EQ(TempDir::Read(ini.IniPath), "[Device]\r\nType=4\r\nPort=2\r\n[CommandLine]\r\nPort=/dev/pts/3\r\n");
  WriteRememberedPort(ini, "COM3");
  EXPECT_EQ(ReadRememberedPort(ini), "");
}

TEST(RememberedChoices, CutOrderIsWrittenOnlyWhenItChangesAndReadBackInRange) {
  TempDir dir;
  CIniFile ini;
  ini.IniPath = dir.Write("Plotgate.ini", "[Device]\r\nType=4\r\n");
  // The defaults leave a file without the section as it is.
  WriteSavedCutOrder(ini, SavedCutOrder());
  EXPECT_EQ(TempDir::Read(ini.IniPath), "[Device]\r\nType=4\r\n");
  SavedCutOrder changed;
  changed.insideFirst = 1;
  changed.passes = 2;
  WriteSavedCutOrder(ini, changed);
  EXPECT_EQ(TempDir::Read(ini.IniPath), "[Device]\r\nType=4\r\n[CutOrder]\r\nInsideFirst=1\r\nPasses=2\r\n");
  dir.Write("Plotgate.ini", "[CutOrder]\r\nInsideFirst=7\r\nPasses=9\r\nChkWeedBorder=1\r\nWeedBorder=2.5\r\n");
  const SavedCutOrder read = ReadSavedCutOrder(ini);
  EXPECT_EQ(read.insideFirst, 1);
  EXPECT_EQ(read.passes, 5);
  // Unticked on the command line, the border keeps its remembered margin.
  CutOrderChoice choice;
  RememberOptions options;
  options.noWeedBorder = true;
  CompleteCutOrder(choice, options, read);
  EXPECT_TRUE(choice.insideFirst);
  EXPECT_FALSE(choice.weedBorder);
  EXPECT_EQ(CutOrderToRemember(choice, read).weedBorderText, "2.5");
}

// A hand-edited settings file is read by the dialog's rules, which drop or replace what they
// cannot use without a word; each such entry gets one warning with its line, why, and what
// is used instead. Faults caught: an entry silently read as something else (a model's name
// for its index, a number out of range, a byte order mark hiding the first header, a key or
// section in the wrong case or place, a repeated entry or section), and warnings about a
// file the programs wrote themselves.
TEST(SettingsWarnings, EachEntryThatCannotBeUsedIsNamedWithWhatIsUsedInstead) {
  const struct {
    const char* file;
    std::vector<std::string> warnings;
  } rows[] = {
      {"[Device]\r\nType=5\r\nPort=3\r\n[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=0\r\nBladeOffset=0.38\r\n"
       "OverCut=0.85\r\n[CommandLine]\r\nPort=/dev/ttyUSB0\r\n[CutOrder]\r\nInsideFirst=1\r\nPasses=2\r\n"
       "ChkWeedBorder=1\r\nWeedBorder=2.5\r\n",
       {}},
      {"[Device]\r\nType=Robin-Series\r\n",
       {"line 2: Type=Robin-Series: not a whole number from 0 to 10 (a model's index: plotgate models lists them); "
        "using 0 (Lark-Series)"}},
      {"[Device]\r\nType=12\r\n",
       {"line 2: Type=12: not a whole number from 0 to 10 (a model's index: plotgate models lists them); using 0 "
        "(Lark-Series)"}},
      {"\xEF\xBB\xBF[Device]\r\nType=5\r\nPort=3\r\n",
       {"line 2: Type=5 is not read: the byte order mark that begins the file hides the header [Device] above it; "
        "save the file without it; using 0 (Lark-Series)",
        "line 3: Port=3 is not read: the byte order mark that begins the file hides the header [Device] above it; "
        "save the file without it; using 0 (VORN_USB)"}},
      {"[CutOrder]\r\nPasses=9\r\nChkWeedBorder=1\r\nWeedBorder=60\r\nBorder=2\r\n",
       {"line 2: Passes=9: not a whole number from 1 to 5 (how often each path is cut); using 5",
        "line 4: WeedBorder=60: \"60\" is outside a number of mm from 0.5 to 50; using 50 mm",
        "line 5: Border=2 is not read: [CutOrder] has no setting Border; it is ignored"}},
      // An unticked border's margin is not used, so it is not checked.
      {"[CutOrder]\nWeedBorder=abc\n", {}},
      {"[Device]\r\nType=5\r\ntype=4\r\nType=3\r\n",
       {"line 3: type=4 is not read: keys are case-sensitive: Type; using 5 (Robin-Series)",
        "line 4: Type=3 is not read: an earlier Type= in [Device] is the one read; using 5 (Robin-Series)"}},
      {"[device]\r\nType=5\r\n[Device\r\nPort=3\r\n[Offset]\r\nPasses=2\r\n",
       {"line 2: Type=5 is not read: section names are case-sensitive: [Device]; using 0 (Lark-Series)",
        "line 4: Port=3 is not read: its section header [Device has no \"]\"; using 0 (VORN_USB)",
        "line 6: Passes=2 is not read: Passes is read from [CutOrder]; using 1"}},
      {"Type=5\r\n[Device]\r\n[Device]\r\nType=4\r\n[Extra]\r\nColour=red\r\n[Offset]\r\nChkBladeOffset=2\r\n"
       "ChkOverCut=yes\r\n",
       {"line 1: Type=5 is not read: it comes before any section header; using 0 (Lark-Series)",
        "line 4: Type=4 is not read: only the first [Device] section is read; using 0 (Lark-Series)",
        "line 6: Colour=red is not read: plotgate reads no section [Extra]; it is ignored",
        "line 8: ChkBladeOffset=2: not a whole number from 0 to 1 (0 unticked, 1 ticked); using 1 (ticked)",
        "line 9: ChkOverCut=yes: not a whole number from 0 to 1 (0 unticked, 1 ticked); using 0 (unticked)"}},
  };
  for (const auto& row : rows) {
    TempDir dir;
    CIniFile ini;
    ini.IniPath = dir.Write("Plotgate.ini", row.file);
    Remembered remembered;
    remembered.saved = ReadSavedChoices(ini);
    remembered.port = ReadRememberedPort(ini);
    remembered.cutOrder = ReadSavedCutOrder(ini);
    EXPECT_EQ(SettingsWarnings(ini.Lines, remembered), row.warnings) << row.file;
  }
  // What the programs write, every entry away from its default, reads without a warning.
  TempDir dir;
  CIniFile ini;
  ini.IniPath = dir.Write("Plotgate.ini", "");
  WriteSavedChoices(ini, Saved(10, 30, 1, 1, "2", "5"));
  WriteRememberedPort(ini, "/dev/ttyACM0");
  SavedCutOrder order;
  order.insideFirst = order.shortestTravel = order.chkWeedBorder = 1;
  order.weedBorderText = "50";
  order.passes = 5;
  WriteSavedCutOrder(ini, order);
  Remembered remembered;
  remembered.saved = ReadSavedChoices(ini);
  remembered.port = ReadRememberedPort(ini);
  remembered.cutOrder = ReadSavedCutOrder(ini);
  EXPECT_EQ(SettingsWarnings(ini.Lines, remembered), std::vector<std::string>()) << TempDir::Read(ini.IniPath);
}

// Each command that reads the settings prints each warning once, on stderr, with the file.
// Fault caught: warnings left unprinted, or printed once for every lookup.
TEST(CliSendSettings, SettingsWarningsArePrintedOnceWithTheFile) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string ini = dir.Write("Plotgate.ini", "[Device]\r\nType=12\r\n[CutOrder]\r\nPasses=9\r\n");
  const CliRun info({"info", input, "--detail", "--ini", ini});
  EXPECT_EQ(info.code, 0);
  EXPECT_EQ(info.err, "plotgate: " + ini +
                          ", line 2: Type=12: not a whole number from 0 to 10 (a model's index: plotgate models lists "
                          "them); using 0 (Lark-Series)\nplotgate: " +
                          ini +
                          ", line 4: Passes=9: not a whole number from 1 to 5 (how often each path is cut); using 5\n");
  // frame reads the file for its target and for the cut order, but says it once.
  const CliRun frame(
      {"frame", input, "--ini", ini, "--model", "Robin-Series", "--port", (dir.Path() / "none").string()});
  EXPECT_EQ(frame.code, 1);
  EXPECT_NE(frame.err.find("Passes=9"), std::string::npos) << frame.err;
  EXPECT_EQ(frame.err.find("Passes=9"), frame.err.rfind("Passes=9")) << frame.err;
}

TEST(CliSendSettings, NothingIsSavedWhenTheCutterDoesNotAnswer) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string ini = dir.Write("Plotgate.ini", "[Device]\r\nType=4\r\n");
  EXPECT_EQ(
      CliRun({"send", input, "--ini", ini, "--model", "Robin-Series", "--port", (dir.Path() / "none").string()}).code,
      1);
  EXPECT_EQ(TempDir::Read(ini), "[Device]\r\nType=4\r\n");
  // Nor on a path the job does not have, which is told before the port is tried.
  const CliRun beyond({"send", input, "--ini", ini, "--model", "Robin-Series", "--port", (dir.Path() / "none").string(),
                       "--from-path", "2"});
  EXPECT_EQ(beyond.code, 2);
  EXPECT_EQ(beyond.err, "plotgate: --from-path 2: the job has 1 path\n");
  EXPECT_EQ(TempDir::Read(ini), "[Device]\r\nType=4\r\n");
}

// A distance the dialog saved that the command line would refuse as an option ("2.5"
// beyond its range, "0,5" read as 0) is refused with its reason before anything is sent or
// saved, whenever its box is ticked, unless an option replaces it.
TEST(CliSendSettings, SavedDistancesTheCommandLineRefusesAreRefusedUpFront) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string port = (dir.Path() / "none").string();
  const std::string saved = "[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=2.5\r\nOverCut=0,5\r\n";
  const std::string ini = dir.Write("Plotgate.ini", saved);
  const CliRun send({"send", input, "--ini", ini, "--model", "Robin-Series", "--port", port});
  EXPECT_EQ(send.code, 2);
  EXPECT_EQ(send.err, "plotgate: the saved blade offset in " + ini +
                          ": \"2.5\" is outside a number of mm from 0.01 to 2; give --blade-offset MM or "
                          "--no-blade-offset\n");
  EXPECT_EQ(TempDir::Read(ini), saved);
  const CliRun info({"info", input, "--detail", "--ini", ini, "--blade-offset", "0.5"});
  EXPECT_EQ(info.code, 2);
  EXPECT_NE(info.err.find("the saved over-cut in " + ini +
                          ": \"0,5\" is not a number of mm from 0.01 to 5; give "
                          "--overcut MM or --no-overcut\n"),
            std::string::npos)
      << info.err;
  EXPECT_EQ(CliRun({"info", input, "--detail", "--ini", ini, "--no-blade-offset", "--overcut", "1"}).code, 0);
  EXPECT_EQ(TempDir::Read(ini), saved);
}

TEST(CliSendSettings, UnusableSettingsFileFailsWithItsName) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string ini = (std::filesystem::path(dir.Write("file", "")) / "Plotgate.ini").string();
  const CliRun run({"send", input, "--ini", ini});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("cannot read the settings: opening " + ini + ": "), std::string::npos) << run.err;
}

TEST(CliSendSettings, ContradictoryOrMultiLineOptionsAreUsageErrors) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string ini = (dir.Path() / "Plotgate.ini").string();
  EXPECT_EQ(CliRun({"send", input, "--ini", ini, "--blade-offset", "0.5", "--no-blade-offset"}).code, 2);
  EXPECT_EQ(CliRun({"send", input, "--ini", ini, "--overcut", "1", "--no-overcut"}).code, 2);
  EXPECT_EQ(CliRun({"send", input, "--ini", ini, "--overcut", "1\r\n[Device]"}).code, 2);
  EXPECT_EQ(CliRun({"send", input, "--ini", ini, "--inside-first", "--no-inside-first"}).code, 2);
  EXPECT_EQ(CliRun({"send", input, "--ini", ini, "--weed-border", "0.4"}).code, 2);
  EXPECT_EQ(CliRun({"send", input, "--ini", ini, "--weed-border", "5mm"}).code, 2);
  EXPECT_EQ(CliRun({"send", input, "--ini", ini, "--passes", "0"}).code, 2);
  EXPECT_FALSE(std::filesystem::exists(ini));
}

}  // namespace
