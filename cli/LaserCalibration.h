// plotgate marks --calibrate-laser [--model NAME] [--port PORT] [--ini FILE]: the laser
// pointer's offset from the knife, for aiming at the marks with the dot. The knife cuts a
// cross, the user jogs the dot onto its centre and presses Enter, and the offset (the
// cross's place less the head's) is kept for the model in the settings file
// (settings/LaserOffset.h).
#pragma once

#include <functional>
#include <string>

#include "pipeline/JobModel.h"
#include "settings/Choices.h"

// The cross: two cuts LASER_CROSS_SIZE long, crossing at (LASER_CROSS_AT, LASER_CROSS_AT)
// in cutter units: 10 mm at (20, 20) mm.
const int LASER_CROSS_AT = 20 * PLOT_UNITS_PER_MM;
const int LASER_CROSS_SIZE = 10 * PLOT_UNITS_PER_MM;

// Cuts the cross on the cutter of `given` and `iniPath` (as frame finds it) with the tool
// choices in use, jogs with the keys `keys` (JogKeys) from its centre until Enter, and saves
// the offset. 0; otherwise the exit code after a message on stderr (also when the keys end
// without Enter: nothing is saved then).
int CalibrateLaser(const Choices& given, const std::string& iniPath, const std::function<int()>& keys);
