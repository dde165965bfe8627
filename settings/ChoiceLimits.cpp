#include "settings/ChoiceLimits.h"

#include <cstdlib>

#include "pipeline/CutOrder.h"
#include "pipeline/JobFileWriter.h"

const MillimetreRange BLADE_OFFSET_RANGE = {0.01, "0.01", 2.0, "2", DISTANCE_TEXT_MAX};
const MillimetreRange OVER_CUT_RANGE = {0.01, "0.01", 5.0, "5", DISTANCE_TEXT_MAX};
const MillimetreRange WEED_BORDER_RANGE = {MIN_WEED_MARGIN_MM, "0.5", MAX_WEED_MARGIN_MM, "50", 0};
const MillimetreRange MEDIA_WIDTH_RANGE = {50.0, "50", 3000.0, "3000", 0};
const MillimetreRange PANEL_OVERLAP_RANGE = {0.0, "0", 50.0, "50", 0};
const MillimetreRange PANEL_GAP_RANGE = {0.0, "0", 500.0, "500", 0};
const WholeRange FORCE_RANGE = {1, MAX_FORCE_GRAMS, "grams"};
const WholeRange SPEED_RANGE = {1, MAX_SPEED_CMS, "cm/s"};

namespace {

// True when `text` is decimal digits only, making a number from `min` to `max`.
bool IsWholeNumberIn(const std::string& text, int min, int max) {
  // Ten digits and more may not fit an int; no such number is in any range here.
  const bool whole = !text.empty() && text.size() < 10 && text.find_first_not_of("0123456789") == std::string::npos;
  const int value = whole ? atoi(text.c_str()) : 0;
  return whole && value >= min && value <= max;
}

}  // namespace

std::string MillimetreProblem(const std::string& text, const MillimetreRange& range) {
  const std::string within = std::string("a number of mm from ") + range.minText + " to " + range.maxText;
  const size_t digits = text.find_first_not_of("0123456789");
  const bool decimal = !text.empty() && text != "." &&
                       (digits == std::string::npos ||
                        (text[digits] == '.' && text.find_first_not_of("0123456789", digits + 1) == std::string::npos));
  if (!decimal) return "\"" + text + "\" is not " + within;
  if (range.maxLength > 0 && text.size() > range.maxLength) {
    return "\"" + text + "\" is longer than " + std::to_string(range.maxLength) + " characters";
  }
  const double value = strtod(text.c_str(), nullptr);
  if (value < range.min || value > range.max) return "\"" + text + "\" is outside " + within;
  return "";
}

std::string WholeRangeProblem(const std::string& text, const WholeRange& range) {
  if (IsWholeNumberIn(text, range.min, range.max)) return "";
  return std::string("takes ") + range.unit + " from " + std::to_string(range.min) + " to " +
         std::to_string(range.max) + ", not \"" + text + "\"";
}

std::string WholeNumberProblem(const std::string& text, int min, int max) {
  if (IsWholeNumberIn(text, min, max)) return "";
  return "\"" + text + "\" is not a whole number from " + std::to_string(min) + " to " + std::to_string(max);
}

std::string PanelOverlapProblem(const std::string& overlapText, const std::string& widthText) {
  if (strtod(overlapText.c_str(), nullptr) < strtod(widthText.c_str(), nullptr) - 10.0) return "";
  return "the panel overlap (" + overlapText + " mm) must be smaller than the media width less 10 mm";
}

OptionRefusal RefusedOption(const Choices& choices) {
  // Panels are cut only on a media width: the overlap and gap count only with both ticked.
  const std::optional<bool> panels = choices.panels.value_or(false) && choices.mediaWidth.value_or(false);
  const struct {
    const std::optional<bool>& ticked;
    const char* label;
    const std::optional<std::string>& text;
    const MillimetreRange& range;
  } options[] = {
      {choices.bladeOffset, "Blade offset", choices.bladeOffsetText, BLADE_OFFSET_RANGE},
      {choices.overCut, "OverCut", choices.overCutText, OVER_CUT_RANGE},
      {choices.weedBorder, "Weed border", choices.weedBorderText, WEED_BORDER_RANGE},
      {choices.mediaWidth, "Media width", choices.mediaWidthText, MEDIA_WIDTH_RANGE},
      {panels, "Panel overlap", choices.panelOverlapText, PANEL_OVERLAP_RANGE},
      {panels, "Panel gap", choices.panelGapText, PANEL_GAP_RANGE},
  };
  for (const auto& option : options) {
    const bool ticked = option.ticked.value_or(false);
    const std::string problem = ticked ? MillimetreProblem(option.text.value_or(""), option.range) : "";
    if (!problem.empty()) return OptionRefusal{option.label, problem};
  }
  const std::string overlap =
      *panels ? PanelOverlapProblem(choices.panelOverlapText.value_or(""), choices.mediaWidthText.value_or("")) : "";
  return overlap.empty() ? OptionRefusal() : OptionRefusal{"Panels", overlap};
}

std::string NotAppliedText(const OptionRefusal& refused) {
  return "The option \"" + refused.label + "\" could not be applied: " + refused.reason;
}

std::string RefusedOptionText(const Choices& choices) {
  const OptionRefusal refused = RefusedOption(choices);
  return refused.label.empty() ? "" : refused.label + ": " + refused.reason;
}
