// plotgate marks without --mark: the head jogged to each registration mark from the
// keyboard, on a cutter found as frame finds it, through its send session.
//
//   arrows   move the head one step (Up along the roll, Right across towards the origin)
//   [ ]      the step: 0.1, 1 or 10 mm
//   1 to 4   the mark to go to and to set
//   g        go to where the mark should be, from the marks set so far
//   Enter    set the mark where the head (or the laser dot) is
//   q        end (Ctrl-C and the end of the input too)
#pragma once

#include <functional>
#include <string>

#include "cutter/JogSession.h"
#include "cutter/SendSession.h"
#include "pipeline/PlotJob.h"
#include "pipeline/RegistrationFile.h"
#include "settings/Choices.h"

// The keys of a jog: the terminal's in raw mode, or for a test those in the file
// `keysPath` (bytes as a terminal sends them) when it is not "". Null, after a message on
// stderr, when the file cannot be read.
std::function<int()> JogKeys(const std::string& keysPath);

// A cutter opened for jogging: the model and port taken as frame takes them.
struct JogCutter {
  int model = 0;
  std::string port;     // as the messages name it
  std::string iniPath;  // the settings file read
  Choices used;         // the choices in use, the tool's among them
  IntPoint laserOffset = {0, 0};
  CSendSession session;
};

// Finds the cutter the choices `given` and the settings file `iniPath` name, reads its
// laser offset, and opens its session. 0; otherwise the exit code after a message on
// stderr (the settings refused, the maker's USB link, which takes no jog, a port that does
// not open).
int OpenJogCutter(const Choices& given, const std::string& iniPath, JogCutter& cutter);

// Runs the keys of `keys` on `jog` until q, Ctrl-C or the end of the keys: the arrows and
// the step keys move the head, every other key goes to `other`, which returns false to
// end. Each move that fails ends it too. The outcome of the last send.
SendOutcome RunJogKeys(CJogSession& jog, const std::function<int()>& keys, const std::function<bool(int key)>& other);

// The exit code after a failed jog on `cutter`, and the message on stderr.
int JogFailure(const JogCutter& cutter, SendOutcome outcome);

// Jogs to the marks of the loaded `job` on the cutter of `given` and `iniPath` with the keys
// `keys` (JogKeys), and puts the marks set, in the order of their numbers, and the laser
// offset in `record`. 0 when marks 1 and 2 at least are set (mark 4 only with mark 3);
// otherwise the exit code after a message on stderr.
int JogToMarks(const CPlotJob& job, const Choices& given, const std::string& iniPath, const std::function<int()>& keys,
               RegistrationRecord& record);
