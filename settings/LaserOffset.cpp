#include "settings/LaserOffset.h"

#include <charconv>
#include <cstdlib>

#include "cutter/ModelTable.h"
#include "pipeline/LaserCross.h"

namespace {

// One coordinate of the pair, from `first` to `last`; false when it is not all of it.
bool ReadCoordinate(const char* first, const char* last, int32_t& value) {
  if (first == last || *first == '+') return false;
  const auto read = std::from_chars(first, last, value);
  return read.ec == std::errc() && read.ptr == last && value >= -LASER_OFFSET_MAX_UNITS &&
         value <= LASER_OFFSET_MAX_UNITS;
}

}  // namespace

std::string LaserOffsetKey(int model) { return LASER_OFFSET_KEY + std::to_string(model); }

int LaserOffsetModel(const std::string& key) {
  for (int model = 0; model < MODEL_COUNT; ++model)
    if (key == LaserOffsetKey(model)) return model;
  return -1;
}

std::string LaserOffsetText(IntPoint offset) { return std::to_string(offset.x) + "," + std::to_string(offset.y); }

bool ReadLaserOffsetText(const std::string& text, IntPoint& offset) {
  const size_t comma = text.find(',');
  if (comma == std::string::npos) return false;
  IntPoint read = {0, 0};
  const char* begin = text.data();
  if (!ReadCoordinate(begin, begin + comma, read.x) || !ReadCoordinate(begin + comma + 1, begin + text.size(), read.y))
    return false;
  offset = read;
  return true;
}

IntPoint LaserOffsetOf(CIniFile& ini, int model) {
  IntPoint offset = {0, 0};
  ReadLaserOffsetText(ini.GetString(LASER_OFFSET_SECTION, LaserOffsetKey(model), ""), offset);
  return offset;
}

bool LaserOffsetFromCross(IntPoint head, IntPoint& offset) {
  const int64_t dx = static_cast<int64_t>(LASER_CROSS_AT) - head.x, dy = static_cast<int64_t>(LASER_CROSS_AT) - head.y;
  if (std::llabs(dx) > LASER_OFFSET_MAX_UNITS || std::llabs(dy) > LASER_OFFSET_MAX_UNITS) return false;
  offset = IntPoint{static_cast<int32_t>(dx), static_cast<int32_t>(dy)};
  return true;
}

void WriteLaserOffset(CIniFile& ini, int model, IntPoint offset) {
  ini.SetString(LASER_OFFSET_SECTION, LaserOffsetKey(model), LaserOffsetText(offset));
}
