#include "pipeline/Registration.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "pipeline/Geometry.h"

namespace {

const char* const DEGREE = "\xC2\xB0";
const double PI = 3.14159265358979323846;

double Degrees(double radians) { return radians * 180 / PI; }

// `value` with `decimals` decimals, never "-0.00".
std::string Fixed(double value, int decimals) {
  char text[64];
  snprintf(text, sizeof text, "%.*f", decimals, value);
  if (text[0] == '-' && text[strspn(text, "-0.")] == '\0') return text + 1;
  return text;
}

// Units as millimetres with two decimals.
std::string Millimetres(double units) { return Fixed(units / PLOT_UNITS_PER_MM, 2); }

double Distance(double dx, double dy) { return std::hypot(dx, dy); }

// The similarity (turn, scale, move) that puts `one` and `two` exactly where they were
// measured; false when the drawing has them at one place.
bool Similarity(const MeasuredMark& one, const MeasuredMark& two, Placement& map) {
  // As complex numbers: measured = k * design + m, with the cutter's first coordinate as
  // the real part and its second as the imaginary one.
  const double dx = static_cast<double>(two.design.x) - one.design.x;
  const double dy = static_cast<double>(two.design.y) - one.design.y;
  const double mx = static_cast<double>(two.measured.x) - one.measured.x;
  const double my = static_cast<double>(two.measured.y) - one.measured.y;
  const double length2 = dx * dx + dy * dy;
  if (length2 == 0) return false;
  const double kr = (mx * dx + my * dy) / length2, ki = (my * dx - mx * dy) / length2;
  map = Placement{kr, -ki, 0, ki, kr, 0};
  map.c = one.measured.x - (kr * one.design.x - ki * one.design.y);
  map.f = one.measured.y - (ki * one.design.x + kr * one.design.y);
  return true;
}

// The affine map of least squares over the marks (exact for three): each cutter
// coordinate fitted on its own, about the marks' centre; false when they lie on one line.
bool Affine(const std::vector<MeasuredMark>& marks, Placement& map) {
  double cx = 0, cy = 0, cu = 0, cv = 0;
  for (const MeasuredMark& m : marks) {
    cx += m.design.x;
    cy += m.design.y;
    cu += m.measured.x;
    cv += m.measured.y;
  }
  const double n = static_cast<double>(marks.size());
  cx /= n;
  cy /= n;
  cu /= n;
  cv /= n;
  double sxx = 0, sxy = 0, syy = 0, sxu = 0, syu = 0, sxv = 0, syv = 0;
  for (const MeasuredMark& m : marks) {
    const double x = m.design.x - cx, y = m.design.y - cy, u = m.measured.x - cu, v = m.measured.y - cv;
    sxx += x * x;
    sxy += x * y;
    syy += y * y;
    sxu += x * u;
    syu += y * u;
    sxv += x * v;
    syv += y * v;
  }
  const double det = sxx * syy - sxy * sxy;
  if (det == 0) return false;
  map.a = (sxu * syy - syu * sxy) / det;
  map.b = (syu * sxx - sxu * sxy) / det;
  map.d = (sxv * syy - syv * sxy) / det;
  map.e = (syv * sxx - sxv * sxy) / det;
  map.c = cu - map.a * cx - map.b * cy;
  map.f = cv - map.d * cx - map.e * cy;
  return true;
}

// The distance in units from where `mark` was measured to where `map` puts it.
double Misfit(const Placement& map, const MeasuredMark& mark) {
  const double u = map.a * mark.design.x + map.b * mark.design.y + map.c;
  const double v = map.d * mark.design.x + map.e * mark.design.y + map.f;
  return Distance(u - mark.measured.x, v - mark.measured.y);
}

// The turn, scales and skew of the fit's map against the quarter turn the cutter takes
// the drawing with: undone, the drawing's x axis goes to (-d, a) and its y axis to (-e, b).
void Read(PlacementFit& fit) {
  const Placement& m = fit.map;
  fit.turn = Degrees(std::atan2(m.a, -m.d));
  fit.skew = Degrees(std::atan2(m.e, m.b)) - fit.turn;
  if (fit.skew > 180) fit.skew -= 360;
  if (fit.skew < -180) fit.skew += 360;
  fit.scaleX = Distance(m.a, m.d);
  fit.scaleY = Distance(m.b, m.e);
}

// Why the marks lie too far from the drawing's for a sheet loaded and printed as meant.
std::string Refusal(const PlacementFit& fit) {
  if (std::fabs(fit.turn) > MAX_TURN_DEGREES)
    return "the sheet is turned " + Fixed(std::fabs(fit.turn), 1) + DEGREE +
           ": is it loaded the way the drawing shows?";
  // Marks measured in the wrong order lay the drawing's corners crooked, or flat.
  if (std::fabs(fit.skew) > MAX_TURN_DEGREES)
    return "the marks are skewed " + Fixed(std::fabs(fit.skew), 1) + DEGREE +
           ": was each mark measured under its own number?";
  const double worst = std::fabs(fit.scaleX - 1) >= std::fabs(fit.scaleY - 1) ? fit.scaleX : fit.scaleY;
  if (std::fabs(worst - 1) > MAX_SCALE_CHANGE)
    return "the marks are " + Fixed(std::fabs(worst - 1) * 100, 1) + "% " +
           (worst > 1 ? "farther apart" : "closer together") +
           " than in the drawing: was it printed at 100% (not \"fit to page\")?";
  if (fit.misfit > MAX_MISFIT_UNITS)
    return "mark " + std::to_string(fit.misfitMark) + " lies " + Millimetres(fit.misfit) +
           " mm from where the four marks together put it: measure the marks again";
  return "";
}

}  // namespace

IntPoint PlacedPoint(const Placement& map, double x, double y) {
  return IntPoint{TruncToCoord(std::round(map.a * x + map.b * y + map.c)),
                  TruncToCoord(std::round(map.d * x + map.e * y + map.f))};
}

bool UnplacedPoint(const Placement& map, double first, double second, double& x, double& y) {
  const double det = map.a * map.e - map.b * map.d;
  if (det == 0) return false;
  const double u = first - map.c, v = second - map.f;
  x = (map.e * u - map.b * v) / det;
  y = (map.a * v - map.d * u) / det;
  return true;
}

bool PredictedMark(const std::vector<MeasuredMark>& measured, IntPoint design, IntPoint& at) {
  if (measured.empty()) return false;
  // The cutter's first coordinate is the drawing's y, its second the drawing's x reversed.
  const MeasuredMark& one = measured[0];
  Placement map = {0,  1, static_cast<double>(one.measured.x) - one.design.y,
                   -1, 0, static_cast<double>(one.measured.y) + one.design.x};
  if (measured.size() > 1) Similarity(one, measured[1], map);
  at = PlacedPoint(map, design.x, design.y);
  return true;
}

std::string FitPlacement(const std::vector<MeasuredMark>& marks, PlacementFit& fit) {
  fit = PlacementFit();
  fit.marks = static_cast<int>(marks.size());
  Placement pair = {0, 0, 0, 0, 0, 0};
  if (marks.size() < 2 || !Similarity(marks[0], marks[1], pair))
    return "marks 1 and 2 lie at one place in the drawing: place them apart";
  if (marks.size() == 2) {
    fit.map = pair;
  } else {
    const IntPoint o = marks[0].design, p = marks[1].design, q = marks[2].design;
    const double ux = static_cast<double>(p.x) - o.x, uy = static_cast<double>(p.y) - o.y;
    const double vx = static_cast<double>(q.x) - o.x, vy = static_cast<double>(q.y) - o.y;
    const double lengths = Distance(ux, uy) * Distance(vx, vy);
    if (lengths == 0 || std::fabs(ux * vy - uy * vx) / lengths < MIN_MARK_ANGLE_SINE || !Affine(marks, fit.map))
      return "marks 1, 2 and 3 lie almost on one line: place mark 3 away from the line through 1 and 2";
    fit.thirdOff = Misfit(pair, marks[2]);
    if (marks.size() > 3) {
      for (const MeasuredMark& m : marks) {
        const double off = Misfit(fit.map, m);
        if (off > fit.misfit || fit.misfitMark == 0) {
          fit.misfit = off;
          fit.misfitMark = m.number;
        }
      }
    }
  }
  Read(fit);
  return Refusal(fit);
}

std::string PlacementResultLine(const PlacementFit& fit) {
  std::string line = "turned " + Fixed(fit.turn, 2) + DEGREE + ", scale " + Fixed(fit.scaleX * 100, 2) + "% x " +
                     Fixed(fit.scaleY * 100, 2) + "%, skew " + Fixed(fit.skew, 2) + DEGREE + "; ";
  if (fit.marks > 3) return line + "largest misfit " + Millimetres(fit.misfit) + " mm";
  return line + std::to_string(fit.marks) + " marks fit exactly";
}

std::string OtherDrawingProblem(const std::vector<MeasuredMark>& measured, const DrawingMarks& drawing) {
  const double most = 0.05 * PLOT_UNITS_PER_MM;
  for (const MeasuredMark& m : measured) {
    const std::string there = "mark " + std::to_string(m.number) + " is at " + Millimetres(m.design.x) + ", " +
                              Millimetres(m.design.y) + " mm there and ";
    if (m.number < 1 || m.number > MAX_MARKS || !drawing.has[m.number - 1]) return there + "missing here";
    const IntPoint here = drawing.at[m.number - 1];
    if (Distance(static_cast<double>(here.x) - m.design.x, static_cast<double>(here.y) - m.design.y) > most)
      return there + Millimetres(here.x) + ", " + Millimetres(here.y) + " mm here";
  }
  return "";
}
