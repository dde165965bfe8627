#include "pipeline/PlotJob.h"

#include <cstdlib>

#include "pipeline/Geometry.h"
#include "pipeline/SizeText.h"

CPlotJob::~CPlotJob() {
  FreeCommands(m_pCommands);
  FreePoints(m_pPoints);
  FreePoints(m_pGeometry);
}

int CPlotJob::LoadJob(const char* path) {
  if (!path) return 1;
  FreeCommands(m_pCommands);
  FreePoints(m_pPoints);
  FreePoints(m_pGeometry);
  m_loadResult = ReadExchangeFile(m_pCommands, path, &m_readReport, &m_nLoadError);
  if (m_loadResult == JOB_DONE) m_loadResult = FlattenCommands(m_pCommands, m_pPoints);
  if (m_loadResult != JOB_DONE) FreeCommands(m_pCommands);  // no half job
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
  if (m_loadResult == JOB_DONE) m_loadResult = ApplyCutOrder();
  return 1;
}

void CPlotJob::TakeBackGeometry() {
  if (!m_pGeometry) return;
  FreePoints(m_pPoints);
  m_pPoints = m_pGeometry;
  m_bounds = m_geometryBounds;
  m_pGeometry = nullptr;
}

JobResult CPlotJob::ApplyCutOrder() {
  if (m_cutOrder.IsOff() || !HasJob()) return JOB_DONE;
  m_pGeometry = m_pPoints;
  m_geometryBounds = m_bounds;
  const JobResult ordered = OrderCuts(m_pGeometry, m_geometryBounds, m_cutOrder, m_pPoints, m_bounds);
  if (ordered != JOB_DONE) {  // no half job
    FreePoints(m_pGeometry);
    FreeCommands(m_pCommands);
  }
  return ordered;
}

JobResult CPlotJob::SetCutOrder(const CutOrder& order) {
  TakeBackGeometry();
  m_cutOrder = order;
  return ApplyCutOrder();
}

void CPlotJob::Apply(const JobTransform& transform) { TransformPoints(m_pPoints, transform, m_bounds); }

void CPlotJob::MoveToOrigin() { Apply(OriginTranslation(m_bounds)); }

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
  MirrorState = MirrorState == MIRROR_MIRRORED ? MIRROR_NORMAL : MIRROR_MIRRORED;
  if (!HasJob()) return JOB_DONE;
  TakeBackGeometry();
  MirrorToOrigin(m_pPoints, m_bounds);
  return ApplyCutOrder();
}

JobResult CPlotJob::RotateTo(int quarterTurns) {
  const int turns = ((quarterTurns % 4) + 4) % 4;
  RotateState = ROTATE_0 + turns;
  if (!HasJob()) return JOB_DONE;
  // The points are flattened from the commands again, into the nodes they already have
  // where it can be: a million of them take far longer to release and allocate than to fill.
  TakeBackGeometry();
  if (!FlattenCommandsInto(m_pCommands, m_pPoints)) {
    FreePoints(m_pPoints);
    const JobResult flattened = FlattenCommands(m_pCommands, m_pPoints);
    if (flattened != JOB_DONE) return flattened;
  }
  ComputeBounds(m_pPoints, m_bounds);
  if (MirrorState == MIRROR_MIRRORED) MirrorToOrigin(m_pPoints, m_bounds);
  if (turns > 0) {  // clockwise, y pointing up
    const Rotation& r = QUARTER_TURNS[turns - 1];
    Apply(JobTransform{r.cosine, r.sine, -r.sine, r.cosine, 0, 0});
    MoveToOrigin();
  }
  return ApplyCutOrder();
}

std::string CPlotJob::WidthText() const {
  return MillimetreText(llabs(static_cast<int64_t>(m_bounds.maxX) - m_bounds.minX));
}

std::string CPlotJob::HeightText() const {
  return MillimetreText(llabs(static_cast<int64_t>(m_bounds.maxY) - m_bounds.minY));
}
