#include "cli/SettingsWarnings.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

#include "cutter/ModelTable.h"
#include "pipeline/CutOrder.h"
#include "pipeline/JobModel.h"
#include "settings/ChoiceLimits.h"
#include "settings/LaserOffset.h"
#include "settings/PortList.h"

namespace {

// Why `value` is not a whole number from `min` to `max`; "" when it is one.
std::string WholeNumberProblem(const std::string& value, int min, int max, const char* what) {
  char* end = nullptr;
  errno = 0;
  const long number = strtol(value.c_str(), &end, 10);
  const bool whole = !value.empty() && isdigit(static_cast<unsigned char>(value.back())) && *end == '\0' &&
                     errno == 0 && number >= min && number <= max;
  if (whole) return "";
  return "not a whole number from " + std::to_string(min) + " to " + std::to_string(max) + " (" + what + ")";
}

// The choices a command takes from `r` where nothing is given.
Choices Used(const Remembered& r) { return UsedChoices(Choices(), r); }

std::string ModelUsed(const Remembered& r) {
  const int model = *Used(r).model;
  return std::to_string(model) + " (" + ModelTable[model].name + ")";
}

std::string TickUsed(const std::optional<bool>& tick) { return tick.value_or(false) ? "1 (ticked)" : "0 (unticked)"; }

std::string CheckBoxProblem(const std::string& value, const Remembered&) {
  return WholeNumberProblem(value, 0, 1, "0 unticked, 1 ticked");
}

// A setting the programs read: where it lives, why a value the reading takes cannot be used
// as written ("" when it can), and what the reading made of it.
struct KnownSetting {
  const char* section;
  const char* key;
  std::string (*problem)(const std::string& value, const Remembered& r);
  std::string (*used)(const Remembered& r);
};

// The key that stands for every model's laser offset key.
const char* const LASER_OFFSET_ANY_MODEL = "LaserOffsetN";

const KnownSetting KNOWN_SETTINGS[] = {
    {"Device", "Type",
     [](const std::string& v, const Remembered&) {
       return WholeNumberProblem(v, 0, MODEL_COUNT - 1, "a model's index: plotgate models lists them");
     },
     ModelUsed},
    {"Device", "Port",
     [](const std::string& v, const Remembered&) {
       return WholeNumberProblem(v, 0, PORT_LIST_COUNT - 1, "0 VORN_USB, 1 to 30 COM1 to COM30");
     },
     [](const Remembered& r) {
       const ChoiceRow& row = *FindChoiceRow("Device", "Port");
       const int index = ChoiceNumber(row, ChoiceText(r.texts, row));
       return std::to_string(index) + " (" + PortListText(index) + ")";
     }},
    {"Offset", "ChkBladeOffset", CheckBoxProblem, [](const Remembered& r) { return TickUsed(r.choices.bladeOffset); }},
    {"Offset", "ChkOverCut", CheckBoxProblem, [](const Remembered& r) { return TickUsed(r.choices.overCut); }},
    // The distances are taken as typed; a send refuses one it cannot use while its box is ticked.
    {"Offset", "BladeOffset", nullptr, [](const Remembered& r) { return *Used(r).bladeOffsetText; }},
    {"Offset", "OverCut", nullptr, [](const Remembered& r) { return *Used(r).overCutText; }},
    {"CutOrder", "InsideFirst", CheckBoxProblem, [](const Remembered& r) { return TickUsed(r.choices.insideFirst); }},
    {"CutOrder", "ShortestTravel", CheckBoxProblem,
     [](const Remembered& r) { return TickUsed(r.choices.shortestTravel); }},
    {"CutOrder", "ChkWeedBorder", CheckBoxProblem, [](const Remembered& r) { return TickUsed(r.choices.weedBorder); }},
    // The margin is read as a number and brought into its range, but only while its box is ticked.
    {"CutOrder", "WeedBorder",
     [](const std::string& v, const Remembered& r) {
       return r.choices.weedBorder.value_or(false) ? MillimetreProblem(v, WEED_BORDER_RANGE) : std::string();
     },
     [](const Remembered& r) {
       const Choices used = Used(r);
       if (!*used.weedBorder || MillimetreProblem(*used.weedBorderText, WEED_BORDER_RANGE).empty())
         return *used.weedBorderText;
       char mm[32];
       snprintf(mm, sizeof mm, "%g mm", CutOrderFrom(used).weedMargin / double(PLOT_UNITS_PER_MM));
       return std::string(mm);
     }},
    {"CutOrder", "Passes",
     [](const std::string& v, const Remembered&) {
       return WholeNumberProblem(v, MIN_PASSES, MAX_PASSES, "how often each path is cut");
     },
     [](const Remembered& r) { return std::to_string(*Used(r).passes); }},
    {"Media", "ChkWidth", CheckBoxProblem, [](const Remembered& r) { return TickUsed(r.choices.mediaWidth); }},
    // The width and the panels' distances are taken as typed; a command refuses one it
    // cannot use while it takes it.
    {"Media", "Width", nullptr, [](const Remembered& r) { return *Used(r).mediaWidthText; }},
    {"Media", "Panels", CheckBoxProblem, [](const Remembered& r) { return TickUsed(r.choices.panels); }},
    {"Media", "PanelOverlap", nullptr, [](const Remembered& r) { return *Used(r).panelOverlapText; }},
    {"Media", "PanelGap", nullptr, [](const Remembered& r) { return *Used(r).panelGapText; }},
    // The force and speed are refused, not corrected, when a command takes one it cannot use.
    {"Tool", "Force", nullptr, [](const Remembered& r) { return std::to_string(*Used(r).force); }},
    {"Tool", "Speed", nullptr, [](const Remembered& r) { return std::to_string(*Used(r).speed); }},
    {"Tool", "Preset", nullptr, [](const Remembered& r) { return *Used(r).preset; }},
    // One for each model (LaserOffset5 for model 5), kept by plotgate marks --calibrate-laser;
    // an entry that does not read as DX,DY gives no offset.
    {LASER_OFFSET_SECTION, LASER_OFFSET_ANY_MODEL,
     [](const std::string& v, const Remembered&) {
       IntPoint offset = {0, 0};
       return ReadLaserOffsetText(v, offset)
                  ? std::string()
                  : "not two whole numbers DX,DY from -" + std::to_string(LASER_OFFSET_MAX_UNITS) + " to " +
                        std::to_string(LASER_OFFSET_MAX_UNITS) +
                        " (the laser pointer's offset from the knife, in cutter units)";
     },
     [](const Remembered&) {
       return LaserOffsetText(IntPoint{0, 0});
     }},
    {"CommandLine", "Port", nullptr,
     [](const Remembered& r) {
       const std::string port = ChoiceText(r.texts, *FindChoiceRow("CommandLine", "Port"));
       return port.empty() ? std::string("none") : port;
     }},
};

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (tolower(static_cast<unsigned char>(a[i])) != tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool IsKnownSection(const std::string& section) {
  for (const KnownSetting& known : KNOWN_SETTINGS)
    if (section == known.section) return true;
  return false;
}

// The setting an entry means: its key in its section, or in the section whose name
// differs only in case; else the first setting of that key wherever it lives; the same
// again ignoring the key's case. Null when no setting has that key.
const KnownSetting* MeantSetting(const std::string& section, const std::string& key) {
  for (const bool exact : {true, false}) {
    const KnownSetting* elsewhere = nullptr;
    for (const KnownSetting& known : KNOWN_SETTINGS) {
      if (exact ? key != known.key : !SameIgnoringCase(key, known.key)) continue;
      if (SameIgnoringCase(section, known.section)) return &known;
      if (!elsewhere) elsewhere = &known;
    }
    if (elsewhere) return elsewhere;
  }
  return nullptr;
}

const char* const BYTE_ORDER_MARK = "\xEF\xBB\xBF";

// Where the walk over the lines stands: the section that reads the entries below.
enum SectionState { BeforeAnyHeader, UnnamedHeader, NamedHeader };

}  // namespace

std::vector<std::string> SettingsWarnings(const std::vector<std::string>& lines, const Remembered& remembered) {
  std::vector<std::string> warnings;
  std::set<std::string> sectionsMet;
  std::set<std::pair<std::string, std::string>> entriesRead;
  SectionState state = BeforeAnyHeader;
  std::string section;             // the header's name, or for an unnamed one its text
  bool firstOfItsName = false;     // whether the header is the first of its name, the one read
  std::string headerHiddenByMark;  // the first line's header, when a byte order mark hides it
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    // The mark makes the first line neither a header nor the key it would be.
    const bool marked = i == 0 && line.compare(0, 3, BYTE_ORDER_MARK) == 0;
    if (marked) line.erase(0, 3);
    const IniLine parsed = ParseIniLine(line);
    if (parsed.header && marked) {
      headerHiddenByMark = line.substr(line.find('['));
      continue;
    }
    if (parsed.header) {
      state = parsed.named ? NamedHeader : UnnamedHeader;
      section = parsed.named ? parsed.name : line.substr(line.find('['));
      firstOfItsName = parsed.named && sectionsMet.insert(section).second;
      continue;
    }
    if (!parsed.entry) continue;
    const std::string where = "line " + std::to_string(i + 1) + ": " + parsed.name + "=" + parsed.value;
    // A model's laser offset key is looked up as the key of them all.
    const std::string key = LaserOffsetModel(parsed.name) >= 0 ? LASER_OFFSET_ANY_MODEL : parsed.name;
    const KnownSetting* meant = MeantSetting(state == NamedHeader ? section : "", key);
    const bool isTheSetting =
        state == NamedHeader && firstOfItsName && meant && section == meant->section && key == meant->key;
    if (isTheSetting && entriesRead.insert({section, parsed.name}).second) {
      const std::string problem = meant->problem ? meant->problem(parsed.value, remembered) : "";
      if (!problem.empty()) warnings.push_back(where + ": " + problem + "; using " + meant->used(remembered));
      continue;
    }
    std::string why;
    if (isTheSetting) {
      why = "an earlier " + parsed.name + "= in [" + section + "] is the one read";
    } else if (state == BeforeAnyHeader) {
      why = headerHiddenByMark.empty() ? "it comes before any section header"
                                       : "the byte order mark that begins the file hides the header " +
                                             headerHiddenByMark + " above it; save the file without it";
    } else if (state == UnnamedHeader) {
      why = "its section header " + section + " has no \"]\"";
    } else if (!firstOfItsName) {
      why = "only the first [" + section + "] section is read";
    } else if (!IsKnownSection(section)) {
      why = meant && SameIgnoringCase(section, meant->section)
                ? "section names are case-sensitive: [" + std::string(meant->section) + "]"
                : "plotgate reads no section [" + section + "]";
    } else if (meant && section == meant->section) {
      why = "keys are case-sensitive: " + std::string(meant->key);
    } else if (meant) {
      why = std::string(meant->key) + " is read from [" + meant->section + "]";
    } else {
      why = "[" + section + "] has no setting " + parsed.name;
    }
    warnings.push_back(where + " is not read: " + why + "; " +
                       (meant ? "using " + meant->used(remembered) : std::string("it is ignored")));
  }
  return warnings;
}
