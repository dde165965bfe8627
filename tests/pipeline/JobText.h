// Helpers for pipeline tests: jobs from exchange text, lists as readable text.
#pragma once

#include <string>

#include "TempDir.h"
#include "pipeline/ExchangeReader.h"
#include "pipeline/Geometry.h"
#include "pipeline/JobFileWriter.h"
#include "pipeline/JobModel.h"

// "U0,0 D4000,0 E" style: U move, D line, C curve (six numbers), E placeholder.
inline std::string CommandsText(CommandList list) {
  std::string out;
  for (PathCommand* c = list; c; c = c->next) {
    if (!out.empty()) out += ' ';
    switch (c->kind) {
      case KIND_PEN_UP: out += "U"; break;
      case KIND_PEN_DOWN: out += "D"; break;
      case KIND_CURVE: out += "C"; break;
      default: out += "E"; continue;
    }
    const int n = c->kind == KIND_CURVE ? 6 : 2;
    for (int i = 0; i < n; ++i) out += (i ? "," : "") + std::to_string(c->coords[i]);
  }
  return out;
}

inline std::string PointsText(PointList list) {
  std::string out;
  for (PlotPoint* p = list; p; p = p->next) {
    if (!out.empty()) out += ' ';
    if (p->kind == KIND_EMPTY) {
      out += "E";
      continue;
    }
    out += (p->kind == KIND_PEN_UP ? "U" : "D") + std::to_string(p->x) + "," + std::to_string(p->y);
  }
  return out;
}

// Reads `text` as an exchange file; the list is released by the caller (FreeCommands).
inline CommandList ReadText(const std::string& text) {
  TempDir dir;
  CommandList list = nullptr;
  ReadExchangeFile(list, dir.Write("job.plt", text).c_str());
  return list;
}

// Reads and flattens `text`, applies `then` to the point list (when given) and returns the
// points as text; both lists are released.
inline std::string FlattenedText(const std::string& text, bool (*then)(PointList&) = nullptr) {
  CommandList commands = ReadText(text);
  PointList points = nullptr;
  FlattenCommands(commands, points);
  if (then) then(points);
  std::string result = PointsText(points);
  FreeCommands(commands);
  FreePoints(points);
  return result;
}

// The option controls with a box ticked for each distance text given ("" for unticked).
inline OffsetOptions Options(const std::string& blade, const std::string& over) {
  OffsetOptions o;
  o.bladeOffset = !blade.empty();
  o.bladeOffsetText = blade;
  o.overCut = !over.empty();
  o.overCutText = over;
  return o;
}
