#include "cli/ProgressLine.h"

#include <algorithm>
#include <cstdio>

#include "cli/AmountText.h"

namespace {

// The bar's room inside its brackets: the most it takes, and the least worth showing.
const int BAR_MARKS = 40;
const int BAR_MIN_MARKS = 10;

std::string Bar(int marks, int percent) {
  const int filled = percent * marks / 100;
  return "[" + std::string(filled, '#') + std::string(marks - filled, ' ') + "]";
}

}  // namespace

std::string ProgressLine(int columns, uint64_t sent, uint64_t total, double secondsLeft) {
  const int room = columns - 1;
  if (room <= 0) return "";
  const int percent =
      total == 0 ? 100
                 : static_cast<int>(std::min(100.0, static_cast<double>(sent) / static_cast<double>(total) * 100));
  char percentText[8];
  snprintf(percentText, sizeof percentText, "%3d%%", percent);
  const std::string left = ClockText(secondsLeft) + " left";
  const std::string sizes = SizeOfText(sent, total);

  // From the fullest line to the barest, the first that fits.
  struct Layout {
    bool bar;
    std::string text;
  };
  const Layout layouts[] = {
      {true, percentText + ("  " + sizes) + "  " + left},
      {true, percentText + ("  " + left)},
      {false, percentText + ("  " + left)},
      {false, percentText},
  };
  for (const Layout& layout : layouts) {
    const int textLength = static_cast<int>(layout.text.size());
    if (!layout.bar) {
      if (textLength <= room) return layout.text;
      continue;
    }
    // The bar, a space, and the text.
    const int marks = std::min(BAR_MARKS, room - textLength - 3);
    if (marks >= BAR_MIN_MARKS) return Bar(marks, percent) + " " + layout.text;
  }
  return (std::to_string(percent) + "%").substr(0, room);
}

std::string StalledLine(int columns, int seconds) {
  const std::string line =
      "the cutter has taken nothing for " + std::to_string(seconds) + " s: is it paused or off-line? Ctrl-C stops";
  return line.substr(0, static_cast<size_t>(std::max(columns - 1, 0)));
}
