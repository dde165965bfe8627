#include "PreviewPainter.h"

#include "PreviewLayout.h"

namespace {

// The most points the preview hands the device in one polyline.
const int POLYLINE_BATCH = 4096;

}  // namespace

void CPreviewPainter::Paint(HDC dc, int width, int height, const CPlotJob& job) {
  HDC picture = CreateCompatibleDC(dc);
  if (!m_hPicture || width != m_nWidth || height != m_nHeight) {
    Forget();
    m_hPicture = CreateCompatibleBitmap(dc, width, height);
    m_nWidth = width;
    m_nHeight = height;
    if (picture && m_hPicture) {
      HGDIOBJ old = SelectObject(picture, m_hPicture);
      DrawLines(picture, width, height, job);
      SelectObject(picture, old);
    }
  }
  if (picture && m_hPicture) {
    HGDIOBJ old = SelectObject(picture, m_hPicture);
    // Inside the frame that the control draws: the white ground and every line on it.
    BitBlt(dc, 1, 1, width - 2, height - 2, picture, 1, 1, SRCCOPY);
    SelectObject(picture, old);
  } else {
    DrawLines(dc, width, height, job);  // no memory for the copy
  }
  if (picture) DeleteDC(picture);
}

void CPreviewPainter::Forget() {
  if (m_hPicture) DeleteObject(m_hPicture);
  m_hPicture = nullptr;
}

void CPreviewPainter::DrawLines(HDC dc, int width, int height, const CPlotJob& job) {
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  const RECT inside = {1, 1, width - 1, height - 1};
  FillRect(dc, &inside, white);

  // The lines go to the device as polylines through the distinct pixels they reach, in
  // batches: the same pixels as a move or line call per point, in far fewer calls on a
  // large job. A line to the pixel the pen is on draws nothing, since a line leaves out
  // its last pixel, and a polyline draws each of its segments as such a line; the next
  // batch starts from the pen's pixel as any run does.
  POINT run[POLYLINE_BATCH];
  int count = 0;
  POINT current = {0, 0};  // where a device context's current position starts
  auto flush = [&] {
    if (count >= 2) Polyline(dc, run, count);
    count = 0;
  };
  for (const PreviewStroke& stroke : CPreviewLayout(job.m_pPoints, job.m_bounds, width, height)) {
    const POINT to = {stroke.x, stroke.y};
    if (!stroke.line) {
      flush();
    } else if (to.x != current.x || to.y != current.y) {
      if (count == 0) run[count++] = current;
      run[count++] = to;
      if (count == POLYLINE_BATCH) flush();
    }
    current = to;
  }
  flush();

  SelectObject(dc, oldPen);
  DeleteObject(white);
  DeleteObject(pen);
}
