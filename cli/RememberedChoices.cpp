#include "cli/RememberedChoices.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <type_traits>

#include "base/StdioFile.h"
#include "cli/SettingsLocation.h"
#include "cli/SettingsWarnings.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "settings/ChoiceLimits.h"
#include "settings/FileException.h"
#include "settings/PortList.h"
#include "settings/SettingsLock.h"

namespace {

std::string OneLine(const std::string& text) {
  return text.find_first_of("\r\n") == std::string::npos ? "" : "the text must be one line";
}

}  // namespace

void AddSettingsFileOption(CLI::App& command, std::string& iniPath) {
  command.add_option("--ini", iniPath,
                     "Settings file with the remembered choices (default: Plotgate.ini beside the program on "
                     "Windows, $XDG_CONFIG_HOME/plotgate/Plotgate.ini on Linux)");
}

namespace {

// Adds the --no- option `name` that unticks `box` and excludes its ticking option.
void AddUntickOption(CLI::App& command, const char* name, std::optional<bool>& box, const char* ticking,
                     const char* what) {
  command.add_flag_callback(name, [&box] { box = false; }, what)->excludes(ticking);
}

}  // namespace

void AddUntickCutOrderOptions(CLI::App& command, Choices& given) {
  AddUntickOption(command, "--no-inside-first", given.insideFirst, "--inside-first",
                  "Cut without the remembered inner-first order");
  AddUntickOption(command, "--no-shortest-travel", given.shortestTravel, "--shortest-travel",
                  "Cut without the remembered nearest-next order");
  AddUntickOption(command, "--no-weed-border", given.weedBorder, "--weed-border",
                  "Cut without the remembered weed border (its margin stays remembered)");
  command.get_option("--weed-border")->check(OneLine);
}

void AddRememberOptions(CLI::App& command, std::string& iniPath, Choices& given) {
  AddSettingsFileOption(command, iniPath);
  command.get_option("--blade-offset")->check(OneLine);
  command.get_option("--overcut")->check(OneLine);
  AddUntickOption(command, "--no-blade-offset", given.bladeOffset, "--blade-offset",
                  "Send without the remembered blade offset (its distance stays remembered)");
  AddUntickOption(command, "--no-overcut", given.overCut, "--overcut",
                  "Send without the remembered over-cut (its distance stays remembered)");
  AddUntickCutOrderOptions(command, given);
}

Choices UsedChoices(const Choices& given, const Remembered& remembered) {
  return Merged(given, Merged(remembered.choices, DefaultChoices()));
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
  remembered.texts = ReadChoiceTexts(ini);
  remembered.choices = ChoicesFromTexts(remembered.texts);
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

// The row of CHOICE_ROWS that holds the number or the edit's text `field`.
template <typename Field>
const ChoiceRow& RowOf(Field field) {
  for (const ChoiceRow& row : CHOICE_ROWS) {
    if constexpr (std::is_same_v<Field, std::optional<int> Choices::*>) {
      if (row.number == field) return row;
    } else {
      if (row.kind == CHOICE_TEXT && row.text == field) return row;
    }
  }
  return CHOICE_ROWS[0];
}

// A taken whole number of the file, the row of `field`, within `min` to `max`.
TakenEntry SavedNumber(bool taken, const Remembered& remembered, std::optional<int> Choices::*field, const char* what,
                       int min, int max, const char* instead) {
  const ChoiceRow& row = RowOf(field);
  return {taken, what, row.section, row.key, WholeNumberProblem(ChoiceText(remembered.texts, row), min, max), instead};
}

// A distance of the file, the row of `text`: taken when the command uses it, `given` has
// no box and `used` ticks it.
TakenEntry SavedDistance(bool uses, const Choices& given, const Choices& used, std::optional<bool> Choices::*box,
                         std::optional<std::string> Choices::*text, const char* what, const MillimetreRange& range,
                         const char* instead) {
  const ChoiceRow& row = RowOf(text);
  const bool taken = uses && !(given.*box) && (used.*box).value_or(false);
  return {taken, what, row.section, row.key, MillimetreProblem((used.*text).value_or(""), range), instead};
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

bool TakenAccepted(const Choices& given, const Choices& used, const Remembered& remembered, const std::string& iniPath,
                   int uses) {
  const bool model = (uses & USE_MODEL) != 0, offsets = (uses & USE_OFFSETS) != 0, order = (uses & USE_CUT_ORDER) != 0;
  return AllTakenAccepted(
      {SavedNumber(model && !given.model, remembered, &Choices::model, "model", 0, MODEL_COUNT - 1, "--model NAME"),
       SavedDistance(offsets, given, used, &Choices::bladeOffset, &Choices::bladeOffsetText, "blade offset",
                     BLADE_OFFSET_RANGE, "--blade-offset MM or --no-blade-offset"),
       SavedDistance(offsets, given, used, &Choices::overCut, &Choices::overCutText, "over-cut",
                     OVER_CUT_RANGE, "--overcut MM or --no-overcut"),
       SavedDistance(order, given, used, &Choices::weedBorder, &Choices::weedBorderText, "weed border",
                     WEED_BORDER_RANGE, "--weed-border MM or --no-weed-border"),
       SavedNumber(order && !given.passes, remembered, &Choices::passes, "passes", MIN_PASSES, MAX_PASSES,
                   "--passes N")},
      iniPath);
}

int CompleteFromSettings(const Choices& given, const std::string& iniPath, CIniFile& ini, Remembered& remembered,
                         Choices& used) {
  if (!ReadRemembered(iniPath, ini, remembered)) return 1;
  used = UsedChoices(given, remembered);
  if (!TakenAccepted(given, used, remembered, ini.IniPath, USE_ALL)) return EXIT_USAGE;
  PrintSettingsWarnings(remembered, ini.IniPath);
  return 0;
}

void RememberSend(CIniFile& ini, const Choices& used) {
  // Written whole before the next program reads or writes the file; what another program
  // saved since it was read is kept where this send has nothing of its own to save.
  const CSettingsLock lock(ini.IniPath);
  WriteChoices(ini, used);
}

void AddPortOption(CLI::App& command, Choices& given) {
  command.add_option_function<std::string>(
      "--port", [&given](const std::string& port) { given.port = port; },
                     "Serial port: a device path (/dev/ttyUSB0, /dev/serial/by-id/...) or COM1..COM999 (COM1 is "
                     "/dev/ttyS0 on Linux); by default the port of the last send, with or without --model, else the "
                     "one the model's rule finds (plotgate ports shows it: on Linux /dev/ttyUSB0 or /dev/ttyACM0)");
}

void AddTargetOptions(CLI::App& command, Choices& given, std::string& iniPath) {
  AddModelOption(command, given.model);
  AddPortOption(command, given);
  AddSettingsFileOption(command, iniPath);
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

CutterTarget TargetOf(const Choices& given, const Choices& used, const Remembered& remembered,
                      const std::vector<SerialDevice>& devices) {
  CutterTarget target;
  target.model = used.model.value_or(0);
  target.modelSaved = !given.model && remembered.choices.model;
  target.portSaved = !given.port && used.port;
  target.devices = devices;
  target.usbSerialPort = MatchSerialPort(target.devices, USB_SERIAL_PREFIX);
  const CutterModel& model = ModelTable[target.model];
  target.port = used.port ? *used.port : AutomaticPort(model.ProtocolNumber, target.devices);
  target.used = used;
  if (!given.model && !remembered.choices.model) {
    target.refusal = NO_MODEL_CHOSEN;
  } else if (target.port.empty()) {
    target.refusal = NoDeviceRefusal(model);
  }
  return target;
}

int FindCutterTarget(const Choices& given, const std::string& iniPath, CutterTarget& target) {
  CIniFile ini;
  Remembered remembered;
  if (!ReadRemembered(iniPath, ini, remembered)) return 1;
  const Choices used = UsedChoices(given, remembered);
  if (!TakenAccepted(given, used, remembered, ini.IniPath, USE_MODEL)) return EXIT_USAGE;
  target = TargetOf(given, used, remembered, ListSerialDevices());
  target.remembered = remembered;
  target.iniPath = ini.IniPath;
  return 0;
}

int RefuseTarget(const CutterTarget& target) {
  if (target.refusal.empty()) return 0;
  fprintf(stderr, "plotgate: %s\n", target.refusal.c_str());
  return EXIT_USAGE;
}

int FindUsableTarget(const Choices& given, const std::string& iniPath, CutterTarget& target) {
  if (const int failed = FindCutterTarget(given, iniPath, target)) return failed;
  return RefuseTarget(target);
}
