#include "settings/Choices.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "settings/ChoiceLimits.h"
#include "settings/PortList.h"

namespace {

// Every field of Choices, so that a merge misses none.
template <typename Visit>
void ForEachChoice(Visit visit) {
  visit(&Choices::mirror);
  visit(&Choices::rotation);
  visit(&Choices::model);
  visit(&Choices::port);
  visit(&Choices::bladeOffset);
  visit(&Choices::bladeOffsetText);
  visit(&Choices::overCut);
  visit(&Choices::overCutText);
  visit(&Choices::insideFirst);
  visit(&Choices::shortestTravel);
  visit(&Choices::weedBorder);
  visit(&Choices::weedBorderText);
  visit(&Choices::passes);
  visit(&Choices::mediaWidth);
  visit(&Choices::mediaWidthText);
  visit(&Choices::panels);
  visit(&Choices::panelOverlapText);
  visit(&Choices::panelGapText);
  visit(&Choices::force);
  visit(&Choices::speed);
  visit(&Choices::preset);
}

const int NO_RANGE = 0;

}  // namespace

const ChoiceRow CHOICE_ROWS[CHOICE_ROW_COUNT] = {
    {"Device", "Type", CHOICE_NUMBER, "0", true, &Choices::model, nullptr, nullptr, 0, MODEL_COUNT - 1, false},
    {"Device", "Port", CHOICE_PORT_INDEX, "0", true, nullptr, nullptr, &Choices::port, 0, PORT_LIST_COUNT - 1, false},
    {"Offset", "ChkBladeOffset", CHOICE_TICK, "0", true, nullptr, &Choices::bladeOffset, nullptr, NO_RANGE, NO_RANGE,
     false},
    {"Offset", "ChkOverCut", CHOICE_TICK, "0", true, nullptr, &Choices::overCut, nullptr, NO_RANGE, NO_RANGE, false},
    {"Offset", "BladeOffset", CHOICE_TEXT, "0.38", true, nullptr, nullptr, &Choices::bladeOffsetText, NO_RANGE,
     NO_RANGE, false},
    {"Offset", "OverCut", CHOICE_TEXT, "0.85", true, nullptr, nullptr, &Choices::overCutText, NO_RANGE, NO_RANGE,
     false},
    {"CommandLine", "Port", CHOICE_PORT_TEXT, "", false, nullptr, nullptr, &Choices::port, NO_RANGE, NO_RANGE, false},
    {"CutOrder", "InsideFirst", CHOICE_TICK, "0", false, nullptr, &Choices::insideFirst, nullptr, NO_RANGE, NO_RANGE,
     false},
    {"CutOrder", "ShortestTravel", CHOICE_TICK, "0", false, nullptr, &Choices::shortestTravel, nullptr, NO_RANGE,
     NO_RANGE, false},
    {"CutOrder", "ChkWeedBorder", CHOICE_TICK, "0", false, nullptr, &Choices::weedBorder, nullptr, NO_RANGE, NO_RANGE,
     false},
    {"CutOrder", "WeedBorder", CHOICE_TEXT, "3", false, nullptr, nullptr, &Choices::weedBorderText, NO_RANGE, NO_RANGE,
     false},
    {"CutOrder", "Passes", CHOICE_NUMBER, "1", false, &Choices::passes, nullptr, nullptr, MIN_PASSES, MAX_PASSES, true},
    {"Media", "ChkWidth", CHOICE_TICK, "0", false, nullptr, &Choices::mediaWidth, nullptr, NO_RANGE, NO_RANGE, false},
    {"Media", "Width", CHOICE_TEXT, "600", false, nullptr, nullptr, &Choices::mediaWidthText, NO_RANGE, NO_RANGE,
     false},
    {"Media", "Panels", CHOICE_TICK, "0", false, nullptr, &Choices::panels, nullptr, NO_RANGE, NO_RANGE, false},
    {"Media", "PanelOverlap", CHOICE_TEXT, "10", false, nullptr, nullptr, &Choices::panelOverlapText, NO_RANGE,
     NO_RANGE, false},
    {"Media", "PanelGap", CHOICE_TEXT, "20", false, nullptr, nullptr, &Choices::panelGapText, NO_RANGE, NO_RANGE,
     false},
    // Out of range these become off; a command refuses to take such a value (the text is kept).
    {"Tool", "Force", CHOICE_NUMBER, "0", false, &Choices::force, nullptr, nullptr, 0, MAX_FORCE_GRAMS, false},
    {"Tool", "Speed", CHOICE_NUMBER, "0", false, &Choices::speed, nullptr, nullptr, 0, MAX_SPEED_CMS, false},
    {"Tool", "Preset", CHOICE_TEXT, "", false, nullptr, nullptr, &Choices::preset, NO_RANGE, NO_RANGE, false},
};

Choices Merged(const Choices& given, const Choices& fallback) {
  Choices merged = given;
  ForEachChoice([&](auto field) {
    if (!(merged.*field)) merged.*field = fallback.*field;
  });
  return merged;
}

Choices DefaultChoices() {
  Choices defaults;
  defaults.mirror = false;
  defaults.rotation = 0;
  for (const ChoiceRow& row : CHOICE_ROWS) {
    if (row.number) defaults.*row.number = IniNumber(row.defaultText);
    if (row.tick) defaults.*row.tick = IniNumber(row.defaultText) != 0;
    if (row.kind == CHOICE_TEXT) defaults.*row.text = row.defaultText;
  }
  return defaults;
}

OffsetOptions OffsetsOf(const Choices& choices) {
  OffsetOptions options;
  options.bladeOffset = choices.bladeOffset.value_or(false);
  options.bladeOffsetText = choices.bladeOffsetText.value_or("");
  options.overCut = choices.overCut.value_or(false);
  options.overCutText = choices.overCutText.value_or("");
  options.tool = ToolSettings{choices.force.value_or(0), choices.speed.value_or(0)};
  return options;
}

CutOrder CutOrderFrom(const Choices& choices) {
  CutOrder order;
  order.insideFirst = choices.insideFirst.value_or(false);
  order.shortestTravel = choices.shortestTravel.value_or(false);
  order.weedMargin =
      WeedMarginUnits(choices.weedBorder.value_or(false), strtod(choices.weedBorderText.value_or("").c_str(), nullptr));
  order.passes = std::min(std::max(choices.passes.value_or(MIN_PASSES), MIN_PASSES), MAX_PASSES);
  return order;
}

void LeaveOutJobChoices(Choices& used) {
  used.mirror = false;
  used.rotation = 0;
  used.insideFirst = false;
  used.shortestTravel = false;
  used.weedBorder = false;
}

namespace {

// The plotter units of a distance text, brought into `range`; NaN and words take its
// smallest value.
int32_t UnitsWithin(const std::optional<std::string>& text, const MillimetreRange& range) {
  const double mm = strtod(text.value_or("").c_str(), nullptr);
  const double within = mm <= range.max ? std::max(mm, range.min) : range.max;
  return static_cast<int32_t>(llround(within * PLOT_UNITS_PER_MM));
}

}  // namespace

int32_t MediaWidthFrom(const Choices& choices) {
  return choices.mediaWidth.value_or(false) ? UnitsWithin(choices.mediaWidthText, MEDIA_WIDTH_RANGE) : 0;
}

PanelLayout PanelsFrom(const Choices& choices) {
  if (!choices.panels.value_or(false)) return PanelLayout{};
  return PanelLayout{MediaWidthFrom(choices), UnitsWithin(choices.panelOverlapText, PANEL_OVERLAP_RANGE),
                     UnitsWithin(choices.panelGapText, PANEL_GAP_RANGE)};
}

const ChoiceRow* FindChoiceRow(const char* section, const char* key) {
  for (const ChoiceRow& row : CHOICE_ROWS)
    if (strcmp(row.section, section) == 0 && strcmp(row.key, key) == 0) return &row;
  return nullptr;
}

int ChoiceNumber(const ChoiceRow& row, const std::string& text) {
  const int number = IniNumber(text);
  if (number >= row.min && number <= row.max) return number;
  if (row.clamped) return std::min(std::max(number, row.min), row.max);
  return IniNumber(row.defaultText);
}

std::string ChoiceText(const ChoiceTexts& texts, const ChoiceRow& row) {
  const size_t index = static_cast<size_t>(&row - CHOICE_ROWS);
  return index < texts.size() && texts[index] ? *texts[index] : row.defaultText;
}

namespace {

// No line of the file holds a line break: the mark of an absent entry.
const char* const ABSENT = "\n";

// The text of `row` in the file, or its default.
std::string TextOrDefault(CIniFile& ini, const ChoiceRow& row) {
  return ini.GetString(row.section, row.key, row.defaultText);
}

// The text complete choices give `row`.
std::string TextOf(const ChoiceRow& row, const Choices& choices, CIniFile& ini) {
  switch (row.kind) {
    case CHOICE_NUMBER: return std::to_string((choices.*row.number).value_or(IniNumber(row.defaultText)));
    case CHOICE_TICK: return (choices.*row.tick).value_or(false) ? "1" : "0";
    case CHOICE_TEXT: return (choices.*row.text).value_or(row.defaultText);
    case CHOICE_PORT_INDEX: {
      const int index = PortListIndex((choices.*row.text).value_or(VORN_USB_PORT));
      // A port the list cannot show keeps the entry the file holds.
      return std::to_string(index >= 0 ? index : ChoiceNumber(row, TextOrDefault(ini, row)));
    }
    case CHOICE_PORT_TEXT: {
      const std::string port = (choices.*row.text).value_or("");
      return port.empty() || PortListIndex(port) >= 0 ? "" : port;
    }
  }
  return "";
}

}  // namespace

ChoiceTexts ReadChoiceTexts(CIniFile& ini) {
  ChoiceTexts texts;
  for (const ChoiceRow& row : CHOICE_ROWS) {
    const std::string text = ini.GetString(row.section, row.key, ABSENT);
    texts.push_back(text == ABSENT ? std::nullopt : std::optional<std::string>(text));
  }
  return texts;
}

Choices ChoicesFromTexts(const ChoiceTexts& texts) {
  Choices choices;
  for (int i = 0; i < CHOICE_ROW_COUNT && i < static_cast<int>(texts.size()); ++i) {
    const ChoiceRow& row = CHOICE_ROWS[i];
    if (!texts[i]) continue;
    const std::string& text = *texts[i];
    switch (row.kind) {
      case CHOICE_NUMBER: choices.*row.number = ChoiceNumber(row, text); break;
      case CHOICE_TICK: choices.*row.tick = IniNumber(text) != 0; break;
      case CHOICE_TEXT: choices.*row.text = text; break;
      case CHOICE_PORT_INDEX: {
        const int index = ChoiceNumber(row, text);
        if (index != 0) choices.*row.text = PortListText(index);
        break;
      }
      case CHOICE_PORT_TEXT:
        if (!text.empty()) choices.*row.text = text;
        break;
    }
  }
  return choices;
}

Choices ReadChoices(CIniFile& ini) { return ChoicesFromTexts(ReadChoiceTexts(ini)); }

namespace {

// Whether `row` is a number, tick or text that `choices` does not give.
bool NotGiven(const ChoiceRow& row, const Choices& choices) {
  switch (row.kind) {
    case CHOICE_NUMBER: return !(choices.*row.number);
    case CHOICE_TICK: return !(choices.*row.tick);
    case CHOICE_TEXT: return !(choices.*row.text);
    default: return false;
  }
}

}  // namespace

void WriteChoices(CIniFile& ini, const Choices& choices) {
  for (const ChoiceRow& row : CHOICE_ROWS) {
    if (NotGiven(row, choices)) continue;
    const std::string text = TextOf(row, choices, ini);
    if (row.alwaysWritten) {
      ini.SetString(row.section, row.key, text);
    } else if (TextOrDefault(ini, row) == text) {
      continue;
    } else if (row.kind == CHOICE_PORT_TEXT && text.empty()) {
      ini.RemoveEntry(row.section, row.key);
    } else {
      ini.SetString(row.section, row.key, text);
    }
  }
}
