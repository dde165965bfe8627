// The main dialog's picture of the job (PreviewScene.h: placed on a sheet, where the cutter
// will cut it): its lines in red on a white ground, scaled to fit and centred, y up, its
// registration marks as blue crosses, the media's far edge as a dashed black line, and a
// placed job's cutter origin as a black corner. It keeps the picture it drew
// last and copies it while the points, the media and the size stay as they were, as a million lines take far longer to
// draw than to copy.
#pragma once

#include <windows.h>

#include "pipeline/PlotJob.h"

class CPreviewPainter {
 public:
  CPreviewPainter() = default;
  CPreviewPainter(const CPreviewPainter&) = delete;
  CPreviewPainter& operator=(const CPreviewPainter&) = delete;
  ~CPreviewPainter() { Forget(); }

  // Paints the points of `job` onto `dc` of width x height pixels, inside the one-pixel
  // frame the control draws itself, with the edge of media `mediaWidth` units wide (none
  // for 0).
  void Paint(HDC dc, int width, int height, const CPlotJob& job, int32_t mediaWidth);
  // Lets the next Paint draw the points again: they are about to change.
  void Forget();

 private:
  // The lines of `job` and the media's edge on a white ground, onto `dc` of width x height
  // pixels.
  static void DrawLines(HDC dc, int width, int height, const CPlotJob& job, int32_t mediaWidth);

  // The picture as Paint last drew it, of m_nWidth x m_nHeight pixels; null until it is
  // drawn and after Forget.
  HBITMAP m_hPicture = nullptr;
  int m_nWidth = 0;
  int m_nHeight = 0;
};
