// The texts that the remembered distances and numbers may hold: what the command line
// takes as an option, what the dialog lets a send save, and so what a command may take
// from the settings file. A distance is decimal digits with at most one "." (no sign,
// exponent, comma or words) within its range; a number, decimal digits within its range.
#pragma once

#include <cstddef>
#include <string>

#include "settings/Choices.h"

struct MillimetreRange {
  double min;
  const char* minText;
  double max;
  const char* maxText;
  size_t maxLength;  // the most characters the text may have; 0 for any
};

// The blade offset (its blade's offset is well under a millimetre) and the over-cut (a
// few millimetres free any shape), no longer than the job file writer reads of them; the
// weed border.
extern const MillimetreRange BLADE_OFFSET_RANGE;
extern const MillimetreRange OVER_CUT_RANGE;
extern const MillimetreRange WEED_BORDER_RANGE;
// The media's width across the roll, and the panels' overlap across it and gap along it.
extern const MillimetreRange MEDIA_WIDTH_RANGE;
extern const MillimetreRange PANEL_OVERLAP_RANGE;
extern const MillimetreRange PANEL_GAP_RANGE;

// Why `text` is not a distance in `range`, naming the text ("\"2.5\" is outside a number of
// mm from 0.01 to 2"); "" when it is one. The text itself goes on to the job unchanged.
std::string MillimetreProblem(const std::string& text, const MillimetreRange& range);

// A whole-number choice the job sends to the cutter, and the unit it is counted in.
struct WholeRange {
  int min;
  int max;
  const char* unit;
};

// The knife force (grams) and speed (cm/s) the job's header may set.
const int MAX_FORCE_GRAMS = 1000;
const int MAX_SPEED_CMS = 100;
extern const WholeRange FORCE_RANGE;
extern const WholeRange SPEED_RANGE;

// Why `text` is not a value in `range`, worded to follow the option's name ("takes grams
// from 1 to 1000, not \"1200\""); "" when it is one.
std::string WholeRangeProblem(const std::string& text, const WholeRange& range);

// Why `text` is not a whole number from `min` to `max` ("\"7\" is not a whole number from
// 1 to 5"); "" when it is one.
std::string WholeNumberProblem(const std::string& text, int min, int max);

// Why a panel overlap of `overlapText` does not go with a media width of `widthText` (both
// distances in their ranges): "the panel overlap (50 mm) must be smaller than the media
// width less 10 mm" when it is not, so that each panel moves on by 10 mm at least; ""
// when it is.
std::string PanelOverlapProblem(const std::string& overlapText, const std::string& widthText);

// An option of the dialog that cannot be taken: its check box's label and why. Both are ""
// when there is none.
struct OptionRefusal {
  std::string label;
  std::string reason;
};

// The first ticked option of the dialog whose text a send must not save, as the command
// line would refuse it; the panels, when the media width is ticked too, also refuse an
// overlap that PanelOverlapProblem refuses.
OptionRefusal RefusedOption(const Choices& choices);

// The dialog's words for an option it could not apply to the job: "The option \"Panels\"
// could not be applied: REASON".
std::string NotAppliedText(const OptionRefusal& refused);

// RefusedOption as one text, "Weed border: \"100\" is outside a number of mm from 0.5 to 50";
// "" when every ticked text may be saved.
std::string RefusedOptionText(const Choices& choices);
