#include "RememberedChoices.h"

#include <cstdio>
#include <filesystem>

#include "FileException.h"
#include "ModelTable.h"
#include "PortDiscovery.h"
#include "RestoreChoices.h"
#include "SettingsLocation.h"

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
  // --blade-offset and --overcut tick their box and set its text together.
  if (!offsets.bladeOffset) {
    offsets.bladeOffset = !options.noBladeOffset && saved.chkBladeOffset != 0;
    offsets.bladeOffsetText = saved.bladeOffsetText;
  }
  if (!offsets.overCut) {
    offsets.overCut = !options.noOverCut && saved.chkOverCut != 0;
    offsets.overCutText = saved.overCutText;
  }
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

void AddTargetOptions(CLI::App& command, TargetOptions& options) {
  AddModelOption(command, options.model);
  command.add_option("--port", options.port,
                     "COM port (COM1..COM999) or device path; by default the saved port, or with --model the port "
                     "the dialog would choose");
  AddSettingsFileOption(command, options.iniPath);
}

bool FindCutterTarget(const TargetOptions& options, CutterTarget& target) {
  SendChoices choices;
  choices.cutter.model = options.model;
  choices.port = options.port;
  CIniFile ini;
  ini.IniPath = options.iniPath.empty() ? DefaultSettingsPath() : options.iniPath;
  // An absent file has nothing to remember; reading it would create it.
  SavedChoices saved;
  std::string rememberedPort;
  std::error_code absent;
  if (std::filesystem::exists(std::filesystem::u8path(ini.IniPath), absent)) {
    try {
      saved = ReadSavedChoices(ini);
      rememberedPort = ReadRememberedPort(ini);
    } catch (const CFileException& e) {
      fprintf(stderr, "plotgate: cannot read the settings: %s\n", e.what());
      return false;
    }
  }
  CompleteFromSaved(choices, RememberOptions{}, saved, rememberedPort);
  target.model = choices.cutter.model;
  target.devices = ListSerialDevices();
  target.port =
      choices.port.empty() ? ChoosePort(ModelTable[target.model].ProtocolNumber, target.devices) : choices.port;
  target.usbSerialPort = MatchSerialPort(target.devices, USB_SERIAL_PREFIX);
  return true;
}
