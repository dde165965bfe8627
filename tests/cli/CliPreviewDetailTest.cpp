// plotgate preview --detail, read back as a user's SVG viewer would get it. The golden
// places come from the preview's rules: a job 1016 units (one inch) wide in a 267 x 267
// control (254 pixels usable) is drawn at a quarter pixel per unit, its left edge at 2;
// half an inch high (36 points), its top at trunc(127 - 63.5) + 2 = 65. The detailed
// layers sit half a pixel up and left of those exact places.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CliRun.h"
#include "SvgPicture.h"
#include "TempDir.h"
#include "cli/PreviewSvg.h"

namespace {

// Two cuts: an "L" from the origin, and a line along the top drawn leftwards.
const char* TWO_CUTS = "PU0,0;PD400,0;PD400,400;PU1016,508;PD616,508;";

size_t Count(const std::string& text, const std::string& part) {
  size_t n = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

// The red paths of a picture, one line each.
std::string RedPaths(const std::string& svg) {
  std::string red;
  for (size_t at = svg.find("<path fill=\"none\" stroke=\"red\""); at != std::string::npos;
       at = svg.find("<path fill=\"none\" stroke=\"red\"", at + 1))
    red += svg.substr(at, svg.find('\n', at) - at + 1);
  return red;
}

struct Preview {
  int code;
  std::string err, svg;
};

Preview RunPreview(const TempDir& dir, const std::string& job, std::vector<std::string> options) {
  const std::string input = dir.Write("job.plt", job), output = (dir.Path() / "p.svg").string();
  std::vector<std::string> args{"preview", input, "--output", output};
  args.insert(args.end(), options.begin(), options.end());
  const CliRun run(args);
  return Preview{run.code, run.err, TempDir::Read(output)};
}

TEST(CliPreviewDetail, TravelCutsStartsAndDirectionsAtTheirPlaces) {
  TempDir dir;
  const Preview p = RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--detail"});
  ASSERT_EQ(p.code, 0) << p.err;
  const CSvgPicture svg(p.svg);
  ASSERT_TRUE(svg.IsWellFormed());
  EXPECT_EQ(svg.Attribute(svg.Elements("svg").at(0), "viewBox"), "0 0 307 311");
  // From the cutter's origin, the job's lower right corner, to the first cut, from its end
  // to the second, and from there to the corner where the job ends.
  EXPECT_EQ(svg.Attribute("travel", "d"),
            "M 255.5 191.5 L 1.5 191.5 M 101.5 91.5 L 255.5 64.5 M 155.5 64.5 L 255.5 64.5");
  EXPECT_EQ(svg.Attribute("travel", "stroke-dasharray"), "3 2");
  EXPECT_EQ(svg.Attribute("tool-path", "d"), "M 1.5 191.5 L 101.5 191.5 L 101.5 91.5 M 255.5 64.5 L 155.5 64.5");
  const std::vector<int> starts = svg.Elements("circle");
  ASSERT_EQ(starts.size(), 3u);  // two starts, then the origin
  EXPECT_EQ(svg.Attribute(starts[0], "cx") + "," + svg.Attribute(starts[0], "cy"), "1.5,191.5");
  EXPECT_EQ(svg.Attribute(starts[1], "cx") + "," + svg.Attribute(starts[1], "cy"), "255.5,64.5");
  // Arrowheads 7 pixels long from each start: rightwards, then leftwards.
  EXPECT_EQ(svg.Attribute("directions", "d"), "M 8.5 191.5 L 1.5 194 L 1.5 189 Z M 248.5 64.5 L 255.5 62 L 255.5 67 Z");
}

TEST(CliPreviewDetail, CutterOriginRollFeedAndTheSideAcrossTheRoll) {
  TempDir dir;
  const Preview p = RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--detail"});
  const CSvgPicture svg(p.svg);
  // The job goes to the cutter as (y, W - x): its origin is the job's lower right corner,
  // the roll feeds along the job's y (up the picture), and its x side runs across the roll.
  EXPECT_EQ(svg.Attribute("origin", "cx") + "," + svg.Attribute("origin", "cy"), "255.5,191.5");
  EXPECT_EQ(svg.Content("origin-label"), "origin");
  EXPECT_EQ(svg.Attribute("feed", "d"), "M 263.5 191.5 L 263.5 161.5 M 263.5 161.5 L 266 166.5 L 261 166.5 Z");
  EXPECT_EQ(svg.Content("feed-label"), "feed");
  EXPECT_EQ(svg.Attribute("across", "d"),
            "M 255.5 198.5 L 1.5 198.5 M 255.5 195.5 L 255.5 201.5 M 1.5 195.5 L 1.5 201.5");
  EXPECT_EQ(svg.Content("across-label"), "across the roll: 25.40 mm");
}

TEST(CliPreviewDetail, SizeAsInfoGivesItAndTheScale) {
  TempDir dir;
  const Preview p = RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--detail"});
  const CliRun info({"info", (dir.Path() / "job.plt").string()});
  ASSERT_EQ(info.out, "25.40 x 12.70 mm (across the roll x along the feed)\n");
  // A quarter pixel per unit of 1/40 mm.
  EXPECT_EQ(CSvgPicture(p.svg).Content("size"), "25.40 x 12.70 mm, scale 1 px = 0.1 mm");
}

TEST(CliPreviewDetail, TheDialogsPictureStaysUnderneathAndTheDefaultIsUnchanged) {
  TempDir dir;
  const Preview plain = RunPreview(dir, TWO_CUTS, {"--size", "267x267"});
  const Preview detailed = RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--detail"});
  // The dialog's whole pixels: x = trunc(trunc(s * 400 + 0.55) * 72 / 1016) + 2 = 101 with
  // s = 254 / 72, below the exact 102; the detailed layers draw it at 101.5.
  EXPECT_EQ(plain.svg,
            "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"267\" height=\"267\" viewBox=\"0 0 267 267\">\n"
            "<rect width=\"267\" height=\"267\" fill=\"white\"/>\n"
            "<path fill=\"none\" stroke=\"red\" stroke-width=\"1\" d=\"M 2 191 L 101 191 L 101 92\"/>\n"
            "<path fill=\"none\" stroke=\"red\" stroke-width=\"1\" d=\"M 255 65 L 155 65\"/>\n"
            "</svg>\n");
  EXPECT_EQ(RedPaths(detailed.svg), RedPaths(plain.svg));
  EXPECT_EQ(CSvgPicture(detailed.svg).Attribute("control", "width"), "266");
}

TEST(CliPreviewDetail, ToolPathCarriesBladeOffsetAndOvercut) {
  // 1024 x 512 units, still a quarter pixel per unit; drawn at x / 4 + 1.5, 192.5 - y / 4.
  TempDir dir;
  const std::string job = "PU0,0;PD1024,0;PD1024,512;";
  const auto toolPath = [&](std::vector<std::string> options) {
    options.insert(options.begin(), {"--size", "267x267", "--detail"});
    const Preview p = RunPreview(dir, job, options);
    EXPECT_EQ(p.code, 0) << p.err;
    return CSvgPicture(p.svg).Attribute("tool-path", "d");
  };
  EXPECT_EQ(toolPath({}), "M 1.5 192.5 L 257.5 192.5 L 257.5 64.5");
  // 1.6 mm = 64 units past the end, along the last segment.
  EXPECT_EQ(toolPath({"--overcut", "1.6"}), "M 1.5 192.5 L 1.5 192.5 L 257.5 192.5 L 257.5 48.5");
  // 0.8 mm = 32 units past the sharp corner, then 32 units into the next segment.
  EXPECT_EQ(toolPath({"--blade-offset", "0.8"}), "M 1.5 192.5 L 1.5 192.5 L 265.5 192.5 L 257.5 184.5 L 257.5 64.5");
  EXPECT_EQ(toolPath({"--blade-offset", "0.8", "--model", "Heron(V8.8 or before)"}),
            "M 1.5 192.5 L 1.5 192.5 L 265.5 192.5 L 257.5 184.5 L 257.5 64.5");  // DM/PL carries the same moves
}

TEST(CliPreviewDetail, CutterOptionsNeedDetailAndAreChecked) {
  TempDir dir;
  EXPECT_EQ(RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--blade-offset", "0.38"}).code, 2);
  EXPECT_EQ(RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--model", "1"}).code, 2);
  EXPECT_EQ(RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--detail", "--overcut", "1e9"}).code, 2);
  EXPECT_EQ(RunPreview(dir, TWO_CUTS, {"--size", "267x267", "--detail", "--model", "Albatross"}).code, 2);
}

TEST(CliPreviewDetail, ALargeJobIsThinnedOnlyInTheDetailedPicture) {
  // A spiral of 300,000 points, 1,000 a turn, finer than the picture's pixels: 300,000
  // strokes and as many moves sent.
  std::string job = "PU8000,6000;";
  const int points = 300000;
  for (int i = 0; i < points; ++i) {
    const double angle = i * 6.283185307179586 / 1000, radius = 6000.0 * i / points;
    job += "PD" + std::to_string(static_cast<int>(8000 + radius * std::cos(angle))) + "," +
           std::to_string(static_cast<int>(6000 + radius * std::sin(angle))) + ";";
  }
  TempDir dir;
  const Preview plain = RunPreview(dir, job, {"--size", "400x300"});
  ASSERT_EQ(plain.code, 0) << plain.err;
  EXPECT_EQ(Count(plain.svg, " L "), static_cast<size_t>(points));  // every stroke, as the dialog draws it
  const Preview detailed = RunPreview(dir, job, {"--size", "400x300", "--detail"});
  ASSERT_EQ(detailed.code, 0) << detailed.err;
  const CSvgPicture svg(detailed.svg);
  EXPECT_TRUE(svg.IsWellFormed());
  // The red paths in whole pixels keep their steps of one pixel; repeats go.
  EXPECT_LT(Count(RedPaths(detailed.svg), " L "), static_cast<size_t>(points / 2));
  EXPECT_LT(Count(svg.Attribute("tool-path", "d"), " L "), static_cast<size_t>(points / 10));
}

TEST(CliPreviewDetail, CoordinatesAtTheInt32LimitsStillGiveAPicture) {
  // Extents that saturate, and a blade offset and over-cut that push beyond them.
  TempDir dir;
  const Preview p = RunPreview(dir, "PU-2147483648,-2147483648;PD2147483647,2147483647;PD2147483647,-2147483648;",
                               {"--size", "400x300", "--detail", "--blade-offset", "2", "--overcut", "5"});
  ASSERT_EQ(p.code, 0) << p.err;
  EXPECT_TRUE(CSvgPicture(p.svg).IsWellFormed());
  EXPECT_EQ(p.svg.find("nan"), std::string::npos);
  EXPECT_EQ(p.svg.find("inf"), std::string::npos);
}

TEST(PreviewSvg, PixelTextIsAlwaysAPlainNumber) {
  EXPECT_EQ(PixelText(151), "151");
  EXPECT_EQ(PixelText(2.5), "2.5");
  EXPECT_EQ(PixelText(-0.25), "-0.25");
  EXPECT_EQ(PixelText(192.004999), "192");
  EXPECT_EQ(PixelText(-0.001), "0");
  EXPECT_EQ(PixelText(std::nan("")), "0");
  EXPECT_EQ(PixelText(1e300), "1000000000000");
  EXPECT_EQ(PixelText(-HUGE_VAL), "-1000000000000");
}

}  // namespace
