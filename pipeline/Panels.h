// A job wider than the media, cut in panels that go out one after another along the roll
// in one job. The job's x extent lies across the roll (ToolPath.h), and only it is split:
//
//   count     with media width M, overlap o and a job W wide, n = ceil((W - o) / (M - o))
//             panels of width w = (W + (n - 1) o) / n; panel k covers x from k (w - o) to
//             k (w - o) + w of the job (its edges on whole units: k (W - o) / n rounded
//             down, and the next panel's left edge plus o, so that no panel is wider than
//             M and the last ends at W). With a weed border of margin m, M - 2 m takes the
//             place of M, so that each panel's border fits the media.
//   closed    paths are clipped as areas filled by the even-odd rule over all closed paths
//             (a counter is a hole): each piece is the outline inside the panel joined, along
//             the panel's edges, by new edges exactly where the filled area meets the edge.
//             A panel holds what lies on its edges (x from left to right inclusive);
//             where an outline crosses an edge, y is rounded to the nearest unit.
//   open      paths are clipped as lines.
//   placed    panel k is moved by (-left k, k (H + gap)), H being the job's extent along
//             the roll (with a weed border, H + 2 m: the gap lies between the borders).
//             A panel with nothing to cut is left out and counted; the next takes its place.
//   order     the cut order (CutOrder.h), the weed border round the panel's own rectangle
//             and the passes apply to each panel on its own, one panel after the other.
//
// A job that fits in one panel is not cut (CPlotJob): it is the job without panels, byte
// for byte.
#pragma once

#include <string>

#include "pipeline/CutOrder.h"
#include "pipeline/JobModel.h"
#include "pipeline/JobResult.h"

const int MAX_PANELS = 50;

// The media and how a job wider than it is cut, in plotter units.
struct PanelLayout {
  int32_t mediaWidth = 0;  // across the roll; 0 for no panels
  int32_t overlap = 0;     // what each panel shares with the next, across the roll
  int32_t gap = 0;         // along the roll, between one panel and the next

  bool IsOff() const { return mediaWidth <= 0; }
};

// How a job is cut: its panels and where their edges lie, relative to the job's left edge.
struct PanelPlan {
  int64_t count = 1;     // n; more than MAX_PANELS is refused
  int64_t jobWidth = 0;  // W
  int32_t overlap = 0;   // o
  double width = 0;      // w, in units (need not be whole)

  // The left and right edge of panel k (0 to count - 1).
  int64_t Left(int64_t k) const { return k * (jobWidth - overlap) / count; }
  int64_t Right(int64_t k) const { return Left(k + 1) + overlap; }
};

// The plan for a job `jobWidth` units across: one panel when the layout is off or the job
// fits. A width less the weed border's margins that leaves no more than the overlap counts
// as one unit more than it, which gives a count beyond any limit.
PanelPlan PlanPanels(int64_t jobWidth, const PanelLayout& layout, int32_t weedMargin);

// What the panels of a job came to.
struct PanelReport {
  PanelPlan plan;
  int64_t empty = 0;  // panels left out, with nothing to cut
};

// Builds in `out` the job `points` (whose bounds are `bounds`) cut in the panels of `plan`,
// each in `order`, and its bounds, moved to the origin, in `outBounds`; `points` is left
// as it was. A move that cuts nothing is left out. JOB_DONE; JOB_TOO_MANY_PANELS when the
// plan has more than MAX_PANELS; JOB_TOO_LARGE when the panels would take more than
// MAX_JOB_POINTS points; JOB_NO_MEMORY when memory runs out. On failure `out` is null.
// `report`, when given, receives the plan and the panels left out.
JobResult CutPanels(PointList points, const JobBounds& bounds, const PanelPlan& plan, const PanelLayout& layout,
                    const CutOrder& order, PointList& out, JobBounds& outBounds, PanelReport* report = nullptr);

// "51 panels of 50.00 mm: is the media width right?" when the plan has more than
// MAX_PANELS panels; "" otherwise.
std::string PanelCountProblem(const PanelPlan& plan);

// The panels line of a job's details: "3 of 110.00 mm across the roll, overlap 10.00 mm",
// with " (1 empty, left out)" after the count when panels were left out.
std::string PanelText(const PanelReport& report);

// "the job is 310.00 mm across the roll, wider than the media (120 mm): turn it (--rotate
// 90) or cut it in panels (--panels)" when the job of `bounds` (weed border included) is
// wider than `mediaWidth` units; "" when it fits or there is no media width.
std::string MediaWidthProblem(const JobBounds& bounds, int32_t mediaWidth);
