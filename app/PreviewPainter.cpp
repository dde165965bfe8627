#include "app/PreviewPainter.h"

#include "pipeline/PreviewLayout.h"
#include "pipeline/PreviewScene.h"

namespace {

// The most points the preview hands the device in one polyline.
const int POLYLINE_BATCH = 4096;

// Pixels of each arm of the cutter origin's corner.
const int ORIGIN_ARM = 8;

// Draws the preview's runs as polylines through the distinct pixels they reach, in
// batches: the same pixels as a move or line call per stroke, in far fewer calls on a
// large job. A line to the pixel the pen is on draws nothing, since a line leaves out its
// last pixel, and a polyline draws each of its segments as such a line; the next batch
// starts from the pen's pixel as any run does.
class CPolylineRuns {
 public:
  explicit CPolylineRuns(HDC dc) : m_dc(dc) {}

  void Start(int x, int y) {
    m_points[0] = POINT{x, y};
    m_count = 1;
  }
  void LineTo(int x, int y) {
    const POINT& pen = m_points[m_count - 1];
    if (x == pen.x && y == pen.y) return;
    m_points[m_count++] = POINT{x, y};
    if (m_count < POLYLINE_BATCH) return;
    Polyline(m_dc, m_points, m_count);
    Start(x, y);
  }
  void End() {
    if (m_count >= 2) Polyline(m_dc, m_points, m_count);
    m_count = 0;
  }

 private:
  HDC m_dc;
  POINT m_points[POLYLINE_BATCH];
  int m_count = 0;
};

}  // namespace

void CPreviewPainter::Paint(HDC dc, int width, int height, const CPlotJob& job, int32_t mediaWidth) {
  HDC picture = CreateCompatibleDC(dc);
  if (!m_hPicture || width != m_nWidth || height != m_nHeight) {
    Forget();
    m_hPicture = CreateCompatibleBitmap(dc, width, height);
    m_nWidth = width;
    m_nHeight = height;
    if (picture && m_hPicture) {
      HGDIOBJ old = SelectObject(picture, m_hPicture);
      DrawLines(picture, width, height, job, mediaWidth);
      SelectObject(picture, old);
    }
  }
  if (picture && m_hPicture) {
    HGDIOBJ old = SelectObject(picture, m_hPicture);
    // Inside the frame that the control draws: the white ground and every line on it.
    BitBlt(dc, 1, 1, width - 2, height - 2, picture, 1, 1, SRCCOPY);
    SelectObject(picture, old);
  } else {
    DrawLines(dc, width, height, job, mediaWidth);  // no memory for the copy
  }
  if (picture) DeleteDC(picture);
}

void CPreviewPainter::Forget() {
  if (m_hPicture) DeleteObject(m_hPicture);
  m_hPicture = nullptr;
}

void CPreviewPainter::DrawLines(HDC dc, int width, int height, const CPlotJob& job, int32_t mediaWidth) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  const RECT inside = {1, 1, width - 1, height - 1};
  FillRect(dc, &inside, white);

  const CPreviewScene scene(job);
  const CPreviewLayout layout(scene.Points(), scene.Bounds(), width, height, scene.AlsoFit());
  CPolylineRuns runs(dc);
  ForEachPreviewRun(layout, runs);
  // The registration marks' crosses over the drawing, in blue.
  HPEN blue = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
  SelectObject(dc, blue);
  ForEachPreviewRun(PreviewMarkStrokes(layout.Frame(), scene.Marks()), runs);
  // The media's far edge over both, dashed.
  HPEN dashed = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
  if (mediaWidth > 0) {
    SelectObject(dc, dashed);
    const int x = layout.Frame().Pixel(MediaEdgeX(scene.Bounds(), mediaWidth), 0).x;
    MoveToEx(dc, x, 1, nullptr);
    LineTo(dc, x, height - 1);
  }
  // A placed job's cutter origin, as a black corner along the two axes that leave it.
  HPEN black = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
  if (const std::optional<IntPoint>& origin = scene.CutterOrigin()) {
    SelectObject(dc, black);
    const IntPoint at = layout.Frame().Pixel(origin->x, origin->y);
    MoveToEx(dc, at.x - ORIGIN_ARM, at.y, nullptr);
    LineTo(dc, at.x, at.y);
    LineTo(dc, at.x, at.y - ORIGIN_ARM - 1);
  }

  SelectObject(dc, oldPen);
  DeleteObject(black);
  DeleteObject(dashed);
  DeleteObject(blue);
  DeleteObject(white);
  DeleteObject(pen);
}
