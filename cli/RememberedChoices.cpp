#include "cli/RememberedChoices.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>

#include "base/StdioFile.h"
#include "cli/SettingsLocation.h"
#include "cli/SettingsWarnings.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "settings/ChoiceLimits.h"
#include "settings/FileException.h"
#include "settings/RestoreChoices.h"
#include "settings/SettingsLock.h"

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

namespace {

// A settings file is a few lines; a larger one is no settings file.
const uintmax_t SETTINGS_MAX_BYTES = 1 << 20;

// Why the file at `path` is none to read as the settings, told before it is opened (a
// FIFO would block the open, a device would be read for ever); "" for a regular file of
// at most 1 MB, or for no file at all.
std::string SettingsFileProblem(const std::string& path) {
  std::error_code error;
  const std::filesystem::path file = std::filesystem::u8path(path);
  const std::filesystem::file_status status = std::filesystem::status(file, error);
  if (!std::filesystem::exists(status)) return "";
  if (!std::filesystem::is_regular_file(status)) return "not a regular file";
  const uintmax_t size = std::filesystem::file_size(file, error);
  if (!error && size > SETTINGS_MAX_BYTES) return "larger than 1 MB (" + std::to_string(size) + " bytes)";
  return "";
}

// Reads what the settings file holds. Raises CFileException.
void ReadEntries(CIniFile& ini, Remembered& remembered) {
  remembered.saved = ReadSavedChoices(ini);
  remembered.port = ReadRememberedPort(ini);
  remembered.cutOrder = ReadSavedCutOrder(ini);
  const SettingEntry& model = SETTINGS_TABLE[0];
  remembered.modelText = ini.GetString(model.section, model.key, std::to_string(model.intDefault));
  remembered.passesText = ini.GetString(CUT_ORDER_SECTION, PASSES_KEY, std::to_string(SavedCutOrder().passes));
  // No line holds a line break: the mark of an absent entry.
  remembered.modelSaved = ini.GetString(model.section, model.key, "\n") != "\n";
}

// One remembered value as a command takes it from the settings file.
struct TakenEntry {
  bool taken;           // the command line gave nothing in its place (and its box is ticked)
  const char* what;     // "weed border"
  const char* section;  // where the file holds it
  const char* key;
  std::string problem;  // why the command line would refuse the value as an option; "" when it would not
  const char* instead;  // the options that replace it
};

// Refuses, after a message naming the entry, its value and why, the first taken entry the
// command line would refuse as an option: the job would be cut with a choice the user
// could not ask for again.
bool AllTakenAccepted(std::initializer_list<TakenEntry> entries, const std::string& iniPath) {
  for (const TakenEntry& entry : entries) {
    if (!entry.taken || entry.problem.empty()) continue;
    fprintf(stderr, "plotgate: the saved %s in %s ([%s] %s): %s; give %s\n", entry.what, iniPath.c_str(), entry.section,
            entry.key, entry.problem.c_str(), entry.instead);
    return false;
  }
  return true;
}

// The saved model, for a command without --model.
TakenEntry SavedModel(bool taken, const Remembered& remembered) {
  const SettingEntry& model = SETTINGS_TABLE[0];
  const std::string problem = WholeNumberProblem(remembered.modelText, 0, MODEL_COUNT - 1);
  return {taken, "model", model.section, model.key, problem, "--model NAME"};
}

// A saved distance of the offset options, the table's `entry`.
TakenEntry SavedDistance(bool taken, const SettingEntry& entry, const char* what, const std::string& text,
                         const char* option, const char* instead) {
  return {taken, what, entry.section, entry.key, DistanceProblem(text, option), instead};
}

}  // namespace

bool ReadRemembered(const std::string& iniPath, CIniFile& ini, Remembered& remembered) {
  ini.IniPath = iniPath.empty() ? DefaultSettingsPath() : iniPath;
  remembered = Remembered();
  const std::string problem = SettingsFileProblem(ini.IniPath);
  if (!problem.empty()) {
    fprintf(stderr, "plotgate: cannot read the settings: %s: %s\n", ini.IniPath.c_str(), problem.c_str());
    return false;
  }
  std::error_code absent;
  const uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(ini.IniPath), absent);
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
    // The whole set as one program saved it.
    const CSettingsLock lock(ini.IniPath);
    ReadEntries(ini, remembered);
  } catch (const CFileException& e) {
    fprintf(stderr, "plotgate: cannot read the settings: %s\n", e.what());
    return false;
  }
  remembered.warnings = SettingsWarnings(ini.Lines, remembered);
  return true;
}

void PrintSettingsWarnings(const Remembered& remembered, const std::string& iniPath) {
  for (const std::string& warning : remembered.warnings)
    fprintf(stderr, "plotgate: %s, %s\n", iniPath.c_str(), warning.c_str());
}

bool CutOrderAccepted(const CutOrderChoice& given, const CutOrderChoice& used, const Remembered& remembered,
                      const std::string& iniPath) {
  return AllTakenAccepted(
      {{used.weedBorder && !given.weedBorder, "weed border", CUT_ORDER_SECTION, WEED_BORDER_KEY,
        MillimetreProblem(used.weedBorderText, WEED_BORDER_RANGE), "--weed-border MM or --no-weed-border"},
       {given.passes == 0, "passes", CUT_ORDER_SECTION, PASSES_KEY,
        WholeNumberProblem(remembered.passesText, MIN_PASSES, MAX_PASSES), "--passes N"}},
      iniPath);
}

int CompleteFromSettings(SendChoices& choices, const RememberOptions& options, CIniFile& ini, Remembered& remembered) {
  if (!ReadRemembered(options.iniPath, ini, remembered)) return 1;
  const SendChoices given = choices;
  CompleteFromSaved(choices, options, remembered.saved, remembered.port);
  CompleteCutOrder(choices.job.cutOrder, options, remembered.cutOrder);
  const OffsetOptions& used = choices.cutter.offsets;
  const OffsetOptions& told = given.cutter.offsets;
  const bool accepted =
      AllTakenAccepted({SavedModel(given.cutter.model < 0, remembered),
                        SavedDistance(used.bladeOffset && !told.bladeOffset, SETTINGS_TABLE[4], "blade offset",
                                      used.bladeOffsetText, "--blade-offset", "--blade-offset MM or --no-blade-offset"),
                        SavedDistance(used.overCut && !told.overCut, SETTINGS_TABLE[5], "over-cut", used.overCutText,
                                      "--overcut", "--overcut MM or --no-overcut")},
                       ini.IniPath) &&
      CutOrderAccepted(given.job.cutOrder, choices.job.cutOrder, remembered, ini.IniPath);
  if (!accepted) return EXIT_USAGE;
  PrintSettingsWarnings(remembered, ini.IniPath);
  return 0;
}

void RememberSend(CIniFile& ini, const SendChoices& choices, const std::string& port) {
  // Merged with what the file holds now, which another program may have saved since it
  // was read, and written whole before the next program reads or writes it.
  const CSettingsLock lock(ini.IniPath);
  Remembered now;
  ReadEntries(ini, now);
  WriteSavedChoices(ini, ChoicesToRemember(choices, port, now.saved));
  WriteRememberedPort(ini, port);
  WriteSavedCutOrder(ini, CutOrderToRemember(choices.job.cutOrder, now.cutOrder));
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
                     "Serial port: a device path (/dev/ttyUSB0, /dev/serial/by-id/...) or COM1..COM999 (COM1 is "
                     "/dev/ttyS0 on Linux); by default the port of the last send, with or without --model, else the "
                     "one the model's rule finds (plotgate ports shows it: on Linux /dev/ttyUSB0 or /dev/ttyACM0)");
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

int FindCutterTarget(const TargetOptions& options, CutterTarget& target) {
  SendChoices given;
  given.cutter.model = options.model;
  given.port = options.port;
  CIniFile ini;
  Remembered remembered;
  if (!ReadRemembered(options.iniPath, ini, remembered)) return 1;
  if (!AllTakenAccepted({SavedModel(options.model < 0, remembered)}, ini.IniPath)) return EXIT_USAGE;
  SendChoices choices = given;
  CompleteFromSaved(choices, RememberOptions{}, remembered.saved, remembered.port);
  target = TargetOf(given, choices, remembered, ListSerialDevices());
  target.remembered = remembered;
  target.iniPath = ini.IniPath;
  return 0;
}

int RefuseTarget(const CutterTarget& target) {
  if (target.refusal.empty()) return 0;
  fprintf(stderr, "plotgate: %s\n", target.refusal.c_str());
  return EXIT_USAGE;
}

int FindUsableTarget(const TargetOptions& options, CutterTarget& target) {
  if (const int failed = FindCutterTarget(options, target)) return failed;
  return RefuseTarget(target);
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
