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
  SavedChoices saved;      // the six choices; the dialog's first ones when there is no file
  std::string port;        // the command line's own remembered port; "" for none
  SavedCutOrder cutOrder;  // the cut order, in its own section
  bool any = false;        // whether the file held anything before this read
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
// what it remembers, under the settings lock. With `create` (a send, which saves into it)
// it is read as the dialog reads it, an absent file created empty; otherwise an absent file
// is left absent. Each entry that cannot be used as written gets a warning in
// `remembered.warnings` (SettingsWarnings.h). False, after "plotgate: cannot read the
// settings: REASON" on stderr, when it cannot be read, and before it is opened when it is
// no regular file (a FIFO, a device) or is larger than 1 MB, the REASON then starting with
// its path.
bool ReadRemembered(const std::string& iniPath, bool create, CIniFile& ini, Remembered& remembered);

// ReadRemembered, CompleteFromSaved and CompleteCutOrder for a command that cuts with the offset options
// (send, info --detail), which also refuses every value it takes from the file that the
// command line would refuse as an option (a model index beyond the table, a ticked box's
// distance "2.5" or "0,5", a weed border "100", passes "7"), as the job would then be cut
// with a choice the user could not ask for again. 0; 1 after the reading's message;
// EXIT_USAGE after one that names the value, its entry, why it is refused and the options
// that replace it: "plotgate: the saved weed border in FILE ([CutOrder] WeedBorder):
// "100" is outside a number of mm from 0.5 to 50; give --weed-border MM or --no-weed-border".
int CompleteFromSettings(SendChoices& choices, const RememberOptions& options, bool create, CIniFile& ini,
                         Remembered& remembered);

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
// controls: the model; the port, but only with the model (choosing another model picks
// its port, so a given --model leaves the port to that choice), and not when the saved
// port is entry 0 "VORN_USB", which the dialog replaces by the automatic choice for any
// model but the first; the check boxes; the texts, which an unticked box keeps too.
// A port the Port list cannot show, remembered by the last send (`rememberedPort`, "" for
// none), is taken instead of the saved Port index, so that a send never goes to a port the
// user did not choose.
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

// Remembers `port` when the Port list cannot show it and forgets any earlier one otherwise.
// The file is rewritten only when the entry changes, so a file without it stays as it is
// for sends on listed ports. Raises CFileException.
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

// Where a send would go, for the commands that use the cutter without sending a job.
struct CutterTarget {
  int model = 0;                      // ModelTable index
  std::string port;                   // "COM3", "VORN_USB" or a device path
  std::string usbSerialPort;          // the port found under the USB-serial prefix, "" when none
  std::vector<SerialDevice> devices;  // the serial devices of this system
  Remembered remembered;              // what the settings file remembers (read once, warned about once)
  std::string iniPath;                // the settings file read
};

// The model and port that `send` would take with the given options: completed from the
// settings file as send completes them, then the port the dialog would choose for the
// model, with what the file remembers. The settings file is read once, never created or
// changed. 0; 1 after a message on stderr when it cannot be read; EXIT_USAGE after one when
// its model index, taken, would be refused as --model.
int FindCutterTarget(const TargetOptions& options, CutterTarget& target);

// Fills in from `saved` the cut order the command line left out, as the dialog restores
// its controls: each box not given is ticked as remembered unless its --no- option is
// given, the weed border keeps its remembered text, and the passes are the remembered ones.
void CompleteCutOrder(CutOrderChoice& choice, const RememberOptions& options, const SavedCutOrder& saved);

// The cut order to remember for a send with `choice` (completed); an unticked weed border
// keeps the text `saved` holds.
SavedCutOrder CutOrderToRemember(const CutOrderChoice& choice, const SavedCutOrder& saved);
