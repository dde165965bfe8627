// A registration file as --registration reads it, and the placement its marks give: a
// file that reads must be written back to the same records, and the fit of any marks it
// holds must end in a placement or a refusal, never a crash; an accepted placement takes
// the drawing's corners to the sheet and back within a unit.
// Input: the file's text.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pipeline/Registration.h"
#include "pipeline/RegistrationFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  RegistrationRecord record;
  if (!ReadRegistrationText(text, record).empty()) {
    if (!record.marks.empty()) abort();  // a refused file leaves no marks
    return 0;
  }
  RegistrationRecord again;
  if (!ReadRegistrationText(RegistrationText(record), again).empty() ||
      RegistrationText(again) != RegistrationText(record))
    abort();
  PlacementFit fit;
  if (!FitPlacement(record.marks, fit).empty()) return 0;
  PlacementResultLine(fit);
  for (const MeasuredMark& mark : record.marks) {
    const IntPoint placed = PlacedPoint(fit.map, mark.design.x, mark.design.y);
    double x = 0, y = 0;
    // Back from the rounded place: the map's scale is within 3% of 1, so half a unit
    // either way comes back within a unit of the mark, unless the point was held at the
    // int32 limits.
    const bool held = placed.x == INT32_MIN || placed.x == INT32_MAX || placed.y == INT32_MIN || placed.y == INT32_MAX;
    if (!held && UnplacedPoint(fit.map, placed.x, placed.y, x, y) &&
        (std::fabs(x - mark.design.x) > 1 || std::fabs(y - mark.design.y) > 1))
      abort();
  }
  return 0;
}
