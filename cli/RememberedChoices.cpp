#include "cli/RememberedChoices.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "cli/SettingsLocation.h"
#include "cli/SettingsWarnings.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "settings/FileException.h"
#include "settings/RestoreChoices.h"

namespace {

std::string OneLine(const std::string& text) {
  return text.find_first_of("\r\n") == std::string::npos ? "" : "the text must be one line";
}

}  // namespace

namespace {

void AddSettingsFileOption(CLI::App& command, std::string& iniPath) {
  command.add_option("--ini", iniPath,
                     "Settings file with the remembered choices (default: Plotgate.ini beside the program on "
                     "Windows, $XDG_CONFIG_HOME/plotgate/Plotgate.ini on Linux)");
}

}  // namespace

void AddCutOrderOffOptions(CLI::App& command, RememberOptions& options) {
  const struct {
    const char* name;
    bool& flag;
    const char* ticking;
    const char* what;
  } cutOrderOffs[] = {
      {"--no-inside-first", options.noInsideFirst, "--inside-first", "Cut without the remembered inner-first order"},
      {"--no-shortest-travel", options.noShortestTravel, "--shortest-travel",
       "Cut without the remembered nearest-next order"},
      {"--no-weed-border", options.noWeedBorder, "--weed-border",
       "Cut without the remembered weed border (its margin stays remembered)"},
  };
  for (const auto& off : cutOrderOffs) command.add_flag(off.name, off.flag, off.what)->excludes(off.ticking);
  command.get_option("--weed-border")->check(OneLine);
}

void AddRememberOptions(CLI::App& command, RememberOptions& options) {
  AddSettingsFileOption(command, options.iniPath);
  CLI::Option* bladeOffset = command.get_option("--blade-offset");
  CLI::Option* overCut = command.get_option("--overcut");
  bladeOffset->check(OneLine);
  overCut->check(OneLine);
  command
      .add_flag("--no-blade-offset", options.noBladeOffset,
                "Send without the remembered blade offset (its distance stays remembered)")
      ->excludes(bladeOffset);
  command
      .add_flag("--no-overcut", options.noOverCut,
                "Send without the remembered over-cut (its distance stays remembered)")
      ->excludes(overCut);
  AddCutOrderOffOptions(command, options);
}

const char* const REMEMBERED_PORT_SECTION = "CommandLine";
const char* const REMEMBERED_PORT_KEY = "Port";

void CompleteFromSaved(SendChoices& choices, const RememberOptions& options, const SavedChoices& saved,
                       const std::string& rememberedPort) {
  if (choices.cutter.model < 0) {
    if (choices.port.empty()) choices.port = rememberedPort;
    // The automatic choice for the model is left to the send, which lists the devices.
    const RestoredDevice restored = RestoreDevice(saved, {});
    choices.cutter.model = restored.modelIndex;
    if (choices.port.empty() && !restored.portChosenForModel) choices.port = restored.port;
  }
  OffsetOptions& offsets = choices.cutter.offsets;
  const OffsetOptions restored = RestoreOffsets(saved);
  // --blade-offset and --overcut tick their box and set its text together.
  if (!offsets.bladeOffset) {
    offsets.bladeOffset = !options.noBladeOffset && restored.bladeOffset;
    offsets.bladeOffsetText = restored.bladeOffsetText;
  }
  if (!offsets.overCut) {
    offsets.overCut = !options.noOverCut && restored.overCut;
    offsets.overCutText = restored.overCutText;
  }
}

bool ReadRemembered(const std::string& iniPath, bool create, CIniFile& ini, Remembered& remembered) {
  ini.IniPath = iniPath.empty() ? DefaultSettingsPath() : iniPath;
  std::error_code absent;
  const uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(ini.IniPath), absent);
  remembered = Remembered();
  remembered.any = !absent && size > 0;
  // Reading creates an absent file.
  if (!create && !std::filesystem::exists(std::filesystem::u8path(ini.IniPath), absent)) return true;
  try {
    remembered.saved = ReadSavedChoices(ini);
    remembered.port = ReadRememberedPort(ini);
    remembered.cutOrder = ReadSavedCutOrder(ini);
  } catch (const CFileException& e) {
    fprintf(stderr, "plotgate: cannot read the settings: %s\n", e.what());
    return false;
  }
  for (const std::string& warning : SettingsWarnings(ini.Lines, remembered))
    fprintf(stderr, "plotgate: %s, %s\n", ini.IniPath.c_str(), warning.c_str());
  return true;
}

namespace {

// Refuses, after a message, a distance taken from the settings file that the option
// `option` would refuse.
bool SavedDistanceTaken(bool ticked, bool given, const std::string& text, const char* what, const char* option,
                        const char* noOption, const std::string& iniPath) {
  if (!ticked || given) return true;
  const std::string problem = DistanceProblem(text, option);
  if (problem.empty()) return true;
  fprintf(stderr, "plotgate: the saved %s in %s: %s; give %s MM or %s\n", what, iniPath.c_str(), problem.c_str(),
          option, noOption);
  return false;
}

}  // namespace

int CompleteFromSettings(SendChoices& choices, const RememberOptions& options, bool create, CIniFile& ini,
                         Remembered& remembered) {
  if (!ReadRemembered(options.iniPath, create, ini, remembered)) return 1;
  const OffsetOptions given = choices.cutter.offsets;
  CompleteFromSaved(choices, options, remembered.saved, remembered.port);
  CompleteCutOrder(choices.job.cutOrder, options, remembered.cutOrder);
  const OffsetOptions& used = choices.cutter.offsets;
  if (!SavedDistanceTaken(used.bladeOffset, given.bladeOffset, used.bladeOffsetText, "blade offset", "--blade-offset",
                          "--no-blade-offset", ini.IniPath) ||
      !SavedDistanceTaken(used.overCut, given.overCut, used.overCutText, "over-cut", "--overcut", "--no-overcut",
                          ini.IniPath))
    return EXIT_USAGE;
  return 0;
}

SavedChoices ChoicesToRemember(const SendChoices& choices, const std::string& port, const SavedChoices& saved) {
  SavedChoices remembered;
  remembered.modelIndex = choices.cutter.model;
  const int index = PortListIndex(port);
  remembered.portIndex = index >= 0 ? index : saved.portIndex;
  remembered.chkBladeOffset = choices.cutter.offsets.bladeOffset ? 1 : 0;
  remembered.chkOverCut = choices.cutter.offsets.overCut ? 1 : 0;
  remembered.bladeOffsetText = choices.cutter.offsets.bladeOffsetText;
  remembered.overCutText = choices.cutter.offsets.overCutText;
  return remembered;
}

std::string ReadRememberedPort(CIniFile& ini) {
  return ini.GetString(REMEMBERED_PORT_SECTION, REMEMBERED_PORT_KEY, "");
}

void WriteRememberedPort(CIniFile& ini, const std::string& port) {
  const std::string remembered = PortListIndex(port) >= 0 ? "" : port;
  if (remembered != ReadRememberedPort(ini)) ini.SetString(REMEMBERED_PORT_SECTION, REMEMBERED_PORT_KEY, remembered);
}

void AddPortOption(CLI::App& command, std::string& port) {
  command.add_option("--port", port,
                     "Serial port: a device path (/dev/ttyUSB0, /dev/serial/by-id/...) or COM1..COM999 (COM1 is "
                     "/dev/ttyS0 on Linux); by default the saved port, or with --model the model's own, which "
                     "plotgate ports lists (on Linux /dev/ttyUSB0 or /dev/ttyACM0)");
}

void AddTargetOptions(CLI::App& command, TargetOptions& options) {
  AddModelOption(command, options.model);
  AddPortOption(command, options.port);
  AddSettingsFileOption(command, options.iniPath);
}

bool FindCutterTarget(const TargetOptions& options, CutterTarget& target) {
  SendChoices choices;
  choices.cutter.model = options.model;
  choices.port = options.port;
  CIniFile ini;
  Remembered remembered;
  if (!ReadRemembered(options.iniPath, false, ini, remembered)) return false;
  CompleteFromSaved(choices, RememberOptions{}, remembered.saved, remembered.port);
  target.model = choices.cutter.model;
  target.devices = ListSerialDevices();
  target.port =
      choices.port.empty() ? ChoosePort(ModelTable[target.model].ProtocolNumber, target.devices) : choices.port;
  target.usbSerialPort = MatchSerialPort(target.devices, USB_SERIAL_PREFIX);
  target.cutOrder = remembered.cutOrder;
  return true;
}

void CompleteCutOrder(CutOrderChoice& choice, const RememberOptions& options, const SavedCutOrder& saved) {
  if (!choice.insideFirst) choice.insideFirst = !options.noInsideFirst && saved.insideFirst != 0;
  if (!choice.shortestTravel) choice.shortestTravel = !options.noShortestTravel && saved.shortestTravel != 0;
  if (!choice.weedBorder) {
    choice.weedBorder = !options.noWeedBorder && saved.chkWeedBorder != 0;
    choice.weedBorderText = saved.weedBorderText;
  }
  if (choice.passes == 0) choice.passes = saved.passes;
}

SavedCutOrder CutOrderToRemember(const CutOrderChoice& choice, const SavedCutOrder& saved) {
  SavedCutOrder remembered;
  remembered.insideFirst = choice.insideFirst ? 1 : 0;
  remembered.shortestTravel = choice.shortestTravel ? 1 : 0;
  remembered.chkWeedBorder = choice.weedBorder ? 1 : 0;
  remembered.weedBorderText = choice.weedBorder ? choice.weedBorderText : saved.weedBorderText;
  remembered.passes = std::max(choice.passes, 1);
  return remembered;
}
