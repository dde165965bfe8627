// Layout of the job preview: the pixel moves and lines that draw the point list scaled to
// fit the preview control and centred, y pointing up, and the runs they make. The dialog
// draws the runs on its device context; the command-line front end writes them as SVG.
#pragma once

#include <cstddef>
#include <iterator>
#include <vector>

#include "pipeline/Geometry.h"
#include "pipeline/JobModel.h"

struct PreviewStroke {
  bool line;  // false: move the current position there; true: draw a line to it
  int x;
  int y;
};

// A place on the picture in fractions of a pixel.
struct PixelPoint {
  double x;
  double y;
};

// How the preview maps job coordinates to pixels of a client area of width x height, of
// which width - 13 by height - 13 are used. A job with no extent in one direction is
// fitted by the other; with no extent either way it is drawn unscaled.
class CPreviewFrame {
 public:
  // The frame for `points` (their bounds) in a job whose bounds are `bounds`, widened to
  // take in the places `alsoFit` (the job's registration marks) as well.
  CPreviewFrame(PointList points, const JobBounds& bounds, int width, int height,
                const std::vector<IntPoint>& alsoFit = {});

  // The whole pixel the dialog draws (x, y) at.
  IntPoint Pixel(int32_t x, int32_t y) const;
  // Where (x, y) lies on the same picture before it is cut to whole pixels, for drawings
  // finer than the dialog's.
  PixelPoint Exact(int32_t x, int32_t y) const;
  // Millimetres of the job per pixel of the picture, above 0.
  double MillimetresPerPixel() const;

 private:
  int64_t m_nFlip;  // y is drawn as m_nFlip - y, so that the largest y is at the top
  // Subtracted from x and from the flipped y before they are scaled: how far the places
  // taken in besides the points reach below 0 (0 when they do not).
  int64_t m_nShiftX = 0;
  int64_t m_nShiftY = 0;
  double m_fScale;  // multiplies a coordinate before it becomes points (1/72 inch)
  int m_nOriginX;   // pixel of the points' x = 0
  int m_nOriginY;
};

// The strokes of a point list for a client area of width x height pixels, one per move or
// line, worked out as they are walked instead of stored: a million points take no memory
// of their own. The points must stay as they are while it is walked. Empty for a null
// point list.
class CPreviewLayout {
 public:
  // Walks the strokes in the order of the points.
  class CIterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = PreviewStroke;
    using difference_type = std::ptrdiff_t;
    using pointer = const PreviewStroke*;
    using reference = const PreviewStroke&;

    // At the first move or line from `at` on; the end when there is none.
    CIterator(const CPreviewFrame& frame, const PlotPoint* at);
    // The stroke it is at; not at the end.
    const PreviewStroke& operator*() const { return m_stroke; }
    // On to the next stroke, or the end; not at the end.
    CIterator& operator++();
    // Whether both are at the same point (the end is a point of its own).
    bool operator==(const CIterator& other) const { return m_pAt == other.m_pAt; }
    bool operator!=(const CIterator& other) const { return m_pAt != other.m_pAt; }

   private:
    // Moves on to the first move or line from m_pAt on and lays it out.
    void SkipToStroke();

    const CPreviewFrame* m_pFrame;
    const PlotPoint* m_pAt;  // the point of m_stroke; null at the end
    PreviewStroke m_stroke;
  };

  // The layout of `points` in a job whose bounds are `bounds`, as CPreviewFrame fits it
  // with `alsoFit`.
  CPreviewLayout(PointList points, const JobBounds& bounds, int width, int height,
                 const std::vector<IntPoint>& alsoFit = {});

  // The frame the strokes are laid out in.
  const CPreviewFrame& Frame() const { return m_frame; }

  // The first stroke, and the end.
  CIterator begin() const { return CIterator(m_frame, m_pPoints); }
  CIterator end() const { return CIterator(m_frame, nullptr); }
  // True when there is no stroke to draw.
  bool empty() const { return begin() == end(); }

 private:
  PointList m_pPoints;
  CPreviewFrame m_frame;
};

// How many pixels each arm of a registration mark's cross reaches from its centre.
const int PREVIEW_MARK_ARM = 4;

// The strokes of a cross on each of `marks` (the job's coordinates) in `frame`: a move to
// the left arm's end and a line to the right's, then the same from the bottom to the top.
// Both drawings draw them in blue.
std::vector<PreviewStroke> PreviewMarkStrokes(const CPreviewFrame& frame, const std::vector<IntPoint>& marks);

// Where both drawings draw the far edge of media `mediaWidth` units wide across the roll,
// as the x of the job's coordinates that a job of `bounds` places it at: the cutter's origin
// lies at the job's right side (ToolPath.h) and the media reaches `mediaWidth` to the left
// of it. Each draws it as a dashed line down the whole picture.
int32_t MediaEdgeX(const JobBounds& bounds, int32_t mediaWidth);

// Cuts `strokes` (PreviewStroke values in order) into runs, the one reading both drawings
// share: a run is the place the pen is put down - a move's, or (0, 0), where a drawing's
// current position starts, for lines before any move - and the places its lines reach
// after it; a move with no line after it makes no run. For each run `runs` gets
// Start(x, y), then LineTo(x, y) for each line, then End(); each drawing decides what it
// draws of them.
template <class TStrokes, class TRuns>
void ForEachPreviewRun(const TStrokes& strokes, TRuns& runs) {
  IntPoint from = {0, 0};
  bool open = false;
  for (const PreviewStroke& stroke : strokes) {
    if (!stroke.line) {
      if (open) runs.End();
      open = false;
      from = IntPoint{stroke.x, stroke.y};
      continue;
    }
    if (!open) runs.Start(from.x, from.y);
    open = true;
    runs.LineTo(stroke.x, stroke.y);
  }
  if (open) runs.End();
}
