#include <gtest/gtest.h>

#include "settings/ChoiceLimits.h"

namespace {

// The dialog's Send refuses to save a ticked option's text that the command line would
// refuse, so that a pasted go-on command and a later send from the command line take what
// the dialog cut with. Caught: a weed border "100" or "5,5", a blade offset "2.5" or an
// over-cut "0,5" saved (and cut as 50, 5, 2.5 or 0 mm); an unticked box's text refused
// although nothing takes it; a media width "abc", a panel overlap beyond its range or too
// large for the width taken, or the panels' texts refused while no media width cuts panels.
TEST(ChoiceLimits, DialogRefusesTickedTextsTheCommandLineRefuses) {
  const struct {
    int bladeOffset, overCut, weedBorder;
    const char *bladeText, *overCutText, *weedText;
    const char* refusal;
    int mediaWidth = 0, panels = 0;
    const char *widthText = "120", *overlapText = "10", *gapText = "20";
  } rows[] = {
      {1, 1, 1, "0.38", "0.85", "3", ""},
      {0, 0, 0, "2.5", "0,5", "100", ""},
      {1, 0, 0, "2.5", "0.85", "3", "Blade offset: \"2.5\" is outside a number of mm from 0.01 to 2"},
      {0, 1, 0, "0.38", "0,5", "3", "OverCut: \"0,5\" is not a number of mm from 0.01 to 5"},
      {0, 1, 0, "0.38", "1.00000001", "3", "OverCut: \"1.00000001\" is longer than 9 characters"},
      {0, 0, 1, "0.38", "0.85", "100", "Weed border: \"100\" is outside a number of mm from 0.5 to 50"},
      {0, 0, 1, "0.38", "0.85", "50.1", "Weed border: \"50.1\" is outside a number of mm from 0.5 to 50"},
      {0, 0, 1, "0.38", "0.85", "5,5", "Weed border: \"5,5\" is not a number of mm from 0.5 to 50"},
      {0, 0, 1, "0.38", "0.85", "50", ""},
      {1, 1, 1, "2.5", "0,5", "100", "Blade offset: \"2.5\" is outside a number of mm from 0.01 to 2"},
      {0, 0, 0, "0.38", "0.85", "3", "", 1, 1},
      {0, 0, 0, "0.38", "0.85", "3", "Media width: \"abc\" is not a number of mm from 50 to 3000", 1, 0, "abc"},
      {0, 0, 0, "0.38", "0.85", "3", "Panel overlap: \"60\" is outside a number of mm from 0 to 50", 1, 1, "120", "60"},
      {0, 0, 0, "0.38", "0.85", "3", "Panel gap: \"2 0\" is not a number of mm from 0 to 500", 1, 1, "120", "10",
       "2 0"},
      {0, 0, 0, "0.38", "0.85", "3", "", 0, 1, "abc", "60", "x"},
      {0, 0, 0, "0.38", "0.85", "3", "", 1, 0, "55", "50", "x"},
      {0, 0, 0, "0.38", "0.85", "3",
       "Panels: the panel overlap (50 mm) must be smaller than the media width less 10 mm", 1, 1, "55", "50"},
  };
  for (const auto& row : rows) {
    Choices choices;
    choices.bladeOffset = row.bladeOffset != 0;
    choices.overCut = row.overCut != 0;
    choices.bladeOffsetText = row.bladeText;
    choices.overCutText = row.overCutText;
    choices.weedBorder = row.weedBorder != 0;
    choices.weedBorderText = row.weedText;
    choices.mediaWidth = row.mediaWidth != 0;
    choices.mediaWidthText = row.widthText;
    choices.panels = row.panels != 0;
    choices.panelOverlapText = row.overlapText;
    choices.panelGapText = row.gapText;
    EXPECT_EQ(RefusedOptionText(choices), row.refusal);
  }
}

// Caught: a number read as atoi reads it, which takes "2x" and " 2" as 2 and overflows on
// eleven digits.
TEST(ChoiceLimits, WholeNumbersAreDigitsWithinTheRange) {
  EXPECT_EQ(WholeNumberProblem("1", 1, 5), "");
  EXPECT_EQ(WholeNumberProblem("5", 1, 5), "");
  for (const char* refused : {"0", "6", "", "2x", "-1", " 2", "99999999999"})
    EXPECT_EQ(WholeNumberProblem(refused, 1, 5), "\"" + std::string(refused) + "\" is not a whole number from 1 to 5");
  // The force and speed read the same way; also caught: a range off by one at either end.
  EXPECT_EQ(WholeRangeProblem("1000", FORCE_RANGE), "");
  EXPECT_EQ(WholeRangeProblem("1", SPEED_RANGE), "");
  EXPECT_EQ(WholeRangeProblem("1200", FORCE_RANGE), "takes grams from 1 to 1000, not \"1200\"");
  EXPECT_EQ(WholeRangeProblem("80g", FORCE_RANGE), "takes grams from 1 to 1000, not \"80g\"");
  EXPECT_EQ(WholeRangeProblem("101", SPEED_RANGE), "takes cm/s from 1 to 100, not \"101\"");
  EXPECT_EQ(WholeRangeProblem("0", SPEED_RANGE), "takes cm/s from 1 to 100, not \"0\"");
}

// The media's and the panels' distances, and an overlap that leaves a panel less than 10 mm
// to move on by. Caught: a range end refused or the one beyond it taken, an overlap equal to
// the width less 10 mm taken (panels that move on by nothing at the weed border's limit).
TEST(ChoiceLimits, MediaWidthAndPanelDistances) {
  const struct {
    const MillimetreRange& range;
    const char* text;
    const char* problem;
  } rows[] = {
      {MEDIA_WIDTH_RANGE, "50", ""},
      {MEDIA_WIDTH_RANGE, "3000", ""},
      {MEDIA_WIDTH_RANGE, "49.9", "\"49.9\" is outside a number of mm from 50 to 3000"},
      {MEDIA_WIDTH_RANGE, "3000.5", "\"3000.5\" is outside a number of mm from 50 to 3000"},
      {PANEL_OVERLAP_RANGE, "0", ""},
      {PANEL_OVERLAP_RANGE, "50.1", "\"50.1\" is outside a number of mm from 0 to 50"},
      {PANEL_GAP_RANGE, "500", ""},
      {PANEL_GAP_RANGE, "-1", "\"-1\" is not a number of mm from 0 to 500"},
  };
  for (const auto& row : rows) EXPECT_EQ(MillimetreProblem(row.text, row.range), row.problem) << row.text;
  EXPECT_EQ(PanelOverlapProblem("50", "60"),
            "the panel overlap (50 mm) must be smaller than the media width less 10 mm");
  EXPECT_EQ(PanelOverlapProblem("49.9", "60"), "");
  EXPECT_EQ(PanelOverlapProblem("10", "120"), "");
}

}  // namespace
