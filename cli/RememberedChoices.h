// The send's memory: like the dialog, `plotgate send` starts from the choices saved in the
// settings file and saves its own once the cutter is open, so that the command line and
// the dialog remember the same six choices.
#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <vector>

#include "cli/CliCommon.h"
#include "cutter/PortDiscovery.h"
#include "settings/CutOrderSettings.h"
#include "settings/Settings.h"

// Which settings file, and the options that untick a box the file has ticked.
struct RememberOptions {
  std::string iniPath;  // --ini; "" for DefaultSettingsPath()
  bool noBladeOffset = false;
  bool noOverCut = false;
  bool noInsideFirst = false;
  bool noShortestTravel = false;
  bool noWeedBorder = false;
};

// Adds --ini, --no-blade-offset, --no-overcut, --no-inside-first, --no-shortest-travel and
// --no-weed-border to a subcommand that already has the cutter and job options. Each --no- option excludes its ticking
// option, and the edit texts must be one line, as a line break would split the settings file's entry.
void AddRememberOptions(CLI::App& command, RememberOptions& options);

// Adds --no-inside-first, --no-shortest-travel and --no-weed-border (each excluding its
// ticking option) to a subcommand that already has the job options; the weed border's text
// must be one line.
void AddCutOrderOffOptions(CLI::App& command, RememberOptions& options);

// What the settings file remembers, read once for a command.
struct Remembered {
  SavedChoices saved;       // the six choices; the dialog's first ones when there is no file
  std::string port;         // the command line's own remembered port; "" for none
  SavedCutOrder cutOrder;   // the cut order, in its own section
  bool any = false;         // whether the file held anything before this read
  bool modelSaved = false;  // whether the file names a model at all
  // The saved model index and passes as the file holds them, checked before they are taken.
  std::string modelText = "0";
  std::string passesText = "1";
  // What cannot be used as written, "line N: ...": said only once the command has accepted
  // what it takes (PrintSettingsWarnings), since a value it refuses is told as a refusal.
  std::vector<std::string> warnings;
};

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

// ReadRemembered, CompleteFromSaved and CompleteCutOrder for a command that cuts with the offset options
// (send, info --detail), which also refuses every value it takes from the file that the
// command line would refuse as an option (a model index beyond the table, a ticked box's
// distance "2.5" or "0,5", a weed border "100", passes "7"), as the job would then be cut
// with a choice the user could not ask for again. 0; 1 after the reading's message;
// EXIT_USAGE after one that names the value, its entry, why it is refused and the options
// that replace it: "plotgate: the saved weed border in FILE ([CutOrder] WeedBorder):
// "100" is outside a number of mm from 0.5 to 50; give --weed-border MM or --no-weed-border".
int CompleteFromSettings(SendChoices& choices, const RememberOptions& options, CIniFile& ini, Remembered& remembered);

// The cut order check of CompleteFromSettings, for `used` completed from `remembered`
// (read from the file at `iniPath`) where the command line gave `given`: false after the
// message when a value taken from the file would be refused as an option.
bool CutOrderAccepted(const CutOrderChoice& given, const CutOrderChoice& used, const Remembered& remembered,
                      const std::string& iniPath);

// Saves the choices of a send on `port`, completed, into the settings file `ini` names: under
// the settings lock it reads what the file holds now and writes the six, the remembered
// port and the cut order, so that the file holds this send's choices whole whatever other
// program saves at the same time. Raises CFileException.
void RememberSend(CIniFile& ini, const SendChoices& choices, const std::string& port);

// Fills in from `saved` whatever the command line left out, as the dialog restores its
// controls: the model; the port, with or without a given model (a send goes where the last
// one went unless told otherwise), but not when the saved port is entry 0 "VORN_USB",
// which the dialog replaces by the automatic choice for any model but the first; the check
// boxes; the texts, which an unticked box keeps too. A port the Port list cannot show,
// remembered by the last send (`rememberedPort`, "" for none), is taken instead of the
// saved Port index, so that a send never goes to a port the user did not choose.
void CompleteFromSaved(SendChoices& choices, const RememberOptions& options, const SavedChoices& saved,
                       const std::string& rememberedPort = "");

// The six values to save for a send on `port`. The port is saved as its Port list index;
// a port the list cannot show (a device path, a COM number above 30) keeps the index
// `saved` holds.
SavedChoices ChoicesToRemember(const SendChoices& choices, const std::string& port, const SavedChoices& saved);

// The command line's own entry beside the six: "Port" in "[CommandLine]", which the dialog
// never reads, holds the port of the last send when the Port list cannot show it (a device
// path, a COM number above 30), and is empty otherwise.
extern const char* const REMEMBERED_PORT_SECTION;
extern const char* const REMEMBERED_PORT_KEY;

// The remembered port text, "" when there is none. Raises CFileException.
std::string ReadRememberedPort(CIniFile& ini);

// Remembers `port` when the Port list cannot show it and forgets any earlier one otherwise,
// removing the entry (an empty one is never written). The file is rewritten only when the
// entry changes, so a file without it stays as it is for sends on listed ports. Raises
// CFileException.
void WriteRememberedPort(CIniFile& ini, const std::string& port);

// The choices of a command that uses the cutter without sending a job: --model, --port
// and --ini, each as send takes it.
struct TargetOptions {
  int model = -1;       // ModelTable index; -1 when not given
  std::string port;     // "" when not given
  std::string iniPath;  // "" for DefaultSettingsPath()
};

// Adds --port PORT, as send and the commands that use the cutter without a job take it.
void AddPortOption(CLI::App& command, std::string& port);

// Adds --model NAME|INDEX, --port PORT and --ini FILE to such a command.
void AddTargetOptions(CLI::App& command, TargetOptions& options);

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
  // Why no send can go out with these choices, "" when one can: "no cutter model chosen
  // yet: ..." when no model was given and none is remembered (the first model is then only
  // a default), or "no serial device found for ..." when no port was given or remembered
  // and the model's rule finds none where there is no fallback.
  std::string refusal;
};

// The port a send takes for a protocol when none is given or remembered: the one the
// protocol's rule finds, else UnmatchedPortFallback() ("" on Linux).
std::string AutomaticPort(int protocol, const std::vector<SerialDevice>& devices);

// The target of a send with `choices` completed from the settings file (`given` as the
// command line gave them), among the serial devices `devices`: the model, the port given or remembered, else
// AutomaticPort, with the refusal when there is one.
CutterTarget TargetOf(const SendChoices& given, const SendChoices& choices, const Remembered& remembered,
                      const std::vector<SerialDevice>& devices);

// The model and port that `send` would take with the given options, completed from the
// settings file as send completes them, with what the file remembers. The settings file is
// read once, never created or changed. 0; 1 after a message on stderr when it cannot be
// read; EXIT_USAGE after one when its model index, taken, would be refused as --model.
int FindCutterTarget(const TargetOptions& options, CutterTarget& target);

// 0 when a send can go to `target`; EXIT_USAGE after "plotgate: REFUSAL" on stderr.
int RefuseTarget(const CutterTarget& target);

// FindCutterTarget for a command that uses the cutter: 0; 1 when the settings cannot be
// read; EXIT_USAGE after "plotgate: REFUSAL" on stderr.
int FindUsableTarget(const TargetOptions& options, CutterTarget& target);

// Fills in from `saved` the cut order the command line left out, as the dialog restores
// its controls: each box not given is ticked as remembered unless its --no- option is
// given, the weed border keeps its remembered text, and the passes are the remembered ones.
void CompleteCutOrder(CutOrderChoice& choice, const RememberOptions& options, const SavedCutOrder& saved);

// The cut order to remember for a send with `choice` (completed); an unticked weed border
// keeps the text `saved` holds.
SavedCutOrder CutOrderToRemember(const CutOrderChoice& choice, const SavedCutOrder& saved);
