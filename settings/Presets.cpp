#include "settings/Presets.h"

#include <map>

#include "base/FileReplace.h"
#include "base/SystemError.h"
#include "pipeline/CutOrder.h"
#include "settings/ChoiceLimits.h"
#include "settings/FileException.h"
#include "settings/FileIo.h"
#include "settings/IniFile.h"

namespace {

const char* const PRESETS_SECTION = "Presets";
const char* const COUNT_KEY = "Count";

// The code points of `text`, or false when it is not well-formed UTF-8 (no overlong form,
// no surrogate, nothing beyond U+10FFFF).
bool DecodeStrictUtf8(const std::string& text, std::vector<char32_t>& codePoints) {
  for (size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead < 0x80                   ? 1
                          : lead >= 0xC0 && lead < 0xE0 ? 2
                          : lead >= 0xE0 && lead < 0xF0 ? 3
                          : lead >= 0xF0 && lead < 0xF8 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) return false;
    const char32_t leadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    char32_t codePoint = lead & leadBits[length];
    for (size_t k = 1; k < length; ++k) {
      const unsigned char next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      codePoint = (codePoint << 6) | (next & 0x3F);
    }
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < least[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
    codePoints.push_back(codePoint);
    i += length;
  }
  return true;
}

std::string Lowered(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

// The sections of the file: each named once, the first of a name and the first of each of
// its keys winning, as the settings file is read.
using Sections = std::map<std::string, std::map<std::string, std::string>>;

Sections ReadSections(const std::string& bytes) {
  Sections sections;
  std::map<std::string, std::string>* current = nullptr;
  for (const std::string& line : SplitIniLines(bytes)) {
    const IniLine parsed = ParseIniLine(line);
    if (parsed.header) {
      current = parsed.named && !sections.count(parsed.name) ? &sections[parsed.name] : nullptr;
    } else if (parsed.entry && current) {
      current->emplace(parsed.name, parsed.value);
    }
  }
  return sections;
}

const char* const PRESET_SECTION_PREFIX = "Preset ";

std::string SectionName(size_t number) { return PRESET_SECTION_PREFIX + std::to_string(number); }

// True when `name` is "Preset " and digits, a section the count must account for.
bool IsPresetSection(const std::string& name) {
  const std::string prefix = PRESET_SECTION_PREFIX;
  return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
         name.find_first_not_of("0123456789", prefix.size()) == std::string::npos;
}

// Reads one preset's section into `preset`; "" or what is wrong, naming the key and value.
std::string ParsePreset(const std::string& section, const std::map<std::string, std::string>& entries, Preset& preset) {
  const auto value = [&](const char* key) {
    const auto found = entries.find(key);
    return found == entries.end() ? std::string() : found->second;
  };
  const auto refused = [&](const char* key, const std::string& problem) {
    return "[" + section + "] " + key + "=" + value(key) + ": " + problem;
  };
  preset.name = value("Name");
  if (const std::string problem = PresetNameProblem(preset.name); !problem.empty()) return refused("Name", problem);

  const struct {
    const char* key;
    const MillimetreRange& range;
    bool& on;
    std::string& text;
  } distances[] = {{"BladeOffset", BLADE_OFFSET_RANGE, preset.bladeOffset, preset.bladeOffsetText},
                   {"Overcut", OVER_CUT_RANGE, preset.overCut, preset.overCutText}};
  for (const auto& distance : distances) {
    distance.text = value(distance.key);
    distance.on = !distance.text.empty();
    const std::string problem = distance.on ? MillimetreProblem(distance.text, distance.range) : "";
    if (!problem.empty()) return refused(distance.key, problem);
  }

  if (entries.count("Passes")) {
    if (const std::string problem = WholeNumberProblem(value("Passes"), MIN_PASSES, MAX_PASSES); !problem.empty())
      return refused("Passes", problem);
    preset.passes = std::stoi(value("Passes"));
  }

  const struct {
    const char* key;
    const WholeRange& range;
    int& number;
  } numbers[] = {{"Force", FORCE_RANGE, preset.tool.force}, {"Speed", SPEED_RANGE, preset.tool.speed}};
  for (const auto& number : numbers) {
    const std::string text = value(number.key);
    if (text.empty()) continue;
    if (const std::string problem = WholeRangeProblem(text, number.range); !problem.empty())
      return refused(number.key, problem);
    number.number = std::stoi(text);
  }
  return "";
}

// Reads every preset the sections hold, in order, into `presets`; "" or what is wrong.
std::string ParseSections(const Sections& sections, std::vector<Preset>& presets) {
  const auto header = sections.find(PRESETS_SECTION);
  const bool hasCount = header != sections.end() && header->second.count(COUNT_KEY);
  const std::string countText = hasCount ? header->second.at(COUNT_KEY) : "0";
  if (const std::string problem = WholeNumberProblem(countText, 0, static_cast<int>(MAX_PRESETS)); !problem.empty())
    return "[Presets] Count=" + countText + ": " + problem;
  const size_t count = static_cast<size_t>(std::stoi(countText));
  for (size_t number = 1; number <= count; ++number) {
    const auto section = sections.find(SectionName(number));
    if (section == sections.end()) {
      return "[Presets] Count=" + countText + ", but there is no [" + SectionName(number) + "]";
    }
    Preset preset;
    if (const std::string problem = ParsePreset(section->first, section->second, preset); !problem.empty())
      return problem;
    if (const Preset* earlier = FindPreset(presets, preset.name)) {
      return "[" + section->first + "] Name=" + preset.name + ": the name of a preset before it, \"" + earlier->name +
             "\", regardless of case";
    }
    presets.push_back(preset);
  }
  // Every other "Preset N" section is one the count leaves out ("Preset 3" of two, or a
  // "Preset 01").
  for (const auto& section : sections) {
    if (!IsPresetSection(section.first)) continue;
    bool counted = false;
    for (size_t number = 1; number <= count && !counted; ++number) counted = section.first == SectionName(number);
    if (!counted) return "[Presets] Count=" + countText + ", but there is a [" + section.first + "]";
  }
  return "";
}

}  // namespace

std::string PresetsPathBeside(const std::string& settingsPath) {
  const size_t slash = settingsPath.find_last_of("/\\");
  return (slash == std::string::npos ? "" : settingsPath.substr(0, slash + 1)) + "Presets.ini";
}

std::string PresetNameProblem(const std::string& name) {
  std::vector<char32_t> codePoints;
  if (!DecodeStrictUtf8(name, codePoints)) return "a preset name is UTF-8 text; \"" + name + "\" is not";
  if (codePoints.empty() || codePoints.size() > MAX_PRESET_NAME) {
    return "a preset name has 1 to " + std::to_string(MAX_PRESET_NAME) + " characters; \"" + name + "\" has " +
           std::to_string(codePoints.size());
  }
  for (const char32_t c : codePoints) {
    if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return "a preset name holds no control characters";
  }
  if (codePoints.front() == ' ' || codePoints.back() == ' ')
    return "a preset name neither begins nor ends with a space; \"" + name + "\" does";
  return "";
}

const Preset* FindPreset(const std::vector<Preset>& presets, const std::string& name) {
  const std::string wanted = Lowered(name);
  for (const Preset& preset : presets)
    if (Lowered(preset.name) == wanted) return &preset;
  return nullptr;
}

std::string PresetLine(const Preset& preset) {
  const auto distance = [](bool on, const std::string& text) { return on ? text + " mm" : std::string("off"); };
  const auto number = [](const char* off, int value, const char* unit) {
    return value > 0 ? std::to_string(value) + " " + unit : std::string(off);
  };
  return preset.name + ": offset " + distance(preset.bladeOffset, preset.bladeOffsetText) + ", over-cut " +
         distance(preset.overCut, preset.overCutText) + ", " + std::to_string(preset.passes) +
         (preset.passes == 1 ? " pass, " : " passes, ") + number("force off", preset.tool.force, "g") + ", " +
         number("speed off", preset.tool.speed, "cm/s");
}

std::string PresetsText(const std::vector<Preset>& presets) {
  std::string text =
      std::string("[") + PRESETS_SECTION + "]\r\n" + COUNT_KEY + "=" + std::to_string(presets.size()) + "\r\n";
  const auto number = [](int value) { return value > 0 ? std::to_string(value) : std::string(); };
  for (size_t i = 0; i < presets.size(); ++i) {
    const Preset& p = presets[i];
    text += "[" + SectionName(i + 1) + "]\r\n";
    text += "Name=" + p.name + "\r\n";
    text += "BladeOffset=" + (p.bladeOffset ? p.bladeOffsetText : "") + "\r\n";
    text += "Overcut=" + (p.overCut ? p.overCutText : "") + "\r\n";
    text += "Passes=" + std::to_string(p.passes) + "\r\n";
    text += "Force=" + number(p.tool.force) + "\r\n";
    text += "Speed=" + number(p.tool.speed) + "\r\n";
  }
  return text;
}

std::string ParsePresets(const std::string& bytes, std::vector<Preset>& presets) {
  presets.clear();
  std::vector<char32_t> codePoints;
  if (!DecodeStrictUtf8(bytes, codePoints)) return "not UTF-8 text";
  const std::string problem = ParseSections(ReadSections(bytes), presets);
  if (!problem.empty()) presets.clear();
  return problem;
}

bool ReadPresets(const std::string& path, std::vector<Preset>& presets, std::string& reason) {
  presets.clear();
  std::string bytes;
  try {
    if (!LoadFileIfPresent(path, bytes)) return true;
  } catch (const CFileException& e) {
    reason = SystemErrorText(e.OsError());
    return false;
  }
  reason = ParsePresets(bytes, presets);
  return reason.empty();
}

void WritePresets(const std::string& path, const std::vector<Preset>& presets) {
  if (const int error = ReplaceFileContent(path, PresetsText(presets))) throw CFileException("writing", path, error);
}

Choices ChoicesOfPreset(const Preset& preset) {
  Choices choices;
  choices.bladeOffset = preset.bladeOffset;
  if (preset.bladeOffset) choices.bladeOffsetText = preset.bladeOffsetText;
  choices.overCut = preset.overCut;
  if (preset.overCut) choices.overCutText = preset.overCutText;
  choices.passes = preset.passes;
  choices.force = preset.tool.force;
  choices.speed = preset.tool.speed;
  choices.preset = preset.name;
  return choices;
}

Preset PresetOfChoices(const std::string& name, const Choices& used) {
  Preset preset;
  preset.name = name;
  preset.bladeOffset = used.bladeOffset.value_or(false);
  if (preset.bladeOffset) preset.bladeOffsetText = used.bladeOffsetText.value_or("");
  preset.overCut = used.overCut.value_or(false);
  if (preset.overCut) preset.overCutText = used.overCutText.value_or("");
  preset.passes = used.passes.value_or(1);
  preset.tool = ToolSettings{used.force.value_or(0), used.speed.value_or(0)};
  return preset;
}

PresetStore StorePreset(std::vector<Preset>& presets, const Preset& preset, bool replace) {
  const Preset* existing = FindPreset(presets, preset.name);
  if (existing && !replace) return PRESET_NAME_TAKEN;
  if (existing) {
    presets[static_cast<size_t>(existing - presets.data())] = preset;
    return PRESET_STORED;
  }
  if (presets.size() >= MAX_PRESETS) return PRESET_LIST_FULL;
  presets.push_back(preset);
  return PRESET_STORED;
}

std::string PresetNameTakenText(const std::string& name) { return "a preset named \"" + name + "\" exists"; }

std::string PresetListFullText() { return std::to_string(MAX_PRESETS) + " presets is the most; delete one first"; }

std::string PresetsUnreadableText(const std::string& path, const std::string& reason) {
  return "cannot read " + path + ": " + reason;
}
