#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "CliRun.h"
#include "TempDir.h"
#include "cli/RememberedChoices.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"

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

// A given model once sent to the first port its rule found (or COM1), whatever port the
// last send used.
TEST(RememberedChoices, GivenModelKeepsTheSavedPortButNotTheUsbEntry) {
  SendChoices choices;
  choices.cutter.model = 4;
  CompleteFromSaved(choices, RememberOptions(), Saved(3, 27, 0, 0, "0.38", "0.85"));
  EXPECT_EQ(choices.cutter.model, 4);
  EXPECT_EQ(choices.port, "COM27");
  SendChoices usb;
  usb.cutter.model = 4;
  CompleteFromSaved(usb, RememberOptions(), Saved(0, 0, 0, 0, "0.38", "0.85"));
  EXPECT_EQ(usb.port, "");
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

TEST(RememberedChoices, RememberedPortWinsOverTheSavedIndexUnlessAPortIsGiven) {
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
  // Once left to the model's rule, which sent to COM1 with nothing behind it.
  EXPECT_EQ(withModel.port, "/dev/ttyUSB0");
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
  // Forgotten, the entry goes with its emptied section: once left as "Port=".
  WriteRememberedPort(ini, "COM3");
  EXPECT_EQ(TempDir::Read(ini.IniPath), "[Device]\r\nType=4\r\nPort=2\r\n");
  ini.IniPath = dir.Write("Plotgate.ini", "[CommandLine]\r\nPort=/dev/pts/3\r\nOther=1\r\n[Device]\r\nType=4\r\n");
  WriteRememberedPort(ini, "COM3");
  EXPECT_EQ(TempDir::Read(ini.IniPath), "[CommandLine]\r\nOther=1\r\n[Device]\r\nType=4\r\n");
}

// The refusals of a send's target, among the devices of a sysfs tree made for the test: a
// model whose rule finds no device once went to COM1, which on Linux is /dev/ttyS0, a
// built-in port that takes the job with nothing behind it; a model only defaulted was sent
// to whatever the first model is.
TEST(CutterTarget, NoModelOrNoDeviceIsRefusedWhereThereIsNoFallback) {
  TempDir sys;
  for (const char* tty : {"ttyS0", "ttyACM0"}) {
    std::filesystem::create_directories(sys.Path() / "class" / tty / "device");
    std::ofstream(sys.Path() / "class" / tty / "type") << 4;
  }
  const std::vector<SerialDevice> devices = ListTtyDevices(sys.Path() / "class", "/dev");
  Remembered remembered;
  remembered.modelSaved = true;
  SendChoices given;
  given.cutter.model = FindModel("Robin-Series");
  const CutterTarget robin = TargetOf(given, given, remembered, devices);
  const bool refuses = UnmatchedPortFallback().empty();
  EXPECT_EQ(robin.port, refuses ? "" : "COM1");
  EXPECT_EQ(robin.refusal, refuses ? "no serial device found for Robin-Series (it looks for a USB serial adapter); "
                                     "give --port /dev/ttyUSB0 (plotgate ports lists them)"
                                   : "");
  given.cutter.model = FindModel("Plover");
  const CutterTarget plover = TargetOf(given, given, remembered, devices);
  EXPECT_EQ(plover.port, "/dev/ttyACM0");
  EXPECT_EQ(plover.refusal, "");
  const CutterTarget none = TargetOf(given, given, remembered, {});
  EXPECT_EQ(none.refusal, refuses ? "no serial device found for Plover (it looks for the cutter's own USB serial "
                                    "port); give --port /dev/ttyACM0 (plotgate ports lists them)"
                                  : "");
  // A given or remembered port is taken as it is.
  SendChoices withPort = given;
  withPort.port = "/dev/pts/4";
  EXPECT_EQ(TargetOf(given, withPort, remembered, {}).port, "/dev/pts/4");
  EXPECT_EQ(TargetOf(given, withPort, remembered, {}).refusal, "");
  // No model given and none remembered: refused whatever the port.
  SendChoices nothing;
  SendChoices defaulted = withPort;
  defaulted.cutter.model = 0;
  EXPECT_EQ(TargetOf(nothing, defaulted, Remembered(), devices).refusal,
            "no cutter model chosen yet: add --model NAME (plotgate models lists them)");
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

TEST(CliSendSettings, NothingIsSavedWhenTheCutterDoesNotAnswer) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  // A first send that fails once left an empty settings file behind.
  const std::string absent = (dir.Path() / "absent.ini").string();
  EXPECT_EQ(
      CliRun({"send", input, "--ini", absent, "--model", "Robin-Series", "--port", (dir.Path() / "none").string()})
          .code,
      1);
  EXPECT_FALSE(std::filesystem::exists(absent));
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

// With nothing chosen and nothing remembered the first model, whose cutters only the
// Windows program reaches, was taken as if chosen.
TEST(CliSendSettings, NoModelChosenOrRememberedIsAUsageError) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string port = (dir.Path() / "none").string();
  for (const char* ini : {"absent.ini", "Plotgate.ini"}) {
    if (std::string(ini) == "Plotgate.ini") dir.Write(ini, "[Offset]\r\nChkBladeOffset=1\r\nBladeOffset=0.5\r\n");
    const std::string path = (dir.Path() / ini).string();
    for (std::vector<std::string> args : {std::vector<std::string>{"send", input}, {"frame", input}, {"check"}}) {
      args.insert(args.end(), {"--ini", path, "--port", port});
      const CliRun run(args);
      EXPECT_EQ(run.code, 2) << args[0] << " " << ini;
      EXPECT_EQ(run.err, "plotgate: no cutter model chosen yet: add --model NAME (plotgate models lists them)\n")
          << args[0] << " " << ini;
      EXPECT_EQ(run.out, "") << args[0];
    }
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path() / "absent.ini"));
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
