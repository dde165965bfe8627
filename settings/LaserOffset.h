// The laser pointer's offset from the knife, measured once per cutter model and kept in
// the settings file beside the remembered choices:
//
//   [Registration]
//   LaserOffset5=-412,96
//
// The key ends in the model's index in the model table; the value is where the knife cut a
// cross less where the head was with the dot on its centre, in cutter units (first along
// the roll, second across), two decimal integers with an optional "-" and one "," between.
// A model without the entry, or with one that is not such a pair within
// LASER_OFFSET_MAX_UNITS, has no offset: the knife tip is aimed at the marks. The entry is
// not a row of the choices' table: there is one for each model, written only by the
// calibration, never by a send.
#pragma once

#include <string>

#include "pipeline/JobModel.h"
#include "settings/IniFile.h"

const char* const LASER_OFFSET_SECTION = "Registration";
const char* const LASER_OFFSET_KEY = "LaserOffset";

// The farthest a laser dot is taken to lie from the knife on either axis: 100 mm.
const int32_t LASER_OFFSET_MAX_UNITS = 100 * PLOT_UNITS_PER_MM;

// The key of `model`'s offset: "LaserOffset5".
std::string LaserOffsetKey(int model);

// The model whose offset `key` holds, or -1 when it is no model's laser offset key.
int LaserOffsetModel(const std::string& key);

// "DX,DY" for `offset`.
std::string LaserOffsetText(IntPoint offset);

// Reads "DX,DY" into `offset`; false, leaving it as it was, when `text` is no such pair
// within LASER_OFFSET_MAX_UNITS.
bool ReadLaserOffsetText(const std::string& text, IntPoint& offset);

// The offset `ini` holds for `model`; 0,0 when it holds none that reads. Raises
// CFileException; the lookup creates an absent file empty, as every lookup does.
IntPoint LaserOffsetOf(CIniFile& ini, int model);

// The offset measured with the head at `head` and the dot on the calibration cross's
// centre (pipeline/LaserCross.h): the cross's place less the head's, in `offset`. False,
// leaving it as it was, when the dot would lie beyond LASER_OFFSET_MAX_UNITS.
bool LaserOffsetFromCross(IntPoint head, IntPoint& offset);

// Keeps `offset` as `model`'s in `ini`. Raises CFileException.
void WriteLaserOffset(CIniFile& ini, int model, IntPoint offset);
