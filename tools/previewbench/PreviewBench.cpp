// How fast the dialog answers on a large job: the real dialog, created modeless on a job of
// a million points, opened, repainted, mirrored and rotated as a user does it, each step
// timed several times. Prints the median of each; not a test. Windows only (under Wine it
// needs an X display).
//
//   preview-bench [POINTS] [RUNS]
#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>
#include <vector>

#include "app/PlotgateDlg.h"
#include "app/PreviewPainter.h"
#include "pipeline/BlockPool.h"
#include "pipeline/PreviewLayout.h"
#include "resources/resource.h"
#include "settings/IniFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point since, Clock::time_point until = Clock::now()) {
  return std::chrono::duration<double, std::milli>(until - since).count();
}

double Median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  const size_t middle = times.size() / 2;
  return times.size() % 2 ? times[middle] : (times[middle - 1] + times[middle]) / 2;
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

// Waits for everything the last step painted to reach the display.
void Settle(HWND window) {
  UpdateWindow(window);
  GdiFlush();
}

// Chooses the Rotate menu item at `position` as a user does: the Rotate button clicked,
// then, once the menu shows, the arrow keys and Enter. The time from Enter to the dialog
// having rebuilt the points and repainted the preview.
double ChooseRotation(HWND dialog, int position) {
  std::atomic<Clock::time_point> chosen{Clock::now()};
  std::thread keys([&] {
    for (int i = 0; i < 1000; ++i) {
      HWND menu = FindWindowA("#32768", nullptr);
      if (menu && IsWindowVisible(menu)) {
        for (int down = 0; down <= position; ++down) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        chosen = Clock::now();
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        return;
      }
      Sleep(5);
    }
  });
  SendMessageA(GetDlgItem(dialog, IDC_ROTATE), BM_CLICK, 0, 0);
  Settle(dialog);
  const Clock::time_point done = Clock::now();
  keys.join();
  return Milliseconds(chosen, done);
}

// Counts the runs and lines of a preview layout, so that walking it is all that is timed.
struct CountingRuns {
  void Start(int, int) { ++runs; }
  void LineTo(int, int) { ++lines; }
  void End() {}
  long runs = 0;
  long lines = 0;
};

// Where the time of the steps goes: the job read and flattened, the job's own steps of a
// mirror and a rotation, the layout of the preview walked alone, and the whole picture
// drawn into a memory bitmap of the preview's size (layout and lines), each the median of
// `runs`.
void PrintShares(HWND preview, const std::string& job, int runs) {
  std::vector<double> load;
  for (int i = 0; i < runs; ++i) {
    CPlotJob loaded;
    const Clock::time_point start = Clock::now();
    loaded.LoadJob(job.c_str());
    load.push_back(Milliseconds(start));
  }
  CPlotJob plotJob;
  plotJob.LoadJob(job.c_str());
  RECT frame;
  GetClientRect(preview, &frame);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  std::vector<double> mirror, rotation, layout, picture;
  CountingRuns counts;
  HDC screen = GetDC(preview);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  for (int i = 0; i < runs; ++i) {
    Clock::time_point start = Clock::now();
    plotJob.Mirror();
    mirror.push_back(Milliseconds(start));
    start = Clock::now();
    plotJob.RotateTo(i % 4 + 1);
    rotation.push_back(Milliseconds(start));
    start = Clock::now();
    counts = CountingRuns();
    ForEachPreviewRun(CPreviewLayout(plotJob.m_pPoints, plotJob.m_bounds, width, height), counts);
    layout.push_back(Milliseconds(start));
    CPreviewPainter painter;
    start = Clock::now();
    painter.Paint(memory, width, height, plotJob, 0);  // no media width: the drawing alone
    GdiFlush();
    picture.push_back(Milliseconds(start));
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(preview, screen);
  printf("of which: job read and flattened %.1f ms\n", Median(load));
  printf("of which: points mirrored %.1f ms, points turned %.1f ms\n", Median(mirror), Median(rotation));
  printf("of which: preview laid out %.1f ms (%ld runs, %ld lines), picture drawn %.1f ms\n", Median(layout),
         counts.runs, counts.lines, Median(picture));
}

}  // namespace

int main(int argc, char** argv) {
  const int points = argc > 1 ? atoi(argv[1]) : 1000000;
  const int runs = std::max(argc > 2 ? atoi(argv[2]) : 5, 1);
  UseBlockPool(g_routines);  // as the program does
  INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
  InitCommonControlsEx(&controls);
  const auto folder = std::filesystem::temp_directory_path() / "plotgate-preview-bench";
  std::filesystem::create_directories(folder);
  const std::string job = (folder / "spiral.plt").string();
  WriteSpiral(job, points);
  CIniFile settings;
  settings.IniPath = (folder / "Plotgate.ini").string();
  printf("job of %d points, median of %d runs\n", points, runs);

  // Each run opens the dialog afresh; the last one stays open for the other steps.
  std::unique_ptr<CPlotgateDlg> dialog;
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    dialog.reset();
    const Clock::time_point start = Clock::now();
    dialog.reset(new CPlotgateDlg(settings, job));
    if (!dialog->Create()) {
      fprintf(stderr, "preview-bench: the dialog cannot be created (no display?)\n");
      return 1;
    }
    ShowWindow(dialog->m_hWnd, SW_SHOW);
    Settle(dialog->m_hWnd);
    times.push_back(Milliseconds(start));
  }
  printf("loaded and first shown in %.0f ms\n", Median(times));
  const double coldStart = times.front();  // the program's own start: its memory touched first
  HWND window = dialog->m_hWnd;
  // The same dialog without a job, for the shares below.
  std::vector<double> empty;
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    CPlotgateDlg without(settings, "");
    if (without.Create()) {
      ShowWindow(without.m_hWnd, SW_SHOW);
      Settle(without.m_hWnd);
    }
    empty.push_back(Milliseconds(start));
  }

  times.clear();
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    InvalidateRect(window, nullptr, TRUE);
    Settle(window);
    times.push_back(Milliseconds(start));
  }
  printf("repaint of the whole dialog: %.0f ms (slowest %.0f ms)\n", Median(times),
         *std::max_element(times.begin(), times.end()));

  times.clear();
  for (int i = 0; i < runs; ++i) {
    const Clock::time_point start = Clock::now();
    SendMessageA(GetDlgItem(window, IDC_MIRROR), BM_CLICK, 0, 0);
    Settle(window);
    times.push_back(Milliseconds(start));
  }
  printf("mirror answered in %.0f ms\n", Median(times));

  // A quarter turn, a half turn, three quarters and back, and round again: each a change.
  times.clear();
  for (int i = 0; i < runs; ++i) times.push_back(ChooseRotation(window, i % 4));
  printf("rotation answered in %.0f ms\n", Median(times));
  printf("the first showing, in a fresh process as a user meets it: %.0f ms\n", coldStart);
  printf("of which: the dialog without a job shown in %.0f ms\n", Median(empty));
  PrintShares(GetDlgItem(window, IDC_PREVIEW), job, runs);

  dialog.reset();
  std::filesystem::remove_all(folder);
  return 0;
}
