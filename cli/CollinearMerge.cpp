#include "cli/CollinearMerge.h"

#include <algorithm>
#include <cmath>

namespace {

const double PI = 3.14159265358979323846;

// A straight stretch from its anchor: the directions a segment from the anchor may take
// and still pass within the tolerance of every point taken so far (a wedge, as angles
// measured from the first direction that narrowed it), and the farthest distance reached.
class CStretch {
 public:
  CStretch(PixelPoint anchor, double tolerance) : m_anchor(anchor), m_fTolerance(tolerance) {}

  // Takes `p` into the stretch; false, changing nothing, when it does not fit.
  bool Take(PixelPoint p) {
    const double dx = p.x - m_anchor.x, dy = p.y - m_anchor.y;
    const double distance = std::hypot(dx, dy);
    if (distance < m_fReach) return false;  // turning back
    if (distance <= m_fTolerance) return true;
    const double angle = std::atan2(dy, dx);
    const double spread = std::asin(m_fTolerance / distance);
    if (!m_bNarrowed) {
      m_fBase = angle;
      m_fLow = -spread;
      m_fHigh = spread;
      m_bNarrowed = true;
    } else {
      const double offset = std::remainder(angle - m_fBase, 2 * PI);
      if (offset < m_fLow || offset > m_fHigh) return false;
      m_fLow = std::max(m_fLow, offset - spread);
      m_fHigh = std::min(m_fHigh, offset + spread);
    }
    m_fReach = distance;
    return true;
  }

 private:
  PixelPoint m_anchor;
  double m_fTolerance;
  double m_fReach = 0;
  bool m_bNarrowed = false;
  double m_fBase = 0, m_fLow = 0, m_fHigh = 0;
};

}  // namespace

std::vector<PixelPoint> MergeCollinear(const std::vector<PixelPoint>& line, double tolerance) {
  if (tolerance <= 0 || line.size() < 3) return line;
  std::vector<PixelPoint> kept{line.front()};
  CStretch stretch(line.front(), tolerance);
  PixelPoint last = line.front();
  for (size_t i = 1; i < line.size(); ++i) {
    if (!stretch.Take(line[i])) {
      // The stretch ends at the point before; a new one starts there and takes this one.
      kept.push_back(last);
      stretch = CStretch(last, tolerance);
      stretch.Take(line[i]);
    }
    last = line[i];
  }
  kept.push_back(last);
  return kept;
}
