// The loaded job with the user's mirror and rotation choices: one holder shared by the
// dialog and the command-line front end.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pipeline/CutOrder.h"
#include "pipeline/ExchangeReader.h"
#include "pipeline/JobModel.h"
#include "pipeline/JobResult.h"
#include "pipeline/Panels.h"
#include "pipeline/Registration.h"

// MirrorState values double as the Mirror button's bitmap ids.
const int MIRROR_NORMAL = 139;
const int MIRROR_MIRRORED = 140;
// RotateState values double as the Rotate button's bitmap ids.
const int ROTATE_0 = 141;
const int ROTATE_90 = 142;
const int ROTATE_180 = 143;
const int ROTATE_270 = 144;

class CPlotJob {
 public:
  CPlotJob() = default;
  CPlotJob(const CPlotJob&) = delete;
  CPlotJob& operator=(const CPlotJob&) = delete;
  ~CPlotJob();

  // Reads the exchange file, flattens it and moves it to the origin. Returns 1 in every
  // case; a null path changes nothing, an unreadable file leaves both lists null. Why a
  // job could not be loaded is kept in m_loadResult and m_nLoadError.
  int LoadJob(const char* path);

  // True when both lists exist: what enables Send, Mirror and Rotate.
  bool HasJob() const { return m_pCommands && m_pPoints; }

  // Mirror, RotateTo, SetCutOrder and SetPanels either succeed or change nothing: a refused
  // choice (JOB_NO_MEMORY, JOB_TOO_LARGE, JOB_TOO_MANY_PANELS) leaves the points, their
  // bounds, the states, the cut order and the panels as they were, so that the caller can
  // say so and go on with the job it had.

  // The Mirror button: toggles MirrorState and mirrors the current points (rotation
  // included) about the vertical axis. The points change only when there is a job.
  // JOB_DONE, or why the cut order could not be applied again.
  JobResult Mirror();
  // A Rotate menu choice: RotateState becomes `quarterTurns` clockwise quarter turns (0 to
  // 3; others are taken modulo 4) and the points are rebuilt from the commands, mirrored
  // first when MirrorState is MIRROR_MIRRORED, then turned. The points change only when
  // there is a job. JOB_DONE, or why the points could not be rebuilt (JOB_NO_MEMORY,
  // JOB_TOO_LARGE).
  JobResult RotateTo(int quarterTurns);
  // The clockwise quarter turns RotateState stands for, 0 to 3.
  int QuarterTurns() const { return RotateState - ROTATE_0; }

  // The order and additions of the cut (CutOrder.h), all off by default. The points are
  // built again from the job's geometry with the new order. JOB_DONE, or why they could
  // not be (JOB_NO_MEMORY, JOB_TOO_LARGE).
  JobResult SetCutOrder(const CutOrder& order);
  const CutOrder& GetCutOrder() const { return m_cutOrder; }

  // The media and the panels a job wider than it is cut in (Panels.h), off by default:
  // applied after the mirror and the rotation, each panel then in the cut order. The points
  // are built again. JOB_DONE, or why they could not be (JOB_NO_MEMORY, JOB_TOO_LARGE,
  // JOB_TOO_MANY_PANELS).
  JobResult SetPanels(const PanelLayout& layout);
  const PanelLayout& GetPanelLayout() const { return m_panels; }
  // What the panels came to: one panel when the layout is off or the job fits.
  const PanelReport& GetPanels() const { return m_panelReport; }
  // The panels `layout` would cut the job in, as it is mirrored and turned now, with the
  // cut order's weed border: what a front end names when SetPanels refuses too many.
  PanelPlan PlanPanelsFor(const PanelLayout& layout) const;

  // LoadJob, Mirror, RotateTo, SetCutOrder and SetPanels leave the job at the origin, in
  // panels and the cut order, with m_bounds current.

  // The registration marks in the coordinates of m_pPoints, in the order of their numbers:
  // what the preview draws them at.
  std::vector<IntPoint> MarkPoints() const;

  // Width (x extent) and height (y extent) in millimetres, as the size fields show them.
  std::string WidthText() const;
  std::string HeightText() const;

  CommandList m_pCommands = nullptr;
  PointList m_pPoints = nullptr;
  JobBounds m_bounds = {0, 0, 0, 0};
  int MirrorState = MIRROR_NORMAL;
  int RotateState = ROTATE_0;
  // How the last LoadJob ended; anything but JOB_DONE leaves no job (both lists null).
  JobResult m_loadResult = JOB_DONE;
  // The error number of the open or read that failed the last LoadJob (JOB_CANNOT_OPEN,
  // JOB_READ_FAILED); 0 otherwise.
  int m_nLoadError = 0;
  // What the last LoadJob's reader met that the job may not show as the drawing meant it.
  ExchangeReport m_readReport;
  // The registration marks the last LoadJob read, in the drawing's coordinates.
  DrawingMarks m_marks;
  // Where the point (0, 0) of m_pPoints lies in the drawing's coordinates (the exchange
  // file's, before the move to the origin), which the marks and a placement are given in.
  // Kept by LoadJob, SetCutOrder and the writer's preparation; of no meaning once the job
  // is mirrored or turned, which a placement excludes.
  IntPoint m_drawingOrigin = {0, 0};
  // The placement from measured marks: when held, the job file maps the drawing's
  // coordinates through it instead of turning the job onto the cutter's axes itself.
  // LoadJob drops it.
  std::optional<Placement> m_placement;

 private:
  // The points before the panels and the cut order, and their bounds: m_pGeometry while
  // either is on, else m_pPoints itself.
  PointList& Geometry() { return m_pGeometry ? m_pGeometry : m_pPoints; }
  JobBounds& GeometryBounds() { return m_pGeometry ? m_geometryBounds : m_bounds; }
  const JobBounds& GeometryBounds() const { return m_pGeometry ? m_geometryBounds : m_bounds; }
  // Builds in `points`, with their bounds, the job's points from the commands again,
  // mirrored as MirrorState says and turned by `quarterTurns`: into the list's own nodes
  // where they fit, else a new list (`points` may be null) that replaces it once built;
  // nothing changes on failure.
  JobResult BuildGeometry(int quarterTurns, PointList& points, JobBounds& bounds);
  // Builds in `arranged` the points of `geometry` cut in `panels`, each in `order`, and in
  // `report` what the panels came to; `arranged` is null when the geometry is the job's
  // points as it is (the order off and one panel). `moved` receives the move of the cut
  // order's points to the origin (none for panels).
  static JobResult Arrange(PointList geometry, const JobBounds& geometryBounds, const CutOrder& order,
                           const PanelLayout& panels, PointList& arranged, JobBounds& arrangedBounds,
                           PanelReport& report, IntPoint& moved);
  // Makes m_pPoints the geometry arranged in `order` and `panels` and those the job's;
  // nothing changes on failure.
  JobResult OrderGeometry(const CutOrder& order, const PanelLayout& panels);
  // Takes `geometry` and `arranged`, its copy in panels and the cut order moved by `moved`
  // (null for the geometry itself), as the job's points, releasing the lists they replace.
  void TakeArranged(PointList geometry, const JobBounds& geometryBounds, PointList arranged,
                    const JobBounds& arrangedBounds, IntPoint moved);

  CutOrder m_cutOrder;
  PanelLayout m_panels;
  PanelReport m_panelReport;
  // Where the commands' (0, 0) lies in the drawing's coordinates: the corner the load
  // moved to the origin.
  IntPoint m_loadOrigin = {0, 0};
  // The points before the panels and the cut order, with their bounds; held only while
  // either changes them.
  PointList m_pGeometry = nullptr;
  JobBounds m_geometryBounds = {0, 0, 0, 0};
  // The nodes the commands flatten to: a geometry with as many takes them again in place.
  int64_t m_nFlattenedNodes = 0;
};
