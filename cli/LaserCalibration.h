// plotgate marks --calibrate-laser [--model NAME] [--port PORT] [--ini FILE]: the laser
// pointer's offset from the knife, for aiming at the marks with the dot. The knife cuts a
// cross, the user jogs the dot onto its centre and presses Enter, and the offset (the
// cross's place less the head's) is kept for the model in the settings file
// (settings/LaserOffset.h).
#pragma once

#include <functional>
#include <string>

#include "settings/Choices.h"

// Cuts the cross on the cutter of `given` and `iniPath` (as frame finds it) with the tool
// choices in use, jogs with the keys `keys` (JogKeys) from its centre until Enter, and saves
// the offset. 0; otherwise the exit code after a message on stderr (also when the keys end
// without Enter: nothing is saved then).
int CalibrateLaser(const Choices& given, const std::string& iniPath, const std::function<int()>& keys);
