#include "cli/PreviewDetail.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cli/CollinearMerge.h"
#include "cli/PreviewSvg.h"
#include "pipeline/PreviewLayout.h"
#include "pipeline/SizeText.h"
#include "pipeline/ToolPath.h"

namespace {

const int EXTRA_WIDTH = 40;   // room right of the control for the feed arrow
const int EXTRA_HEIGHT = 44;  // room below it for the dimension line and the caption
const char* const TEXT_STYLE = " font-family=\"sans-serif\" font-size=\"9\"";
const char* const TRAVEL_COLOUR = "#707070";
const char* const CUT_COLOUR = "#0050d0";
const char* const MARK_COLOUR = "#008000";

std::string Coloured(const char* colour, const char* text) {
  return std::string("<tspan fill=\"") + colour + "\">" + text + "</tspan>";
}

// Where the finer layers draw the job's point (x, y). Both truncations of the dialog's
// pixels round down, so its red lines lie on average half a pixel above and left of the
// exact place; the finer layers are drawn as much up and left, so that over the red they
// show the cut's own departures and not the rounding's.
PixelPoint Place(const CPreviewFrame& frame, int32_t x, int32_t y) {
  const PixelPoint exact = frame.Exact(x, y);
  return PixelPoint{exact.x - 0.5, exact.y - 0.5};
}

PixelPoint Along(PixelPoint from, PixelPoint direction, double distance) {
  return PixelPoint{from.x + direction.x * distance, from.y + direction.y * distance};
}

// A job-coordinate step as a unit step on the picture, where y points down; none for a
// step that coordinates saturated at the int32 limit have made 0.
PixelPoint PictureDirection(IntPoint step) {
  const double length = std::hypot(static_cast<double>(step.x), static_cast<double>(step.y));
  if (length == 0) return PixelPoint{0, 0};
  return PixelPoint{step.x / length, -step.y / length};
}

// A filled arrowhead with its tip at `tip`, pointing along the unit step `u`.
std::string ArrowHead(PixelPoint tip, PixelPoint u, double length, double halfWidth) {
  const PixelPoint base = Along(tip, u, -length), across{-u.y, u.x};
  return "M " + PointText(tip) + " L " + PointText(Along(base, across, halfWidth)) + " L " +
         PointText(Along(base, across, -halfWidth)) + " Z";
}

std::string Text(const char* id, PixelPoint at, const char* anchor, const std::string& content) {
  return std::string("<text id=\"") + id + "\" x=\"" + PixelText(at.x) + "\" y=\"" + PixelText(at.y) +
         "\" text-anchor=\"" + anchor + "\"" + TEXT_STYLE + ">" + content + "</text>\n";
}

bool operator!=(IntPoint a, IntPoint b) { return a.x != b.x || a.y != b.y; }

// The layers drawn from the tool path, each the inside of one element.
struct CutLayers {
  std::string travel;      // path data of the pen-up moves
  std::string cuts;        // path data of the cuts, one subpath each
  std::string starts;      // a circle element per cut
  std::string directions;  // path data of an arrowhead per cut
};

// The start mark of a cut whose points are `run`, and its arrow along the first step that
// leaves the start; a cut that never leaves it gets the mark alone.
void MarkStart(const std::vector<PixelPoint>& run, CutLayers& layers) {
  const PixelPoint start = run.front();
  layers.starts += "<circle cx=\"" + PixelText(start.x) + "\" cy=\"" + PixelText(start.y) + "\" r=\"1.5\"/>\n";
  for (const PixelPoint& p : run) {
    const double dx = p.x - start.x, dy = p.y - start.y, length = std::hypot(dx, dy);
    if (length < 0.05) continue;
    const PixelPoint u{dx / length, dy / length};
    layers.directions += (layers.directions.empty() ? "" : " ") + ArrowHead(Along(start, u, 7), u, 7, 2.5);
    return;
  }
}

CutLayers DrawToolPath(const ToolPath& path, const CPreviewFrame& frame, double tolerance) {
  CutLayers layers;
  // The knife starts at the cutter's origin.
  IntPoint atJob = path.axes.origin;
  PixelPoint at = Place(frame, atJob.x, atJob.y);
  std::vector<PixelPoint> run;
  auto endCut = [&] {
    if (run.size() > 1) {
      const std::vector<PixelPoint> drawn = MergeCollinear(run, tolerance);
      layers.cuts += (layers.cuts.empty() ? "M " : " M ") + PointText(drawn.front());
      for (size_t i = 1; i < drawn.size(); ++i) layers.cuts += " L " + PointText(drawn[i]);
      MarkStart(run, layers);
    }
    run.clear();
  };
  for (const ToolMove& move : path.moves) {
    const PixelPoint p = Place(frame, move.to.x, move.to.y);
    if (move.cut) {
      if (run.empty()) run.push_back(at);
      run.push_back(p);
    } else {
      endCut();
      if (move.to != atJob)
        layers.travel += (layers.travel.empty() ? "M " : " M ") + PointText(at) + " L " + PointText(p);
    }
    at = p;
    atJob = move.to;
  }
  endCut();
  return layers;
}

// The cutter's origin, an arrow along the feed beside the job, and a dimension line along
// the side of the job that runs across the roll, outside the job.
std::string DrawCutterAxes(const ToolPath& path, const CPreviewFrame& frame) {
  const CutterAxes& axes = path.axes;
  const PixelPoint origin = Place(frame, axes.origin.x, axes.origin.y);
  const PixelPoint feed = PictureDirection(axes.feed), across = PictureDirection(axes.across);
  const PixelPoint beside{-across.x, -across.y}, below{-feed.x, -feed.y};

  const PixelPoint feedStart = Along(origin, beside, 8), feedEnd = Along(feedStart, feed, 30);
  const int64_t side = llabs(axes.across.x) * path.extent.x + llabs(axes.across.y) * path.extent.y;
  const PixelPoint far = Place(frame, TruncToCoord(axes.origin.x + static_cast<double>(axes.across.x) * side),
                               TruncToCoord(axes.origin.y + static_cast<double>(axes.across.y) * side));
  const PixelPoint a = Along(origin, below, 7), b = Along(far, below, 7);
  const PixelPoint middle{(a.x + b.x) / 2, (a.y + b.y) / 2};

  return std::string("<g id=\"cutter\" fill=\"none\" stroke=\"black\" stroke-width=\"0.75\">\n") +
         "<circle id=\"origin\" cx=\"" + PixelText(origin.x) + "\" cy=\"" + PixelText(origin.y) + "\" r=\"3\"/>\n" +
         "<path id=\"feed\" fill=\"black\" d=\"M " + PointText(feedStart) + " L " + PointText(feedEnd) + " " +
         ArrowHead(feedEnd, feed, 5, 2.5) + "\"/>\n" + "<path id=\"across\" d=\"M " + PointText(a) + " L " +
         PointText(b) + " M " + PointText(Along(a, feed, 3)) + " L " + PointText(Along(a, feed, -3)) + " M " +
         PointText(Along(b, feed, 3)) + " L " + PointText(Along(b, feed, -3)) + "\"/>\n</g>\n" +
         "<g fill=\"black\">\n" + Text("origin-label", Along(Along(origin, beside, 5), below, 12), "start", "origin") +
         Text("feed-label", Along(feedEnd, feed, 9), "middle", "feed") +
         Text("across-label", Along(middle, below, 11), "middle", "across the roll: " + MillimetreText(side) + " mm") +
         "</g>\n";
}

// Beyond the points, what the detailed picture tells.
struct PreviewDetail {
  ToolPath toolPath;                 // the pen moves sent, with the cutter's axes
  std::string sizeText;              // the job's size, "100.07 x 25.00 mm" as `plotgate info` prints it
  std::vector<PreviewStroke> marks;  // the crosses on the registration marks
};

// Millimetres per pixel in three significant digits, whole millimetres from 100 on.
std::string ScaleText(double millimetres) {
  char text[48];
  snprintf(text, sizeof text, millimetres >= 100 ? "%.0f" : "%.3g", millimetres);
  return text;
}

std::string DetailedPreviewSvg(const std::vector<PreviewStroke>& strokes, const CPreviewFrame& frame,
                               const PreviewDetail& detail, int width, int height, double tolerance) {
  const std::string w = std::to_string(width + EXTRA_WIDTH), h = std::to_string(height + EXTRA_HEIGHT);
  const CutLayers layers = DrawToolPath(detail.toolPath, frame, tolerance);
  std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
                    "\" viewBox=\"0 0 " + w + " " + h + "\">\n<rect width=\"" + w + "\" height=\"" + h +
                    "\" fill=\"white\"/>\n";
  // The dialog's preview control, so that its picture can be told from what is added.
  svg += "<rect id=\"control\" x=\"0.5\" y=\"0.5\" width=\"" + std::to_string(width - 1) + "\" height=\"" +
         std::to_string(height - 1) + "\" fill=\"none\" stroke=\"#c8c8c8\" stroke-width=\"1\"/>\n";
  svg += std::string("<path id=\"travel\" fill=\"none\" stroke=\"") + TRAVEL_COLOUR +
         "\" stroke-width=\"0.5\" stroke-dasharray=\"3 2\" d=\"" + layers.travel + "\"/>\n";
  svg += PreviewRunPaths(strokes, tolerance);
  svg += PreviewRunPaths(detail.marks, 0, "blue");
  svg += std::string("<path id=\"tool-path\" fill=\"none\" stroke=\"") + CUT_COLOUR + "\" stroke-width=\"0.5\" d=\"" +
         layers.cuts + "\"/>\n";
  svg += std::string("<g id=\"starts\" fill=\"") + MARK_COLOUR + "\">\n" + layers.starts + "</g>\n";
  svg += std::string("<path id=\"directions\" fill=\"") + MARK_COLOUR + "\" d=\"" + layers.directions + "\"/>\n";
  svg += DrawCutterAxes(detail.toolPath, frame);
  svg += "<g fill=\"black\">\n" +
         Text("size", PixelPoint{2, height + 26.0}, "start",
              detail.sizeText + ", scale 1 px = " + ScaleText(frame.MillimetresPerPixel()) + " mm") +
         Text("legend", PixelPoint{2, height + 38.0}, "start",
              Coloured("red", "drawing") + ", " + Coloured(CUT_COLOUR, "cuts sent") + ", " +
                  Coloured(TRAVEL_COLOUR, "pen-up travel") + ", " + Coloured(MARK_COLOUR, "start and direction")) +
         "</g>\n";
  return svg + "</svg>\n";
}

}  // namespace

JobResult DetailedPreviewOfJob(CPlotJob& job, const JobFormat& format, const OffsetOptions& options, int width,
                               int height, Thinning thinning, std::string& svg) {
  // The dialog's picture first: the encoding simplifies the job's points.
  const std::vector<IntPoint> marks = job.MarkPoints();
  const CPreviewLayout layout(job.m_pPoints, job.m_bounds, width, height, marks);
  const CPreviewFrame& frame = layout.Frame();
  const std::vector<PreviewStroke> strokes(layout.begin(), layout.end());
  PreviewDetail detail;
  detail.sizeText = job.WidthText() + " x " + job.HeightText() + " mm";
  detail.marks = PreviewMarkStrokes(frame, marks);
  const JobResult traced = TraceToolPath(job, format, options, detail.toolPath);
  if (traced != JOB_DONE) return traced;
  const bool thin = thinning == THIN_ALWAYS || (thinning == THIN_WHEN_LARGE &&
                                                strokes.size() + detail.toolPath.moves.size() > LARGE_PREVIEW_POINTS);
  svg = DetailedPreviewSvg(strokes, frame, detail, width, height, thin ? THINNING_TOLERANCE : 0);
  return JOB_DONE;
}
