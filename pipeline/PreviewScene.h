// What the preview draws of a job: its lines, its registration marks' centres and the
// bounds its frame and the media's edge are measured from. A job holding a placement on a
// printed sheet is drawn where the cutter will cut it: its points through the placement,
// up the cutter's first coordinate and right against its second (as the jog's arrows move
// the head), in a frame that takes in the cutter's origin at the bottom right, so that the
// drawing's offset and turn on the sheet show.
#pragma once

#include <optional>
#include <vector>

#include "pipeline/JobModel.h"
#include "pipeline/PlotJob.h"

class CPreviewScene {
 public:
  // The scene of `job`, which must stay as it is while the scene is used: an unplaced
  // job's points are its own.
  explicit CPreviewScene(const CPlotJob& job);
  CPreviewScene(const CPreviewScene&) = delete;
  CPreviewScene& operator=(const CPreviewScene&) = delete;

  PointList Points() const { return m_pPoints; }
  // The job's bounds; placed, those of its lines, its marks and the cutter's origin,
  // which lies at their largest x and y = 0.
  const JobBounds& Bounds() const { return m_bounds; }
  const std::vector<IntPoint>& Marks() const { return m_marks; }
  // The places the frame takes in besides the points: the marks, and placed the origin.
  const std::vector<IntPoint>& AlsoFit() const { return m_alsoFit; }
  // Where the cutter's origin lies in the scene of a placed job; none for another.
  const std::optional<IntPoint>& CutterOrigin() const { return m_origin; }

 private:
  std::vector<PlotPoint> m_placed;  // a placed job's moves and lines, linked in its order
  PointList m_pPoints = nullptr;
  JobBounds m_bounds = {0, 0, 0, 0};
  std::vector<IntPoint> m_marks;
  std::vector<IntPoint> m_alsoFit;
  std::optional<IntPoint> m_origin;
};
