#include "pipeline/PlotJob.h"

#include <cstdint>
#include <cstdlib>

#include "pipeline/Geometry.h"
#include "pipeline/SizeText.h"

CPlotJob::~CPlotJob() {
  FreeCommands(m_pCommands);
  FreePoints(m_pPoints);
  FreePoints(m_pGeometry);
}

namespace {

int64_t CountNodes(PointList points) {
  int64_t nodes = 0;
  for (PlotPoint* p = points; p; p = p->next) ++nodes;
  return nodes;
}

}  // namespace

int CPlotJob::LoadJob(const char* path) {
  if (!path) return 1;
  FreeCommands(m_pCommands);
  FreePoints(m_pPoints);
  FreePoints(m_pGeometry);
  m_placement.reset();
  m_loadResult = ReadExchangeFile(m_pCommands, path, &m_readReport, &m_nLoadError, &m_marks);
  if (m_loadResult == JOB_DONE) m_loadResult = FlattenCommands(m_pCommands, m_pPoints);
  if (m_loadResult != JOB_DONE) FreeCommands(m_pCommands);  // no half job
  m_nFlattenedNodes = CountNodes(m_pPoints);
  ComputeBounds(m_pPoints, m_bounds);
  // The command list moves with the points, so a later rotation rebuilds from the origin.
  const JobTransform toOrigin = OriginTranslation(m_bounds);
  TransformPoints(m_pPoints, toOrigin);
  TransformCommands(toOrigin, m_pCommands);
  // Adjusted by subtraction, not recomputed. The move is monotone, so maxX stays the
  // points' greatest x exactly, which Mirror starts from.
  m_bounds.maxX = TruncToCoord(static_cast<double>(m_bounds.maxX) + toOrigin.dx);
  m_bounds.maxY = TruncToCoord(static_cast<double>(m_bounds.maxY) + toOrigin.dy);
  m_bounds.minX = 0;
  m_bounds.minY = 0;
  m_loadOrigin = m_drawingOrigin =
      IntPoint{ClampToCoord(-static_cast<int64_t>(toOrigin.dx)), ClampToCoord(-static_cast<int64_t>(toOrigin.dy))};
  if (m_loadResult == JOB_DONE) {
    m_loadResult = OrderGeometry(m_cutOrder, m_panels);
    if (m_loadResult != JOB_DONE) {  // no half job
      FreeCommands(m_pCommands);
      FreePoints(m_pPoints);
    }
  }
  return 1;
}

JobResult CPlotJob::Arrange(PointList geometry, const JobBounds& geometryBounds, const CutOrder& order,
                            const PanelLayout& panels, PointList& arranged, JobBounds& arrangedBounds,
                            PanelReport& report, IntPoint& moved) {
  arranged = nullptr;
  moved = IntPoint{0, 0};
  report = PanelReport{};
  report.plan = PlanPanels(static_cast<int64_t>(geometryBounds.maxX) - geometryBounds.minX, panels, order.weedMargin);
  if (report.plan.count > 1)
    return CutPanels(geometry, geometryBounds, report.plan, panels, order, arranged, arrangedBounds, &report);
  if (order.IsOff()) return JOB_DONE;
  return OrderCuts(geometry, geometryBounds, order, arranged, arrangedBounds, nullptr, &moved);
}

JobResult CPlotJob::OrderGeometry(const CutOrder& order, const PanelLayout& panels) {
  PanelReport report;
  if (HasJob()) {
    PointList arranged = nullptr;
    JobBounds arrangedBounds = {0, 0, 0, 0};
    IntPoint moved = {0, 0};
    const JobResult result =
        Arrange(Geometry(), GeometryBounds(), order, panels, arranged, arrangedBounds, report, moved);
    if (result != JOB_DONE) return result;
    TakeArranged(Geometry(), GeometryBounds(), arranged, arrangedBounds, moved);
  }
  m_cutOrder = order;
  m_panels = panels;
  m_panelReport = report;
  return JOB_DONE;
}

void CPlotJob::TakeArranged(PointList geometry, const JobBounds& geometryBounds, PointList arranged,
                            const JobBounds& arrangedBounds, IntPoint moved) {
  const JobBounds kept = geometryBounds;  // it may be one of the bounds assigned below
  for (PointList old : {m_pGeometry, m_pPoints}) {
    if (old != geometry) FreePoints(old);
  }
  if (arranged) {
    m_pGeometry = geometry;
    m_geometryBounds = kept;
    m_pPoints = arranged;
    m_bounds = arrangedBounds;
  } else {
    m_pGeometry = nullptr;
    m_pPoints = geometry;
    m_bounds = kept;
  }
  m_drawingOrigin = IntPoint{ClampToCoord(static_cast<int64_t>(m_loadOrigin.x) - moved.x),
                             ClampToCoord(static_cast<int64_t>(m_loadOrigin.y) - moved.y)};
}

JobResult CPlotJob::SetCutOrder(const CutOrder& order) { return OrderGeometry(order, m_panels); }

JobResult CPlotJob::SetPanels(const PanelLayout& layout) { return OrderGeometry(m_cutOrder, layout); }

PanelPlan CPlotJob::PlanPanelsFor(const PanelLayout& layout) const {
  const JobBounds& bounds = GeometryBounds();
  return PlanPanels(static_cast<int64_t>(bounds.maxX) - bounds.minX, layout, m_cutOrder.weedMargin);
}

// The quarter turns use decimal angle constants, not exact multiples of pi: together with
// truncation a rotated point can land one unit short, and stored jobs rely on that. The
// sines and cosines of those constants are given as correctly rounded values, so that the
// result does not depend on the platform's sin and cos (MinGW's differ in the last bits).
struct Rotation {
  double angle, sine, cosine;
};
static const Rotation QUARTER_TURNS[] = {
    {1.5707963, 0x1.ffffffffffffdp-1, 0x1.cc553391a6262p-26},
    {3.1415926, 0x1.cc553391a625fp-25, -0x1.ffffffffffff3p-1},
    {4.7123889, -0x1.fffffffffffe3p-1, -0x1.593fe6cd3c9c4p-24},
};

JobResult CPlotJob::Mirror() {
  const int mirrored = MirrorState == MIRROR_MIRRORED ? MIRROR_NORMAL : MIRROR_MIRRORED;
  if (HasJob()) {
    MirrorToOrigin(Geometry(), GeometryBounds());
    const JobResult ordered = OrderGeometry(m_cutOrder, m_panels);
    if (ordered != JOB_DONE) {
      MirrorToOrigin(Geometry(), GeometryBounds());  // mirrored twice, the points are as they were
      return ordered;
    }
  }
  MirrorState = mirrored;
  return JOB_DONE;
}

JobResult CPlotJob::BuildGeometry(int quarterTurns, PointList& points, JobBounds& bounds) {
  // The points are flattened from the commands again, into the nodes they already have
  // where they fit: a million of them take far longer to release and allocate than to
  // fill. Points merged since (by the job file's writing) are built anew, and the old ones
  // released only once the new ones are there.
  if (CountNodes(points) != m_nFlattenedNodes || !FlattenCommandsInto(m_pCommands, points)) {
    PointList built = nullptr;
    const JobResult flattened = FlattenCommands(m_pCommands, built);
    if (flattened != JOB_DONE) return flattened;
    FreePoints(points);
    points = built;
  }
  ComputeBounds(points, bounds);
  if (MirrorState == MIRROR_MIRRORED) MirrorToOrigin(points, bounds);
  if (quarterTurns > 0) {  // clockwise, y pointing up
    const Rotation& r = QUARTER_TURNS[quarterTurns - 1];
    TransformPoints(points, JobTransform{r.cosine, r.sine, -r.sine, r.cosine, 0, 0}, bounds);
    TransformPoints(points, OriginTranslation(bounds), bounds);
  }
  return JOB_DONE;
}

JobResult CPlotJob::RotateTo(int quarterTurns) {
  const int turns = ((quarterTurns % 4) + 4) % 4;
  if (HasJob() && !m_pGeometry && m_panels.IsOff()) {
    const JobResult built = BuildGeometry(turns, m_pPoints, m_bounds);
    if (built != JOB_DONE) return built;
    m_drawingOrigin = m_loadOrigin;
  } else if (HasJob()) {
    // In panels or a cut order the turned geometry is built beside the one it replaces,
    // which is kept, with its arrangement, until the new one is in place: a job that fitted
    // may need panels once turned, and the other way round.
    PointList geometry = nullptr, arranged = nullptr;
    JobBounds geometryBounds = {0, 0, 0, 0}, arrangedBounds = {0, 0, 0, 0};
    PanelReport report;
    IntPoint moved = {0, 0};
    JobResult result = BuildGeometry(turns, geometry, geometryBounds);
    if (result == JOB_DONE)
      result = Arrange(geometry, geometryBounds, m_cutOrder, m_panels, arranged, arrangedBounds, report, moved);
    if (result != JOB_DONE) {
      FreePoints(geometry);
      return result;
    }
    TakeArranged(geometry, geometryBounds, arranged, arrangedBounds, moved);
    m_panelReport = report;
  }
  RotateState = ROTATE_0 + turns;
  return JOB_DONE;
}

std::vector<IntPoint> CPlotJob::MarkPoints() const {
  std::vector<IntPoint> points;
  for (int i = 0; i < MAX_MARKS; ++i) {
    if (m_marks.has[i])
      points.push_back(IntPoint{ClampToCoord(static_cast<int64_t>(m_marks.at[i].x) - m_drawingOrigin.x),
                                ClampToCoord(static_cast<int64_t>(m_marks.at[i].y) - m_drawingOrigin.y)});
  }
  return points;
}

std::string CPlotJob::WidthText() const {
  return MillimetreText(llabs(static_cast<int64_t>(m_bounds.maxX) - m_bounds.minX));
}

std::string CPlotJob::HeightText() const {
  return MillimetreText(llabs(static_cast<int64_t>(m_bounds.maxY) - m_bounds.minY));
}
