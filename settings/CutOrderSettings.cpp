#include "settings/CutOrderSettings.h"

#include <algorithm>
#include <cstdlib>

const char* const CUT_ORDER_SECTION = "CutOrder";
const char* const WEED_BORDER_KEY = "WeedBorder";
const char* const PASSES_KEY = "Passes";

namespace {

const char* const INSIDE_FIRST_KEY = "InsideFirst";
const char* const SHORTEST_TRAVEL_KEY = "ShortestTravel";
const char* const CHK_WEED_BORDER_KEY = "ChkWeedBorder";

// Sets the entry only when the file's value (or the default when there is none) differs.
void SetIfChanged(CIniFile& ini, const char* key, const std::string& value, const std::string& fallback) {
  if (ini.GetString(CUT_ORDER_SECTION, key, fallback) != value) ini.SetString(CUT_ORDER_SECTION, key, value);
}

}  // namespace

SavedCutOrder ReadSavedCutOrder(CIniFile& ini) {
  const SavedCutOrder defaults;
  SavedCutOrder saved;
  saved.insideFirst = ini.GetInt(CUT_ORDER_SECTION, INSIDE_FIRST_KEY, defaults.insideFirst) != 0 ? 1 : 0;
  saved.shortestTravel = ini.GetInt(CUT_ORDER_SECTION, SHORTEST_TRAVEL_KEY, defaults.shortestTravel) != 0 ? 1 : 0;
  saved.chkWeedBorder = ini.GetInt(CUT_ORDER_SECTION, CHK_WEED_BORDER_KEY, defaults.chkWeedBorder) != 0 ? 1 : 0;
  saved.weedBorderText = ini.GetString(CUT_ORDER_SECTION, WEED_BORDER_KEY, defaults.weedBorderText);
  saved.passes = std::min(std::max(ini.GetInt(CUT_ORDER_SECTION, PASSES_KEY, defaults.passes), MIN_PASSES), MAX_PASSES);
  return saved;
}

void WriteSavedCutOrder(CIniFile& ini, const SavedCutOrder& choices) {
  const SavedCutOrder defaults;
  SetIfChanged(ini, INSIDE_FIRST_KEY, std::to_string(choices.insideFirst), std::to_string(defaults.insideFirst));
  SetIfChanged(ini, SHORTEST_TRAVEL_KEY, std::to_string(choices.shortestTravel),
               std::to_string(defaults.shortestTravel));
  SetIfChanged(ini, CHK_WEED_BORDER_KEY, std::to_string(choices.chkWeedBorder), std::to_string(defaults.chkWeedBorder));
  SetIfChanged(ini, WEED_BORDER_KEY, choices.weedBorderText, defaults.weedBorderText);
  SetIfChanged(ini, PASSES_KEY, std::to_string(choices.passes), std::to_string(defaults.passes));
}

CutOrder CutOrderFromSaved(const SavedCutOrder& saved) {
  CutOrder order;
  order.insideFirst = saved.insideFirst != 0;
  order.shortestTravel = saved.shortestTravel != 0;
  order.weedMargin = WeedMarginUnits(saved.chkWeedBorder != 0, strtod(saved.weedBorderText.c_str(), nullptr));
  order.passes = std::min(std::max(saved.passes, MIN_PASSES), MAX_PASSES);
  return order;
}
