// The placement of a job on a printed sheet: where the drawing's registration marks were
// measured on the cutter (the head put on each cross) gives the map from the drawing's
// coordinates to the cutter's, which the job file then takes instead of its own.
//
//   2 marks   a similarity: one turn, one scale and a move, never a reflection
//   3 marks   the affine map that puts each of the three exactly where it was measured
//   4 marks   the affine map of least squares over the four
//
// The cutter's coordinates are its own: the first along the roll, the second across it.
// It takes a drawing turned a quarter (its first coordinate is the drawing's y, its second
// the drawing's x reversed), so the turn, scales and skew reported are the map's against
// that: 0°, 100% x 100%, 0° for a sheet placed exactly as the job file would put it.
#pragma once

#include <string>
#include <vector>

#include "pipeline/JobModel.h"

// One measured mark: its number, where the drawing puts it (exchange units, before the
// job's move to the origin) and where it was found on the cutter (cutter units).
struct MeasuredMark {
  int number;
  IntPoint design;
  IntPoint measured;
};

// The map from the drawing to the cutter: first = a x + b y + c, second = d x + e y + f.
struct Placement {
  double a, b, c, d, e, f;
};

// The cutter's point for the drawing's (x, y): the map's, rounded to the nearest unit with
// halves away from zero, held at the int32 limits.
IntPoint PlacedPoint(const Placement& map, double x, double y);

// The drawing's point that `map` puts at the cutter's (first, second), in `x` and `y`;
// false, leaving them as they were, when the map lays the drawing onto a line.
bool UnplacedPoint(const Placement& map, double first, double second, double& x, double& y);

// Where the drawing's mark at `design` (exchange units) should be on the cutter, from the
// marks measured so far (`measured`, in the order they were measured): after one, moved
// as that one is, with the quarter turn the cutter takes the drawing with; after two or
// more, by the similarity of the first two (the translation of the first when the drawing
// has them at one place). Rounded as PlacedPoint rounds. False, leaving `at` as it was,
// with none measured.
bool PredictedMark(const std::vector<MeasuredMark>& measured, IntPoint design, IntPoint& at);

// A placement found from measured marks and how it reads.
struct PlacementFit {
  Placement map = {0, 0, 0, 0, 0, 0};
  int marks = 0;
  // Degrees the drawing's x axis is turned on the sheet, counterclockwise as the preview
  // shows the drawing; the skew is how far its y axis is turned beyond that.
  double turn = 0;
  double skew = 0;
  // How much longer the drawing's x and y lengths come out (1 for as drawn).
  double scaleX = 1;
  double scaleY = 1;
  // 4 marks: the largest distance in units between a mark's measured place and where the
  // map puts it, and that mark's number (0 with fewer marks).
  double misfit = 0;
  int misfitMark = 0;
  // 3 marks or more: the distance in units between where mark 3 was measured and where
  // the similarity of marks 1 and 2 puts it (-1 with 2 marks).
  double thirdOff = -1;
};

// The largest turn (and skew) and the largest change of scale on either axis that a
// placement may have, and the largest misfit of 4 marks (units): beyond them the sheet was
// loaded the wrong way, printed at another size or measured wrongly.
const double MAX_TURN_DEGREES = 10;
const double MAX_SCALE_CHANGE = 0.03;
const double MAX_MISFIT_UNITS = 40;
// The least sine of the angle at mark 1 between the lines to marks 2 and 3.
const double MIN_MARK_ANGLE_SINE = 0.1;

// Fits the placement to `marks`: marks 1 and 2, then 3 and 4 when measured, in that order.
// "" with the fit in `fit`; otherwise why the marks are refused (no "plotgate: " before
// it), such as "the sheet is turned 23.5°: is it loaded the way the drawing shows?".
std::string FitPlacement(const std::vector<MeasuredMark>& marks, PlacementFit& fit);

// How the fit reads: "turned 0.42°, scale 100.04% x 100.30%, skew 0.09°; 3 marks fit
// exactly", or with 4 marks "...; largest misfit 0.08 mm".
std::string PlacementResultLine(const PlacementFit& fit);

// Why marks measured for the drawing marks `measured` do not belong to the drawing whose
// marks are `drawing`: "mark 2 is at 200.00, 0.00 mm there and 180.00, 0.00 mm here" for
// the first mark that the drawing lacks or holds more than 0.05 mm away; "" when they
// belong to it.
std::string OtherDrawingProblem(const std::vector<MeasuredMark>& measured, const DrawingMarks& drawing);
