#include "cutter/MarkJog.h"

#include <algorithm>
#include <cstdio>

std::string PlaceText(IntPoint at) {
  char text[64];
  snprintf(text, sizeof text, "%.2f, %.2f mm", at.x / double(PLOT_UNITS_PER_MM), at.y / double(PLOT_UNITS_PER_MM));
  return text;
}

bool CMarkJog::HasMark(int number) const { return number >= 1 && number <= MAX_MARKS && m_drawing.has[number - 1]; }

bool CMarkJog::HeadForMark(int number, IntPoint& head) const {
  IntPoint at = {0, 0};
  if (!HasMark(number) || !PredictedMark(m_measured, m_drawing.at[number - 1], at)) return false;
  head = Reachable(static_cast<int64_t>(at.x) - m_laserOffset.x, static_cast<int64_t>(at.y) - m_laserOffset.y);
  return true;
}

bool CMarkJog::Set(const CJogSession& jog, int number) {
  if (!HasMark(number)) return false;
  const IntPoint at = {jog.Head().x + m_laserOffset.x, jog.Head().y + m_laserOffset.y};
  for (MeasuredMark& mark : m_measured) {
    if (mark.number == number) {
      mark.measured = at;
      return true;
    }
  }
  m_measured.push_back(MeasuredMark{number, m_drawing.at[number - 1], at});
  return true;
}

std::vector<MeasuredMark> CMarkJog::Measured() const {
  std::vector<MeasuredMark> sorted = m_measured;
  std::sort(sorted.begin(), sorted.end(),
            [](const MeasuredMark& a, const MeasuredMark& b) { return a.number < b.number; });
  return sorted;
}

std::string CMarkJog::MarkText(int number) const {
  for (const MeasuredMark& mark : m_measured) {
    if (mark.number == number) return std::to_string(number) + " at " + PlaceText(mark.measured);
  }
  return std::to_string(number) + " not measured";
}
