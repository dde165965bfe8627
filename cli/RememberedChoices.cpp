#include "cli/RememberedChoices.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/StdioFile.h"
#include "cli/SettingsLocation.h"
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
  if (choices.cutter.model < 0) choices.cutter.model = RestoreDevice(saved, {}).modelIndex;
  // The saved entry "VORN_USB" leaves the port to the automatic choice for the model, which
  // the send makes as it lists the devices.
  const std::string savedPort = PortListText(saved.portIndex);
  if (choices.port.empty()) choices.port = rememberedPort;
  if (choices.port.empty() && savedPort != VORN_USB_PORT) choices.port = savedPort;
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

bool ReadRemembered(const std::string& iniPath, CIniFile& ini, Remembered& remembered) {
  ini.IniPath = iniPath.empty() ? DefaultSettingsPath() : iniPath;
  std::error_code absent;
  const uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(ini.IniPath), absent);
  remembered = Remembered();
  remembered.any = !absent && size > 0;
  // Reading would create an absent file, which is left to the save; a file that cannot be
  // opened for another reason (a folder that is a file) is told now.
  FILE* file = OpenStdioFile(ini.IniPath.c_str(), "rb");
  if (!file && errno == ENOENT) {
    // Windows says a file inside a file is absent too.
    const std::filesystem::path folder = std::filesystem::u8path(ini.IniPath).parent_path();
    std::error_code unknown;
    if (folder.empty() || !std::filesystem::exists(folder, unknown) || std::filesystem::is_directory(folder, unknown))
      return true;
    errno = ENOTDIR;
  }
  if (!file) {
    fprintf(stderr, "plotgate: cannot read the settings: opening %s: %s\n", ini.IniPath.c_str(), strerror(errno));
    return false;
  }
  fclose(file);
  try {
    // No line holds a line break: the mark of an absent entry.
    remembered.modelSaved = ini.GetString("Device", "Type", "\n") != "\n";
    remembered.saved = ReadSavedChoices(ini);
    remembered.port = ReadRememberedPort(ini);
    remembered.cutOrder = ReadSavedCutOrder(ini);
  } catch (const CFileException& e) {
    fprintf(stderr, "plotgate: cannot read the settings: %s\n", e.what());
    return false;
  }
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

int CompleteFromSettings(SendChoices& choices, const RememberOptions& options, CIniFile& ini, Remembered& remembered) {
  if (!ReadRemembered(options.iniPath, ini, remembered)) return 1;
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
  if (remembered == ReadRememberedPort(ini)) return;
  if (remembered.empty()) {
    ini.RemoveEntry(REMEMBERED_PORT_SECTION, REMEMBERED_PORT_KEY);
  } else {
    ini.SetString(REMEMBERED_PORT_SECTION, REMEMBERED_PORT_KEY, remembered);
  }
}

void AddPortOption(CLI::App& command, std::string& port) {
  command.add_option("--port", port,
                     "COM port (COM1..COM999) or device path; by default the port of the last send, with or without "
                     "--model, else the one the model's rule finds (plotgate ports shows it)");
}

void AddTargetOptions(CLI::App& command, TargetOptions& options) {
  AddModelOption(command, options.model);
  AddPortOption(command, options.port);
  AddSettingsFileOption(command, options.iniPath);
}

namespace {

const char* const NO_MODEL_CHOSEN = "no cutter model chosen yet: add --model NAME (plotgate models lists them)";

// What a model's port rule looks for, and the port such a device usually gets on Linux (the
// only system without a fallback, so the only one that refuses).
struct PortRuleWords {
  const char* prefix;
  const char* looksFor;
  const char* example;
};
const PortRuleWords PORT_RULE_WORDS[] = {
    {USB_SERIAL_PREFIX, "the cutter's own USB serial port", "/dev/ttyACM0"},
    {VCP_PREFIX, "a USB serial adapter", "/dev/ttyUSB0"},
};

// "no serial device found for Robin-Series (it looks for a USB serial adapter); give --port
// /dev/ttyUSB0 (plotgate ports lists them)".
std::string NoDeviceRefusal(const CutterModel& model) {
  const std::string prefix = PortPrefixOf(model.ProtocolNumber);
  std::string looksFor, example = "PORT";
  for (const PortRuleWords& words : PORT_RULE_WORDS) {
    if (prefix != words.prefix) continue;
    looksFor = std::string(" (it looks for ") + words.looksFor + ")";
    example = words.example;
  }
  return std::string("no serial device found for ") + model.name + looksFor + "; give --port " + example +
         " (plotgate ports lists them)";
}

}  // namespace

std::string AutomaticPort(int protocol, const std::vector<SerialDevice>& devices) {
  const std::string found = FindModelPort(protocol, devices);
  return found.empty() ? UnmatchedPortFallback() : found;
}

CutterTarget TargetOf(const SendChoices& given, const SendChoices& choices, const Remembered& remembered,
                      const std::vector<SerialDevice>& devices) {
  CutterTarget target;
  target.model = choices.cutter.model;
  target.modelSaved = given.cutter.model < 0 && remembered.modelSaved;
  target.portSaved = given.port.empty() && !choices.port.empty();
  target.devices = devices;
  target.usbSerialPort = MatchSerialPort(target.devices, USB_SERIAL_PREFIX);
  const CutterModel& model = ModelTable[target.model];
  target.port = choices.port.empty() ? AutomaticPort(model.ProtocolNumber, target.devices) : choices.port;
  if (given.cutter.model < 0 && !remembered.modelSaved) {
    target.refusal = NO_MODEL_CHOSEN;
  } else if (target.port.empty()) {
    target.refusal = NoDeviceRefusal(model);
  }
  return target;
}

bool FindCutterTarget(const TargetOptions& options, CutterTarget& target) {
  SendChoices given;
  given.cutter.model = options.model;
  given.port = options.port;
  CIniFile ini;
  Remembered remembered;
  if (!ReadRemembered(options.iniPath, ini, remembered)) return false;
  SendChoices choices = given;
  CompleteFromSaved(choices, RememberOptions{}, remembered.saved, remembered.port);
  target = TargetOf(given, choices, remembered, ListSerialDevices());
  return true;
}

int FindUsableTarget(const TargetOptions& options, CutterTarget& target) {
  if (!FindCutterTarget(options, target)) return 1;
  if (target.refusal.empty()) return 0;
  fprintf(stderr, "plotgate: %s\n", target.refusal.c_str());
  return EXIT_USAGE;
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
