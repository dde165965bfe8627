#include "pipeline/JobPlacement.h"

#include <cstdio>

#include "pipeline/JobFileWriter.h"

std::string MissingMarksProblem(const std::vector<MeasuredMark>& marks) {
  bool has[MAX_MARKS] = {false, false, false, false};
  for (const MeasuredMark& mark : marks) {
    if (mark.number >= 1 && mark.number <= MAX_MARKS) has[mark.number - 1] = true;
  }
  if (!has[0] || !has[1]) return "set marks 1 and 2 at least to place the sheet";
  if (has[3] && !has[2]) return "mark 4 is used only with mark 3; set mark 3 too";
  return "";
}

std::string PlacementExcluded(const CPlotJob& job) {
  if (job.MirrorState != MIRROR_NORMAL || job.RotateState != ROTATE_0) {
    return "the job is mirrored or turned, and the marks place the drawing as it was printed: undo the mirror and "
           "the rotation first";
  }
  // Panels would move the drawing's pieces apart.
  if (job.GetPanels().plan.count > 1) {
    return "the job is cut in panels, and the marks place the drawing as it was printed: turn the panels off first";
  }
  return "";
}

std::string PlaceJob(CPlotJob& job, const std::vector<MeasuredMark>& marks, PlacementFit& fit) {
  std::string refusal = PlacementExcluded(job);
  if (refusal.empty()) refusal = MissingMarksProblem(marks);
  if (refusal.empty()) refusal = FitPlacement(marks, fit);
  if (!refusal.empty()) return refusal;
  const std::optional<Placement> before = job.m_placement;
  job.m_placement = fit.map;
  const JobResult prepared = PrepareJobForWriting(job);
  if (prepared != JOB_DONE) {
    job.m_placement = before;
    return std::string("cannot encode the job: ") + JobResultText(prepared);
  }
  const int64_t beyond = BeyondCutterOrigin(job);
  if (beyond > 0) {
    job.m_placement = before;
    char text[160];
    snprintf(text, sizeof text, "the job would reach %.2f mm beyond the cutter's origin: move the origin or the sheet",
             static_cast<double>(beyond) / PLOT_UNITS_PER_MM);
    return text;
  }
  return "";
}
