// The send's memory: like the dialog, `plotgate send` starts from the choices saved in the
// settings file and saves its own once the cutter is open, so that the command line and
// the dialog remember the same choices (settings/Choices.h). The other commands that use
// the cutter or cut the job take the remembered choices the same way and save nothing.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "cutter/PortDiscovery.h"
#include "settings/Choices.h"

// Adds --ini FILE to a subcommand.
void AddSettingsFileOption(CLI::App& command, std::string& iniPath);

// Adds --ini, --no-blade-offset, --no-overcut and the --no- options of the cut order to a
// subcommand that already has the cutter and job options. Each --no- option unticks its box
// in `given` and excludes its ticking option, and the edit texts must be one line, as a line
// break would split the settings file's entry.
void AddRememberOptions(CLI::App& command, std::string& iniPath, Choices& given);

// Adds --no-blade-offset and --no-overcut (each excluding its ticking option) to a
// subcommand that already has the offset options; the distances must be one line.
void AddUntickOffsetOptions(CLI::App& command, Choices& given);

// Adds --no-inside-first, --no-shortest-travel and --no-weed-border (each excluding its
// ticking option) to a subcommand that already has the job options; the weed border's text
// must be one line.
void AddUntickCutOrderOptions(CLI::App& command, Choices& given);

// What the settings file remembers, read once for a command.
struct Remembered {
  Choices choices;    // what the file holds, corrected as the dialog reads it; none when absent
  ChoiceTexts texts;  // the entries' texts as the file holds them, checked before they are taken
  bool any = false;   // whether the file held anything before this read
  // What cannot be used as written, "line N: ...": said only once the command has accepted
  // what it takes (PrintSettingsWarnings), since a value it refuses is told as a refusal.
  std::vector<std::string> warnings;
};

// The choices in use: each given one, else the remembered one, else the default (but the
// port, which stays the automatic choice).
Choices UsedChoices(const Choices& given, const Remembered& remembered);

// The warnings of `remembered`, one line "plotgate: FILE, line N: ..." each on stderr.
void PrintSettingsWarnings(const Remembered& remembered, const std::string& iniPath);

// Names the settings file in `ini` (`iniPath`, or DefaultSettingsPath() when "") and reads
// what it remembers, under the settings lock; an absent file is left absent (a send creates
// it when it saves, so a send that fails before leaves none). Each entry that cannot be used
// as written gets a warning in `remembered.warnings` (SettingsWarnings.h). False, after
// "plotgate: cannot read the settings: REASON" on stderr, when it cannot be read, and before
// it is opened when it is no regular file (a FIFO, a device) or is larger than 1 MB, the
// REASON then starting with its path.
bool ReadRemembered(const std::string& iniPath, CIniFile& ini, Remembered& remembered);

// Which remembered choices a command takes, and so checks.
enum ChoiceUse {
  USE_MODEL = 1,      // the model
  USE_OFFSETS = 2,    // the blade offset and the over-cut
  USE_CUT_ORDER = 4,  // the weed border and the passes
  USE_MEDIA = 8,      // the media width and the panels' overlap and gap
  USE_TOOL = 16,      // the force and the speed
  USE_ALL = USE_MODEL | USE_OFFSETS | USE_CUT_ORDER | USE_MEDIA | USE_TOOL,
};

// Whether every choice of `uses` that `used` takes from the file at `iniPath` (where `given`
// has none) is one the command line would take as an option: a model index beyond the
// table, a ticked box's distance "2.5" or "0,5", a weed border "100" or passes "7" would
// cut the job with a choice the user could not ask for again. False after a message that
// names the value, its entry, why it is refused and the options that replace it:
// "plotgate: the saved weed border in FILE ([CutOrder] WeedBorder): "100" is outside a
// number of mm from 0.5 to 50; give --weed-border MM or --no-weed-border".
bool TakenAccepted(const Choices& given, const Choices& used, const Remembered& remembered, const std::string& iniPath,
                   int uses);

// ReadRemembered, UsedChoices and TakenAccepted of every choice, for a command that cuts
// the job (send, info --detail), then the warnings. 0; 1 after the reading's message;
// EXIT_USAGE after a refusal.
int CompleteFromSettings(const Choices& given, const std::string& iniPath, CIniFile& ini, Remembered& remembered,
                         Choices& used);

// Saves the choices of a send, `used` with the port it went to, into the settings file
// `ini` names, under the settings lock, so that the file holds this send's choices whole
// whatever other program saves at the same time. Raises CFileException.
void RememberSend(CIniFile& ini, const Choices& used);

// Adds --port PORT, as send and the commands that use the cutter without a job take it.
void AddPortOption(CLI::App& command, Choices& given);

// Adds --model NAME|INDEX, --port PORT and --ini FILE to a command that uses the cutter.
void AddTargetOptions(CLI::App& command, Choices& given, std::string& iniPath);

// Where a send goes.
struct CutterTarget {
  int model = 0;                      // ModelTable index
  bool modelSaved = false;            // whether the model came from the settings file
  std::string port;                   // "COM3", "VORN_USB" or a device path; "" when none
  bool portSaved = false;             // whether the port came from the settings file
  std::string usbSerialPort;          // the port found under the USB-serial prefix, "" when none
  std::vector<SerialDevice> devices;  // the serial devices of this system
  Remembered remembered;              // what the settings file remembers (read once, warned about once)
  std::string iniPath;                // the settings file read
  Choices used;                       // the choices in use (UsedChoices)
  // Why no send can go out with these choices, "" when one can: "no cutter model chosen
  // yet: ..." when no model was given and none is remembered (the first model is then only
  // a default), or "no serial device found for ..." when no port was given or remembered
  // and the model's rule finds none where there is no fallback.
  std::string refusal;
};

// The port a send takes for a protocol when none is given or remembered: the one the
// protocol's rule finds, else UnmatchedPortFallback() ("" on Linux).
std::string AutomaticPort(int protocol, const std::vector<SerialDevice>& devices);

// The target of a send with the choices `used` (`given` as the command line gave them),
// among the serial devices `devices`: the model, the port given or remembered, else
// AutomaticPort, with the refusal when there is one.
CutterTarget TargetOf(const Choices& given, const Choices& used, const Remembered& remembered,
                      const std::vector<SerialDevice>& devices);

// The model and port that `send` would take with the `given` choices, completed from the
// settings file `iniPath` as send completes them, with what the file remembers. The
// settings file is read once, never created or changed. 0; 1 after a message on stderr
// when it cannot be read; EXIT_USAGE after one when its model index, taken, would be
// refused as --model.
int FindCutterTarget(const Choices& given, const std::string& iniPath, CutterTarget& target);

// 0 when a send can go to `target`; EXIT_USAGE after "plotgate: REFUSAL" on stderr.
int RefuseTarget(const CutterTarget& target);

// FindCutterTarget for a command that uses the cutter: 0; 1 when the settings cannot be
// read; EXIT_USAGE after "plotgate: REFUSAL" on stderr.
int FindUsableTarget(const Choices& given, const std::string& iniPath, CutterTarget& target);
