// Repaint time of the dialog's preview for a large job: the real dialog, created modeless
// on a job of a million points, repainted a few times; also the layout alone. Prints
// figures; not a test. Windows only (under Wine it needs an X display).
//
//   preview-bench [POINTS] [REPAINTS]
#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "IniFile.h"
#include "PlotgateDlg.h"
#include "PreviewLayout.h"
#include "resource.h"

namespace {

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// A spiral of `points` pen-down moves, 100 per turn, the size of an A3 sheet.
void WriteSpiral(const std::string& path, int points) {
  std::ofstream out(path, std::ios::binary);
  out << "IN;SP1;PU8000,6000;";
  for (int i = 0; i < points; ++i) {
    const double angle = i * 6.283185307179586 / 100;
    const double radius = 6000.0 * i / points;
    out << "PD" << static_cast<int>(8000 + radius * cos(angle)) << "," << static_cast<int>(6000 + radius * sin(angle))
        << ";";
  }
  out << "SP0;";
}

}  // namespace

int main(int argc, char** argv) {
  const int points = argc > 1 ? atoi(argv[1]) : 1000000;
  const int repaints = argc > 2 ? atoi(argv[2]) : 5;
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
  InitCommonControlsEx(&controls);
  const auto folder = std::filesystem::temp_directory_path() / "plotgate-preview-bench";
  std::filesystem::create_directories(folder);
  const std::string job = (folder / "spiral.plt").string();
  WriteSpiral(job, points);
  CIniFile settings;
  settings.IniPath = (folder / "Plotgate.ini").string();

  auto start = std::chrono::steady_clock::now();
  CPlotgateDlg dialog(settings, job);
  if (!dialog.Create()) {
    fprintf(stderr, "preview-bench: the dialog cannot be created (no display?)\n");
    return 1;
  }
  ShowWindow(dialog.m_hWnd, SW_SHOW);
  UpdateWindow(dialog.m_hWnd);
  printf("job of %d points: loaded and first shown in %.0f ms\n", points, Milliseconds(start));

  CPlotJob copy;
  copy.LoadJob(job.c_str());
  RECT frame;
  GetClientRect(GetDlgItem(dialog.m_hWnd, IDC_PREVIEW), &frame);
  start = std::chrono::steady_clock::now();
  const size_t strokes = LayoutPreview(copy.m_pPoints, copy.m_bounds, frame.right, frame.bottom).size();
  printf("layout alone: %zu strokes in %.0f ms\n", strokes, Milliseconds(start));

  double total = 0, slowest = 0;
  for (int i = 0; i < repaints; ++i) {
    start = std::chrono::steady_clock::now();
    InvalidateRect(dialog.m_hWnd, nullptr, TRUE);
    UpdateWindow(dialog.m_hWnd);
    GdiFlush();
    const double ms = Milliseconds(start);
    total += ms;
    if (ms > slowest) slowest = ms;
  }
  printf("repaint of the whole dialog: %.0f ms on average over %d, slowest %.0f ms\n", total / repaints, repaints,
         slowest);

  // For comparison: the same strokes as one MoveTo or LineTo call each.
  HWND preview = GetDlgItem(dialog.m_hWnd, IDC_PREVIEW);
  HDC dc = GetDC(preview);
  start = std::chrono::steady_clock::now();
  for (const PreviewStroke& stroke : LayoutPreview(copy.m_pPoints, copy.m_bounds, frame.right, frame.bottom)) {
    if (stroke.line) {
      LineTo(dc, stroke.x, stroke.y);
    } else {
      MoveToEx(dc, stroke.x, stroke.y, nullptr);
    }
  }
  GdiFlush();
  printf("the same strokes one call each (not batched): %.0f ms\n", Milliseconds(start));
  ReleaseDC(preview, dc);
  std::filesystem::remove_all(folder);
  return 0;
}
