#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <thread>

#include "CliRun.h"
#include "TempDir.h"
#include "cli/RememberedChoices.h"
#include "cli/SettingsWarnings.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "settings/LaserOffset.h"

namespace {

// What a file with these six entries (and the command line's port when not "") is read as.
Remembered Saved(int model, int port, int blade, int overCut, const char* bladeText, const char* overCutText,
                 const char* rememberedPort = "") {
  Remembered remembered;
  remembered.texts = {std::to_string(model),
                      std::to_string(port),
                      std::to_string(blade),
                      std::to_string(overCut),
                      bladeText,
                      overCutText};
  remembered.texts.resize(CHOICE_ROW_COUNT);
  if (*rememberedPort) remembered.texts[6] = rememberedPort;
  remembered.choices = ChoicesFromTexts(remembered.texts);
  return remembered;
}

TEST(RememberedChoices, NothingGivenTakesEverythingSaved) {
  const Choices choices = UsedChoices(Choices(), Saved(3, 27, 1, 0, "0.5", "1.0"));
  EXPECT_EQ(*choices.model, 3);
  EXPECT_EQ(*choices.port, "COM27");
  EXPECT_TRUE(*choices.bladeOffset);
  EXPECT_EQ(*choices.bladeOffsetText, "0.5");
  EXPECT_FALSE(*choices.overCut);
  EXPECT_EQ(*choices.overCutText, "1.0");
}

TEST(RememberedChoices, SavedUsbEntryLeavesThePortToTheAutomaticChoice) {
  const Choices choices = UsedChoices(Choices(), Saved(9, 0, 0, 0, "0.38", "0.85"));
  EXPECT_EQ(*choices.model, 9);
  EXPECT_EQ(choices.port.value_or(""), "");
}

// A given model once sent to the first port its rule found (or COM1), whatever port the
// last send used.
TEST(RememberedChoices, GivenModelKeepsTheSavedPortButNotTheUsbEntry) {
  Choices given;
  given.model = 4;
  const Choices choices = UsedChoices(given, Saved(3, 27, 0, 0, "0.38", "0.85"));
  EXPECT_EQ(*choices.model, 4);
  EXPECT_EQ(*choices.port, "COM27");
  const Choices usb = UsedChoices(given, Saved(0, 0, 0, 0, "0.38", "0.85"));
  EXPECT_EQ(usb.port.value_or(""), "");
}

TEST(RememberedChoices, GivenOptionsWinAndUntickingKeepsTheText) {
  Choices given;
  given.port = "/dev/ttyUSB0";
  given.overCut = true;
  given.overCutText = "2";
  given.bladeOffset = false;
  const Choices choices = UsedChoices(given, Saved(3, 27, 1, 1, "0.5", "1.0"));
  EXPECT_EQ(*choices.port, "/dev/ttyUSB0");
  EXPECT_FALSE(*choices.bladeOffset);
  EXPECT_EQ(*choices.bladeOffsetText, "0.5");
  EXPECT_TRUE(*choices.overCut);
  EXPECT_EQ(*choices.overCutText, "2");
}

TEST(RememberedChoices, RememberedPortWinsOverTheSavedIndexUnlessAPortIsGiven) {
  const Remembered remembered = Saved(3, 0, 0, 0, "", "", "/dev/ttyUSB0");
  EXPECT_EQ(*UsedChoices(Choices(), remembered).port, "/dev/ttyUSB0");
  Choices given;
  given.port = "COM4";
  EXPECT_EQ(*UsedChoices(given, remembered).port, "COM4");
  Choices withModel;
  withModel.model = 4;
  // Once left to the model's rule, which sent to COM1 with nothing behind it.
  EXPECT_EQ(*UsedChoices(withModel, remembered).port, "/dev/ttyUSB0");
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
  remembered.choices.model = 0;
  Choices given;
  given.model = FindModel("Robin-Series");
  const CutterTarget robin = TargetOf(given, given, remembered, devices);
  const bool refuses = UnmatchedPortFallback().empty();
  EXPECT_EQ(robin.port, refuses ? "" : "COM1");
  EXPECT_EQ(robin.refusal, refuses ? "no serial device found for Robin-Series (it looks for a USB serial adapter); "
                                     "give --port /dev/ttyUSB0 (plotgate ports lists them)"
                                   : "");
  given.model = FindModel("Plover");
  const CutterTarget plover = TargetOf(given, given, remembered, devices);
  EXPECT_EQ(plover.port, "/dev/ttyACM0");
  EXPECT_EQ(plover.refusal, "");
  const CutterTarget none = TargetOf(given, given, remembered, {});
  EXPECT_EQ(none.refusal, refuses ? "no serial device found for Plover (it looks for the cutter's own USB serial "
                                    "port); give --port /dev/ttyACM0 (plotgate ports lists them)"
                                  : "");
  // A given or remembered port is taken as it is.
  Choices withPort = given;
  withPort.port = "/dev/pts/4";
  EXPECT_EQ(TargetOf(given, withPort, remembered, {}).port, "/dev/pts/4");
  EXPECT_EQ(TargetOf(given, withPort, remembered, {}).refusal, "");
  // No model given and none remembered: refused whatever the port.
  Choices defaulted = withPort;
  defaulted.model = 0;
  EXPECT_EQ(TargetOf(Choices(), defaulted, Remembered(), devices).refusal,
            "no cutter model chosen yet: add --model NAME (plotgate models lists them)");
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
      // The laser offsets, one key a model: a pair out of range or of another model number
      // is named (an offset silently taken as 0, or a key taken for another).
      {"[Registration]\r\nLaserOffset5=-412,96\r\nLaserOffset10=1,4001\r\nLaserOffset11=1,1\r\n",
       {"line 3: LaserOffset10=1,4001: not two whole numbers DX,DY from -4000 to 4000 (the laser pointer's offset "
        "from the knife, in cutter units); using 0,0",
        "line 4: LaserOffset11=1,1 is not read: [Registration] has no setting LaserOffset11; it is ignored"}},
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
    remembered.texts = ReadChoiceTexts(ini);
    remembered.choices = ChoicesFromTexts(remembered.texts);
    EXPECT_EQ(SettingsWarnings(ini.Lines, remembered), row.warnings) << row.file;
  }
  // What the programs write, every entry away from its default, reads without a warning.
  TempDir dir;
  CIniFile ini;
  ini.IniPath = dir.Write("Plotgate.ini", "");
  Choices away = UsedChoices(Choices(), Saved(10, 30, 1, 1, "2", "5"));
  away.insideFirst = away.shortestTravel = away.weedBorder = true;
  away.weedBorderText = "50";
  away.passes = 5;
  WriteChoices(ini, away);
  // The Port entry stays 30 beside the command line's own.
  away.port = "/dev/ttyACM0";
  WriteChoices(ini, away);
  WriteLaserOffset(ini, MODEL_COUNT - 1, IntPoint{-4000, 4000});
  Remembered remembered;
  remembered.texts = ReadChoiceTexts(ini);
  remembered.choices = ChoicesFromTexts(remembered.texts);
  EXPECT_EQ(SettingsWarnings(ini.Lines, remembered), std::vector<std::string>()) << TempDir::Read(ini.IniPath);
}

// Each command that reads the settings prints each warning once, on stderr, with the file.
// Fault caught: warnings left unprinted, or printed once for every lookup.
TEST(CliSendSettings, SettingsWarningsArePrintedOnceWithTheFile) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string ini = dir.Write("Plotgate.ini", "[Device]\r\nPort=99\r\n[CutOrder]\r\nInsideFirst=7\r\n");
  const CliRun info({"info", input, "--detail", "--ini", ini});
  EXPECT_EQ(info.code, 0);
  EXPECT_EQ(info.err, "plotgate: " + ini +
                          ", line 2: Port=99: not a whole number from 0 to 30 (0 VORN_USB, 1 to 30 COM1 to COM30); "
                          "using 0 (VORN_USB)\nplotgate: " +
                          ini +
                          ", line 4: InsideFirst=7: not a whole number from 0 to 1 (0 unticked, 1 ticked); using "
                          "1 (ticked)\n");
  // frame reads the file for its target and for the cut order, but says it once.
  const CliRun frame(
      {"frame", input, "--ini", ini, "--model", "Robin-Series", "--port", (dir.Path() / "none").string()});
  EXPECT_EQ(frame.code, 1);
  EXPECT_NE(frame.err.find("InsideFirst=7"), std::string::npos) << frame.err;
  EXPECT_EQ(frame.err.find("InsideFirst=7"), frame.err.rfind("InsideFirst=7")) << frame.err;
  // A value the command takes and refuses is told once, as the refusal, not also as a warning.
  dir.Write("Plotgate.ini", "[Device]\r\nType=12\r\n");
  const CliRun refused({"info", input, "--detail", "--ini", ini});
  EXPECT_EQ(refused.code, 2);
  EXPECT_EQ(refused.err.find("using 0"), std::string::npos) << refused.err;
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

// A value the dialog saved (or a hand edited) that the command line would refuse as an
// option is refused with its entry, its text and the reason before anything is sent or
// saved, whenever the command would take it (its box ticked, no option in its place), and
// alike in send, info --detail and frame. Caught: a distance beyond its range ("2.5") or
// read as another ("0,5" as 0) taken unchecked; a weed border "100" or "5,5" cut as 50 or
// 5 mm and reported as given; passes "7" cut as 5; a model index beyond the table taken as
// the first model; a media width or panel overlap out of range taken by the panels.
TEST(CliSendSettings, SavedChoicesTheCommandLineRefusesAreRefusedUpFront) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string port = (dir.Path() / "none").string();
  const std::string send = "send", info = "info --detail", frame = "frame";
  const struct {
    const char* saved;
    std::string command;
    std::vector<std::string> options;
    std::string refusal;  // "" when the command takes what it is given instead
  } rows[] = {
      {"[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=2.5\r\nOverCut=0,5\r\n",
       send,
       {},
       "blade offset in INI ([Offset] BladeOffset): \"2.5\" is outside a number of mm from 0.01 to 2; give "
       "--blade-offset MM or --no-blade-offset"},
      {"[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=2.5\r\nOverCut=0,5\r\n",
       info,
       {"--blade-offset", "0.5"},
       "over-cut in INI ([Offset] OverCut): \"0,5\" is not a number of mm from 0.01 to 5; give --overcut MM or "
       "--no-overcut"},
      {"[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\nBladeOffset=2.5\r\nOverCut=0,5\r\n",
       info,
       {"--no-blade-offset", "--overcut", "1"},
       ""},
      {"[CutOrder]\r\nChkWeedBorder=1\r\nWeedBorder=100\r\n",
       send,
       {},
       "weed border in INI ([CutOrder] WeedBorder): \"100\" is outside a number of mm from 0.5 to 50; give "
       "--weed-border MM or --no-weed-border"},
      {"[CutOrder]\r\nChkWeedBorder=1\r\nWeedBorder=5,5\r\n",
       info,
       {},
       "weed border in INI ([CutOrder] WeedBorder): \"5,5\" is not a number of mm from 0.5 to 50; give "
       "--weed-border MM or --no-weed-border"},
      {"[CutOrder]\r\nChkWeedBorder=1\r\nWeedBorder=50.1\r\n",
       frame,
       {},
       "weed border in INI ([CutOrder] WeedBorder): \"50.1\" is outside a number of mm from 0.5 to 50; give "
       "--weed-border MM or --no-weed-border"},
      {"[CutOrder]\r\nChkWeedBorder=1\r\nWeedBorder=100\r\n", info, {"--no-weed-border"}, ""},
      {"[CutOrder]\r\nChkWeedBorder=0\r\nWeedBorder=100\r\n", info, {}, ""},
      {"[CutOrder]\r\nPasses=7\r\n",
       send,
       {},
       "passes in INI ([CutOrder] Passes): \"7\" is not a whole number from 1 to 5; give --passes N"},
      {"[CutOrder]\r\nPasses=2x\r\n",
       frame,
       {},
       "passes in INI ([CutOrder] Passes): \"2x\" is not a whole number from 1 to 5; give --passes N"},
      {"[CutOrder]\r\nPasses=7\r\n", info, {"--passes", "2"}, ""},
      {"[Device]\r\nType=15\r\n",
       send,
       {},
       "model in INI ([Device] Type): \"15\" is not a whole number from 0 to 10; give --model NAME"},
      {"[Device]\r\nType=15\r\n",
       frame,
       {},
       "model in INI ([Device] Type): \"15\" is not a whole number from 0 to 10; give --model NAME"},
      {"[Device]\r\nType=15\r\n", info, {"--model", "4"}, ""},
      {"[Media]\r\nChkWidth=1\r\nWidth=40\r\n",
       send,
       {},
       "media width in INI ([Media] Width): \"40\" is outside a number of mm from 50 to 3000; give --media-width MM "
       "or --no-media-width"},
      {"[Media]\r\nChkWidth=1\r\nWidth=40\r\n", info, {"--no-media-width"}, ""},
      {"[Media]\r\nChkWidth=1\r\nWidth=120\r\nPanels=1\r\nPanelOverlap=60\r\n",
       frame,
       {},
       "panel overlap in INI ([Media] PanelOverlap): \"60\" is outside a number of mm from 0 to 50; give "
       "--panel-overlap MM"},
      {"[Media]\r\nChkWidth=1\r\nWidth=120\r\nPanels=0\r\nPanelOverlap=60\r\n", info, {}, ""},
  };
  for (const auto& row : rows) {
    const std::string ini = dir.Write("Plotgate.ini", row.saved);
    std::vector<std::string> args = {row.command == info ? "info" : row.command, input, "--ini", ini};
    if (row.command == info) args.push_back("--detail");
    if (row.command != info) args.insert(args.end(), {"--port", port});
    args.insert(args.end(), row.options.begin(), row.options.end());
    const CliRun run(args);
    SCOPED_TRACE(row.command + " with " + row.saved);
    if (row.refusal.empty()) {
      EXPECT_EQ(run.code, 0) << run.err;
    } else {
      std::string refusal = "plotgate: the saved " + row.refusal + "\n";
      refusal.replace(refusal.find("INI"), 3, ini);
      EXPECT_EQ(run.code, 2);
      EXPECT_EQ(run.err, refusal);
    }
    EXPECT_EQ(TempDir::Read(ini), row.saved);
  }
}

// A settings file that is none is refused with its path and why, before it is opened.
// Caught: a file of many megabytes read whole; the over-large file and a folder named by
// --ini reach every command that reads the settings.
TEST(CliSendSettings, SettingsFileThatIsNoRegularFileOfSaneSizeIsRefused) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string large = dir.Write("large.ini", "[Device]\r\n" + std::string(1 << 20, ' '));
  const std::string folder = (dir.Path() / "folder").string();
  std::filesystem::create_directory(folder);
  const std::string port = (dir.Path() / "none").string();
  const struct {
    std::string ini;
    std::string reason;
  } files[] = {{large, "larger than 1 MB (1048586 bytes)"}, {folder, "not a regular file"}};
  for (const auto& file : files) {
    for (const std::vector<std::string>& command : {std::vector<std::string>{"send", input, "--port", port},
                                                    {"info", input, "--detail"},
                                                    {"frame", input, "--port", port},
                                                    {"check", "--port", port}}) {
      std::vector<std::string> args = command;
      args.insert(args.end(), {"--ini", file.ini});
      const CliRun run(args);
      EXPECT_EQ(run.code, 1) << command[0];
      EXPECT_EQ(run.err, "plotgate: cannot read the settings: " + file.ini + ": " + file.reason + "\n") << command[0];
    }
  }
}

// Two sends at once save their whole set one after the other: the file holds one send's
// choices, never one's model with the other's offsets or cut order. Caught: the entries of
// sends written in turns, each rewriting the file, leaving a mixture.
TEST(CliSendSettings, SendsAtOnceLeaveOneSendsChoices) {
  TempDir dir;
  const std::string path = dir.Write("Plotgate.ini", "");
  const int SENDS = 4;
  std::vector<Choices> sends(SENDS);
  for (int i = 0; i < SENDS; ++i) {
    Choices& send = sends[i];
    send.model = i + 1;
    send.port = "COM" + std::to_string(i + 1);
    send.bladeOffset = i % 2 == 0;
    send.bladeOffsetText = std::to_string(i + 1) + ".0";
    send.overCut = i % 2 == 1;
    send.overCutText = "0." + std::to_string(i + 1);
    send.insideFirst = i % 2 == 0;
    send.shortestTravel = i % 2 == 1;
    send.weedBorder = true;
    send.weedBorderText = std::to_string(i + 2);
    send.passes = i + 1;
  }
  for (int round = 0; round < 10; ++round) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < SENDS; ++i) {
      threads.emplace_back([&, i] {
        CIniFile ini;
        ini.IniPath = path;
        ++ready;
        while (ready < SENDS) std::this_thread::yield();
        RememberSend(ini, sends[i]);
      });
    }
    for (std::thread& thread : threads) thread.join();
    CIniFile ini;
    ini.IniPath = path;
    const Choices saved = Merged(ReadChoices(ini), DefaultChoices());
    ASSERT_GE(*saved.model, 1);
    ASSERT_LE(*saved.model, SENDS);
    const Choices whole = Merged(sends[*saved.model - 1], DefaultChoices());
    EXPECT_EQ(saved.port, whole.port) << "round " << round;
    EXPECT_EQ(saved.bladeOffset, whole.bladeOffset) << "round " << round;
    EXPECT_EQ(saved.overCut, whole.overCut) << "round " << round;
    EXPECT_EQ(saved.bladeOffsetText, whole.bladeOffsetText) << "round " << round;
    EXPECT_EQ(saved.overCutText, whole.overCutText) << "round " << round;
    EXPECT_EQ(saved.insideFirst, whole.insideFirst) << "round " << round;
    EXPECT_EQ(saved.shortestTravel, whole.shortestTravel) << "round " << round;
    EXPECT_EQ(saved.weedBorderText, whole.weedBorderText) << "round " << round;
    EXPECT_EQ(saved.passes, whole.passes) << "round " << round;
  }
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
