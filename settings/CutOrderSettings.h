// The cut order choices the program remembers between runs, in a section of their own,
// "[CutOrder]" of "Plotgate.ini", beside the six of Settings.h (older versions read only
// those and ignore this section):
//
//   [CutOrder]
//   InsideFirst=1
//   ShortestTravel=1
//   ChkWeedBorder=1
//   WeedBorder=3
//   Passes=2
//
// An entry is written only when its value changes, so a file of a user who never changes
// the cut order never gains the section.
#pragma once

#include <string>

#include "pipeline/CutOrder.h"
#include "settings/IniFile.h"

extern const char* const CUT_ORDER_SECTION;
// The entries whose text a command checks before it takes it.
extern const char* const WEED_BORDER_KEY;
extern const char* const PASSES_KEY;

// The remembered cut order, as the dialog's controls hold it.
struct SavedCutOrder {
  int insideFirst = 0;               // Cut order: inner shapes first, 0 or 1
  int shortestTravel = 0;            // Cut order: nearest start next, 0 or 1
  int chkWeedBorder = 0;             // Weed border check box, 0 or 1
  std::string weedBorderText = "3";  // text of the weed border edit, millimetres, as typed
  int passes = 1;                    // 1 to 5
};

// Reads the remembered cut order: a check value other than 0 counts as 1 and a number of
// passes outside 1 to 5 is brought into it. Raises CFileException.
SavedCutOrder ReadSavedCutOrder(CIniFile& ini);

// Writes the entries whose value differs from what the file holds (or, without an entry,
// from its default). Raises CFileException.
void WriteSavedCutOrder(CIniFile& ini, const SavedCutOrder& choices);

// The pipeline's cut order for the remembered (or shown) choices: the weed border's text
// read with strtod and brought into its range, the passes into 1 to 5.
CutOrder CutOrderFromSaved(const SavedCutOrder& saved);
