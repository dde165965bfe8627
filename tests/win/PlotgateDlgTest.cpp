// The main dialog created modeless on a real window station (Wine with an X display) and
// driven with window messages; every state is read back through Win32.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, on which they build.
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "TempDir.h"
#include "app/PlotgateDlg.h"
#include "base/WideText.h"
#include "pipeline/PlotJob.h"
#include "pipeline/PreviewLayout.h"
#include "resources/resource.h"
#include "settings/IniFile.h"
#include "settings/Presets.h"

namespace {

// A job that shows mirror and rotation: a right triangle with its right angle at the
// bottom left, 100 by 50 mm.
const char* const TRIANGLE = "IN;SP1;PU0,0;PD4000,0;PD0,2000;PD0,0;SP0;";

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// The visible window of `className` and `caption` once it appears (10 s at most); null
// when none came.
HWND WaitShown(const char* className, const char* caption) {
  for (int i = 0; i < 1000; ++i) {
    HWND window = FindWindowA(className, caption);
    if (window && IsWindowVisible(window)) return window;
    Sleep(10);
  }
  return nullptr;
}

// Runs `action` on the window of `className` and `caption` once it appears, from another
// thread, while this thread sits in a modal loop (a menu, a modal dialog).
class WhenShown {
 public:
  WhenShown(const char* className, const char* caption, std::function<void(HWND)> action)
      : m_thread([=] {
          if (HWND window = WaitShown(className, caption)) action(window);
        }) {}
  ~WhenShown() { m_thread.join(); }

 private:
  std::thread m_thread;
};

// A spiral of `points` lines from the middle out, 400 to the turn, so that in a preview the
// inner turns put many consecutive points on one pixel and the outer ones none; every
// ten thousandth point the pen is lifted and put down where it is.
std::string Spiral(int points) {
  std::string text = "IN;SP1;PU4000,4000;";
  for (int i = 0; i < points; ++i) {
    const double angle = i * 6.283185307179586 / 400, radius = 4000.0 * i / points;
    const std::string at = std::to_string(static_cast<int>(4000 + radius * cos(angle))) + "," +
                           std::to_string(static_cast<int>(4000 + radius * sin(angle)));
    if (i % 10000 == 9999) text += "PU" + at + ";";
    text += "PD" + at + ";";
  }
  return text + "SP0;";
}

// The client area of `window` as it shows now, one 0x00RRGGBB value per pixel, row by row.
std::vector<uint32_t> Pixels(HWND window) {
  RECT area;
  GetClientRect(window, &area);
  HDC dc = GetDC(window);
  HDC copy = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, area.right, area.bottom);
  HGDIOBJ old = SelectObject(copy, bitmap);
  BitBlt(copy, 0, 0, area.right, area.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(copy, old);
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), area.right, -area.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<uint32_t> pixels(static_cast<size_t>(area.right) * area.bottom);
  GetDIBits(copy, bitmap, 0, static_cast<UINT>(area.bottom), pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(copy);
  ReleaseDC(window, dc);
  return pixels;
}

class PlotgateDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!getenv("DISPLAY")) GTEST_SKIP() << "no X display for the dialog";
    INITCOMMONCONTROLSEX controls = {sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    m_settings.IniPath = (m_dir.Path() / "Plotgate.ini").string();
  }
  void TearDown() override { m_dialog.reset(); }

  void WriteSettings(const std::string& text) { m_dir.Write("Plotgate.ini", text); }
  std::string JobFile(const char* text = TRIANGLE) { return m_dir.Write("job.plt", text); }

  void Open(const std::string& file) {
    m_dialog.reset(new CPlotgateDlg(m_settings, file));
    ASSERT_TRUE(m_dialog->Create());
    ShowWindow(m_dialog->m_hWnd, SW_SHOW);
    UpdateWindow(m_dialog->m_hWnd);
    Pump();
  }

  HWND Item(int id) const { return GetDlgItem(m_dialog->m_hWnd, id); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  std::string Text(int id) const {
    char text[256] = "";
    GetWindowTextA(Item(id), text, sizeof text);
    return text;
  }
  bool Checked(int id) const { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // The entry of list `id` at `index` (UTF-8), "" for none.
  std::string Entry(int id, LRESULT index) const {
    wchar_t text[256] = L"";
    if (index >= 0) SendMessageW(Item(id), CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return Utf8FromWide(text);
  }
  std::string Selected(int id) const { return Entry(id, SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }
  std::vector<std::string> Entries(int id) const {
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < SendMessageA(Item(id), CB_GETCOUNT, 0, 0); ++i) entries.push_back(Entry(id, i));
    return entries;
  }
  // Chooses entry `index` of list `id` as a user would: the list's notification follows.
  void Choose(int id, int index) {
    SendMessageA(Item(id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(m_dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Item(id)));
    Pump();
  }
  void Click(int id) {
    SendMessageA(Item(id), BM_CLICK, 0, 0);
    Pump();
  }
  // The spin's own notification of one step up (+1) or down (-1).
  void Spin(int spinId, int delta) {
    NMUPDOWN change = {};
    change.hdr = {Item(spinId), static_cast<UINT_PTR>(spinId), static_cast<UINT>(UDN_DELTAPOS)};
    change.iDelta = delta;
    SendMessageA(m_dialog->m_hWnd, WM_NOTIFY, static_cast<WPARAM>(spinId), reinterpret_cast<LPARAM>(&change));
  }
  // Types `text` into edit `id` as the user does, then leaves it for the Mirror button.
  void TypeAndLeave(int id, const char* text) {
    SetFocus(Item(id));
    SetWindowTextA(Item(id), text);
    SetFocus(Item(IDC_MIRROR));
    Pump();
  }
  // Handles the window's messages until `done` holds, 10 s at most, as the program's own
  // message loop would while a thread works for the window.
  void PumpUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 1000 && !done(); ++i) {
      Pump();
      Sleep(10);
    }
  }
  // Chooses the Rotate menu item at `position` (0 to 3), as with the arrow keys and Enter.
  void ChooseRotation(int position) {
    WhenShown menu("#32768", nullptr, [position](HWND window) {
      for (int i = 0; i <= position; ++i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
      PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
    });
    Click(IDC_ROTATE);
  }

  // The size fields as `plotgate info` computes them for the same job and choices.
  static std::string ExpectedSize(const std::string& file, int mirrors, int quarterTurns) {
    CPlotJob job;
    job.LoadJob(file.c_str());
    for (int i = 0; i < mirrors; ++i) job.Mirror();
    if (quarterTurns >= 0) job.RotateTo(quarterTurns);
    return job.WidthText() + " x " + job.HeightText();
  }
  std::string ShownSize() const { return Text(IDC_WIDTH) + " x " + Text(IDC_HEIGHT); }

  // Every line of the layout starts on a red pixel of the preview frame, and the middle
  // of the frame's free area above the triangle's hypotenuse is white.
  void ExpectPreviewOf(const CPlotJob& job) {
    InvalidateRect(m_dialog->m_hWnd, nullptr, TRUE);
    UpdateWindow(m_dialog->m_hWnd);
    Pump();
    RECT frame;
    GetClientRect(Item(IDC_PREVIEW), &frame);
    HDC dc = GetDC(Item(IDC_PREVIEW));
    int lines = 0;
    for (const PreviewStroke& stroke : CPreviewLayout(job.m_pPoints, job.m_bounds, frame.right, frame.bottom)) {
      if (stroke.line) continue;  // the start of the next line: drawn by it
      EXPECT_EQ(GetPixel(dc, stroke.x, stroke.y), RGB(255, 0, 0)) << "at " << stroke.x << "," << stroke.y;
      ++lines;
    }
    EXPECT_GT(lines, 0);
    // Inside the frame but off every line: the white fill, one pixel in from the frame.
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    ReleaseDC(Item(IDC_PREVIEW), dc);
  }

  TempDir m_dir;
  CIniFile m_settings;
  std::unique_ptr<CPlotgateDlg> m_dialog;
};

TEST_F(PlotgateDialog, FirstRunWithoutSettingsOrFile) {
  Open("");
  EXPECT_EQ(Selected(IDC_DEVICE), "Lark-Series");
  EXPECT_EQ(Selected(IDC_PORT), "VORN_USB");
  EXPECT_EQ(SendMessageA(Item(IDC_PORT), CB_GETCOUNT, 0, 0), 31);
  EXPECT_FALSE(Checked(IDC_CHK_BLADE_OFFSET));
  EXPECT_FALSE(Checked(IDC_CHK_OVERCUT));
  EXPECT_EQ(Text(IDC_BLADE_OFFSET), "0.38");
  EXPECT_EQ(Text(IDC_OVERCUT), "0.85");
  EXPECT_EQ(Text(IDC_VERSION), "Harbex  Ver1.3 beta23");
  EXPECT_EQ(Text(IDC_PROGRESS), "0%");
  char caption[64] = "";
  GetWindowTextA(m_dialog->m_hWnd, caption, sizeof caption);
  EXPECT_STREQ(caption, "Harbex");
  // The first read created an empty settings file.
  EXPECT_TRUE(std::filesystem::exists(m_settings.IniPath));
  EXPECT_EQ(TempDir::Read(m_settings.IniPath), "");
  // Without a job only About and Cancel are usable; Proview is hidden.
  for (int id : {IDOK,
                 IDC_MIRROR,
                 IDC_ROTATE,
                 IDC_DEVICE,
                 IDC_PORT,
                 IDC_CHK_BLADE_OFFSET,
                 IDC_CHK_OVERCUT,
                 IDC_BLADE_OFFSET,
                 IDC_SPIN_BLADE_OFFSET,
                 IDC_OVERCUT,
                 IDC_SPIN_OVERCUT,
                 IDC_WIDTH,
                 IDC_HEIGHT,
                 IDC_CHK_INSIDE_FIRST,
                 IDC_CHK_SHORTEST_TRAVEL,
                 IDC_CHK_WEED_BORDER,
                 IDC_WEED_BORDER,
                 IDC_SPIN_WEED_BORDER,
                 IDC_PASSES,
                 IDC_SPIN_PASSES,
                 IDC_MARKS}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_TRUE(Enabled(IDC_ABOUT));
  EXPECT_TRUE(Enabled(IDCANCEL));
  EXPECT_FALSE(IsWindowVisible(Item(IDC_PROVIEW)));
  EXPECT_EQ(m_dialog->JobFilePath.substr(m_dialog->JobFilePath.size() - 15), "\\cutcorldata.hb");
}

TEST_F(PlotgateDialog, NoFileDisablesEverythingWhateverTheSettingsSay) {
  WriteSettings("[Device]\r\nType=3\r\nPort=7\r\n[Offset]\r\nChkBladeOffset=1\r\nChkOverCut=1\r\n");
  Open("");
  EXPECT_TRUE(Checked(IDC_CHK_BLADE_OFFSET));
  for (int id : {IDOK, IDC_TEST_CUT, IDC_DEVICE, IDC_PORT, IDC_CHK_BLADE_OFFSET, IDC_BLADE_OFFSET, IDC_SPIN_OVERCUT,
                 IDC_MATERIAL, IDC_PRESET_SAVE, IDC_CHK_FORCE, IDC_CHK_SPEED}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
}

TEST_F(PlotgateDialog, SavedComPortsAreShownWithoutAutomaticChoice) {
  WriteSettings("[Device]\r\nType=0\r\nPort=5\r\n");
  Open(JobFile());
  EXPECT_EQ(Selected(IDC_DEVICE), "Lark-Series");
  EXPECT_EQ(Selected(IDC_PORT), "COM5");
  m_dialog.reset();

  WriteSettings("[Device]\r\nType=3\r\nPort=30\r\n");
  Open(JobFile());
  EXPECT_EQ(SendMessageA(Item(IDC_DEVICE), CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(Selected(IDC_PORT), "COM30");
  EXPECT_EQ(std::string(m_dialog->SelectedModel.name), "Heron(V8.9 or later)");
  // With a job both lists are usable, whatever the restore left.
  EXPECT_TRUE(Enabled(IDC_DEVICE));
  EXPECT_TRUE(Enabled(IDC_PORT));
}

TEST_F(PlotgateDialog, ModelsOutsideTheTableFallBackToTheFirst) {
  for (const char* type : {"11", "-1"}) {
    WriteSettings(std::string("[Device]\r\nType=") + type + "\r\nPort=31\r\n");
    Open(JobFile());
    EXPECT_EQ(Selected(IDC_DEVICE), "Lark-Series") << type;
    EXPECT_EQ(Selected(IDC_PORT), "VORN_USB") << type;
    EXPECT_EQ(std::string(m_dialog->SelectedModel.name), "Lark-Series");
    m_dialog.reset();
  }
}

TEST_F(PlotgateDialog, JobEnablesTheControlsAndShowsItsSize) {
  const std::string file = JobFile();
  Open(file);
  for (int id : {IDOK, IDC_TEST_CUT, IDC_MIRROR, IDC_ROTATE, IDC_DEVICE, IDC_PORT, IDC_CHK_BLADE_OFFSET,
                 IDC_CHK_OVERCUT, IDC_MATERIAL, IDC_PRESET_SAVE, IDC_CHK_FORCE, IDC_CHK_SPEED}) {
    EXPECT_TRUE(Enabled(id)) << id;
  }
  // Delete wants a chosen preset, and each edit its ticked box.
  for (int id : {IDC_BLADE_OFFSET, IDC_SPIN_BLADE_OFFSET, IDC_OVERCUT, IDC_SPIN_OVERCUT, IDC_WIDTH, IDC_HEIGHT,
                 IDC_PRESET_DELETE, IDC_FORCE, IDC_SPEED}) {
    EXPECT_FALSE(Enabled(id)) << id;
  }
  EXPECT_EQ(ShownSize(), "100.00 x 50.00");
  EXPECT_EQ(ShownSize(), ExpectedSize(file, 0, -1));
  // The Rotate button is a split button.
  EXPECT_EQ(GetWindowLongA(Item(IDC_ROTATE), GWL_STYLE) & BS_TYPEMASK, BS_SPLITBUTTON);
}

TEST_F(PlotgateDialog, UnreadableFileShowsZeroSizeAndNoJob) {
  Open((m_dir.Path() / "missing.plt").string());
  EXPECT_EQ(ShownSize(), "0.00 x 0.00");
  EXPECT_FALSE(Enabled(IDOK));
  // A drawing saved as SVG is refused like an unreadable file, not offered as an empty job.
  Open(m_dir.Write("star.svg", "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\"/>\n"));
  EXPECT_EQ(ShownSize(), "0.00 x 0.00");
  EXPECT_FALSE(Enabled(IDOK));
}

// HPGL from another program, the triangle in one "PD": its first side alone would be
// 100.00 x 0.00.
TEST_F(PlotgateDialog, HpglOfOtherProgramsLoadsEveryPair) {
  Open(JobFile("IN;VS10;PU;PU0,0;PD4000,0,0,2000,0,0;PU;"));
  EXPECT_EQ(ShownSize(), "100.00 x 50.00");
  EXPECT_TRUE(Enabled(IDOK));
}

TEST_F(PlotgateDialog, CheckedBladeOffsetEnablesItsEditUntilUnchecked) {
  WriteSettings("[Offset]\r\nChkBladeOffset=1\r\nBladeOffset=0.5\r\n");
  Open(JobFile());
  EXPECT_TRUE(Checked(IDC_CHK_BLADE_OFFSET));
  EXPECT_EQ(Text(IDC_BLADE_OFFSET), "0.5");
  EXPECT_TRUE(Enabled(IDC_BLADE_OFFSET));
  EXPECT_TRUE(Enabled(IDC_SPIN_BLADE_OFFSET));
  EXPECT_FALSE(Enabled(IDC_OVERCUT));
  Click(IDC_CHK_BLADE_OFFSET);
  EXPECT_FALSE(Checked(IDC_CHK_BLADE_OFFSET));
  EXPECT_FALSE(Enabled(IDC_BLADE_OFFSET));
  EXPECT_FALSE(Enabled(IDC_SPIN_BLADE_OFFSET));
  Click(IDC_CHK_OVERCUT);
  EXPECT_TRUE(Enabled(IDC_OVERCUT));
  EXPECT_TRUE(Enabled(IDC_SPIN_OVERCUT));
}

TEST_F(PlotgateDialog, SpinStepsTheEditInTenths) {
  Open(JobFile());
  Spin(IDC_SPIN_BLADE_OFFSET, 1);
  EXPECT_EQ(Text(IDC_BLADE_OFFSET), "0.5");
  Spin(IDC_SPIN_OVERCUT, -1);
  EXPECT_EQ(Text(IDC_OVERCUT), "0.8");
  SetWindowTextA(Item(IDC_BLADE_OFFSET), "0.1");
  Spin(IDC_SPIN_BLADE_OFFSET, -1);
  EXPECT_EQ(Text(IDC_BLADE_OFFSET), "0.1");
  SetWindowTextA(Item(IDC_OVERCUT), "abc");
  Spin(IDC_SPIN_OVERCUT, 1);
  EXPECT_EQ(Text(IDC_OVERCUT), "0.1");
}

TEST_F(PlotgateDialog, CutOrderIsRestoredAndShownInSizeAndPreview) {
  WriteSettings("[CutOrder]\r\nInsideFirst=1\r\nChkWeedBorder=1\r\nWeedBorder=1\r\nPasses=2\r\n");
  const std::string file = JobFile();
  Open(file);
  EXPECT_TRUE(Checked(IDC_CHK_INSIDE_FIRST));
  EXPECT_FALSE(Checked(IDC_CHK_SHORTEST_TRAVEL));
  EXPECT_TRUE(Checked(IDC_CHK_WEED_BORDER));
  EXPECT_EQ(Text(IDC_WEED_BORDER), "1");
  EXPECT_EQ(Text(IDC_PASSES), "2");
  for (int id : {IDC_CHK_INSIDE_FIRST, IDC_WEED_BORDER, IDC_SPIN_WEED_BORDER, IDC_PASSES})
    EXPECT_TRUE(Enabled(id)) << id;
  // A border 1 mm out on each side counts in the size, and the preview draws it.
  EXPECT_EQ(ShownSize(), "102.00 x 52.00");
  CPlotJob expected;
  CutOrder order;
  order.insideFirst = true;
  order.weedMargin = 40;
  order.passes = 2;
  expected.SetCutOrder(order);
  expected.LoadJob(file.c_str());
  ExpectPreviewOf(expected);
  // Unticked, the border goes and its edit with it; the margin stays for the next time.
  Click(IDC_CHK_WEED_BORDER);
  EXPECT_EQ(ShownSize(), "100.00 x 50.00");
  EXPECT_FALSE(Enabled(IDC_WEED_BORDER));
  Spin(IDC_SPIN_WEED_BORDER, 1);
  EXPECT_EQ(Text(IDC_WEED_BORDER), "1.1");
}

TEST_F(PlotgateDialog, MirrorAndRotationChangeSizeAndPreview) {
  const std::string file = JobFile();
  Open(file);
  CPlotJob expected;
  expected.LoadJob(file.c_str());
  ExpectPreviewOf(expected);

  Click(IDC_MIRROR);
  expected.Mirror();
  EXPECT_EQ(ShownSize(), ExpectedSize(file, 1, -1));
  ExpectPreviewOf(expected);

  ChooseRotation(0);  // "Rotate1": a quarter turn, of the mirrored job
  expected.RotateTo(1);
  EXPECT_EQ(ShownSize(), ExpectedSize(file, 1, 1));
  // (4000, 2000) turns to (2000, -3999): the sine just below 1 truncates one unit away.
  EXPECT_EQ(ShownSize(), "50.00 x 99.97");
  ExpectPreviewOf(expected);

  ChooseRotation(1);  // "Rotate2"
  EXPECT_EQ(ShownSize(), ExpectedSize(file, 1, 2));
  ChooseRotation(2);  // "Rotate3"
  EXPECT_EQ(ShownSize(), ExpectedSize(file, 1, 3));
  ChooseRotation(3);  // "Rotate4": back to unrotated, still mirrored
  expected.RotateTo(0);
  EXPECT_EQ(ShownSize(), ExpectedSize(file, 1, 0));
  ExpectPreviewOf(expected);
}

// The registration marks show as blue crosses where the preview lays them out, the
// drawing fitted with them. Fault caught: a painter that draws the drawing but not its
// marks.
TEST_F(PlotgateDialog, PreviewShowsTheMarksAsBlueCrosses) {
  const std::string file = JobFile("IN;RM1,-400,-400;RM2,4400,-400;RM3,-400,2400;PU0,0;PD4000,0;PD4000,2000;SP0;");
  Open(file);
  HWND preview = Item(IDC_PREVIEW);
  const std::vector<uint32_t> shown = Pixels(preview);
  RECT frame;
  GetClientRect(preview, &frame);
  CPlotJob job;
  job.LoadJob(file.c_str());
  const std::vector<IntPoint> marks = job.MarkPoints();
  const CPreviewLayout layout(job.m_pPoints, job.m_bounds, frame.right, frame.bottom, marks);
  const std::vector<PreviewStroke> crosses = PreviewMarkStrokes(layout.Frame(), marks);
  ASSERT_EQ(crosses.size(), 12u);
  for (size_t i = 0; i < crosses.size(); i += 4) {
    // Each cross's centre, in the middle of its first arm's line.
    const int x = crosses[i].x + PREVIEW_MARK_ARM, y = crosses[i].y;
    ASSERT_TRUE(x > 0 && y > 0 && x < frame.right && y < frame.bottom) << x << "," << y;
    EXPECT_EQ(shown[static_cast<size_t>(y) * frame.right + x] & 0xFFFFFFu, 0x0000FFu) << x << "," << y;
  }
}

// The preview leaves out points that add no pixel and hands the rest to the device in
// batches: the picture must be the one a move or line call per point draws, on the same
// device, where points repeat a pixel, where the pen is put down where it was lifted, and
// across more points than one batch holds.
TEST_F(PlotgateDialog, PreviewIsThePictureOfOneCallPerPoint) {
  const std::string file = JobFile(Spiral(40000).c_str());
  Open(file);
  HWND preview = Item(IDC_PREVIEW);
  const std::vector<uint32_t> shown = Pixels(preview);

  CPlotJob job;
  job.LoadJob(file.c_str());
  RECT frame;
  GetClientRect(preview, &frame);
  HDC dc = GetDC(preview);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH white = CreateSolidBrush(RGB(255, 255, 255));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  const RECT inside = {1, 1, frame.right - 1, frame.bottom - 1};
  FillRect(dc, &inside, white);
  int repeats = 0;
  PreviewStroke last = {false, 0, 0};
  for (const PreviewStroke& stroke : CPreviewLayout(job.m_pPoints, job.m_bounds, frame.right, frame.bottom)) {
    if (stroke.line) {
      LineTo(dc, stroke.x, stroke.y);
    } else {
      MoveToEx(dc, stroke.x, stroke.y, nullptr);
    }
    if (stroke.x == last.x && stroke.y == last.y) ++repeats;
    last = stroke;
  }
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  DeleteObject(white);
  ReleaseDC(preview, dc);
  EXPECT_GT(repeats, 1000);

  // The drawing's pixels, inside the frame the control draws around them on its own.
  const std::vector<uint32_t> expected = Pixels(preview);
  ASSERT_EQ(shown.size(), expected.size());
  int differing = 0, firstX = 0, firstY = 0;
  for (int y = frame.bottom - 3; y >= 2; --y) {
    for (int x = frame.right - 3; x >= 2; --x) {
      const size_t at = static_cast<size_t>(y) * frame.right + x;
      if (shown[at] != expected[at]) ++differing, firstX = x, firstY = y;
    }
  }
  EXPECT_EQ(differing, 0) << "first at " << firstX << "," << firstY;
}

TEST_F(PlotgateDialog, DismissedRotateMenuKeepsTheRotation) {
  const std::string file = JobFile();
  Open(file);
  ChooseRotation(0);
  {
    WhenShown menu("#32768", nullptr, [](HWND window) { PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0); });
    Click(IDC_ROTATE);
  }
  EXPECT_EQ(ShownSize(), ExpectedSize(file, 0, 1));
}

TEST_F(PlotgateDialog, SystemMenuItemOpensTheAboutBox) {
  Open("");
  HMENU menu = GetSystemMenu(m_dialog->m_hWnd, FALSE);
  const int count = GetMenuItemCount(menu);
  ASSERT_GE(count, 2);
  char text[64] = "";
  GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "&About Harbex...");
  EXPECT_EQ(GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
  EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR,
            static_cast<UINT>(MF_SEPARATOR));

  for (bool fromMenu : {true, false}) {
    std::string version;
    {
      WhenShown about("#32770", "About Harbex", [&version](HWND window) {
        char label[64] = "";
        GetWindowTextA(GetDlgItem(window, IDC_VERSION), label, sizeof label);
        version = label;
        PostMessageA(window, WM_COMMAND, IDOK, 0);
      });
      if (fromMenu) {
        SendMessageA(m_dialog->m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
      } else {
        Click(IDC_ABOUT);
      }
    }
    EXPECT_EQ(version, "Harbex  Ver1.3 beta23") << (fromMenu ? "system menu" : "About button");
  }
}

TEST_F(PlotgateDialog, EscCloses) {
  Open(JobFile());
  HWND window = m_dialog->m_hWnd;
  SetFocus(Item(IDC_MIRROR));
  MSG key = {Item(IDC_MIRROR), WM_KEYDOWN, VK_ESCAPE, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageA(window, &key));
  Pump();
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(TempDir::Read(m_settings.IniPath), "");  // nothing saved
}

// The text (UTF-8) of the message box `box`.
std::string MessageText(HWND box) {
  wchar_t text[512] = L"";
  GetWindowTextW(GetDlgItem(box, 0xFFFF), text, 512);
  return Utf8FromWide(text);
}

// The text of the send's message box "Plotgate", read once it appears and then answered
// with `button`, while the dialog's thread sits in the box's modal loop.
class AnswerMessage {
 public:
  explicit AnswerMessage(int button = IDOK) {
    m_shown.emplace("#32770", "Plotgate", [this, button](HWND box) {
      m_text = MessageText(box);
      PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    });
  }
  // Waits for the box (10 s at most); "" when none came.
  std::string Text() {
    m_shown.reset();
    return m_text;
  }

 private:
  std::string m_text;
  std::optional<WhenShown> m_shown;
};

// Reports of the USB sender, one WM_COPYDATA each, as VornUSBSend sends them.
LRESULT Report(HWND dialog, const std::string& status) {
  COPYDATASTRUCT data = {0, static_cast<DWORD>(status.size()), const_cast<char*>(status.data())};
  return SendMessageA(dialog, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
}

// Any program can send or post these to the window: with no send of its own under way the
// dialog acts on none of them (the USB sender's reports during a send are tested end to
// end, with the real sender).
TEST_F(PlotgateDialog, ReportsFromOutsideChangeNothingWhenNoSendIsUnderWay) {
  Open(JobFile());
  HWND window = m_dialog->m_hWnd;
  HWND bar = Item(IDC_PROGRESS);
  Report(window, "40");
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, 0), FALSE);  // no data at all
  AnswerMessage box;
  Report(window, "-3");
  PostMessageA(window, WM_SENDFINISHED, 1, 0);
  PostMessageA(window, WM_SENDFINISHED, 0, 0);
  PostMessageA(window, WM_TIMER, FINISH_TIMER_ID, 0);
  Report(window, "100");
  Pump();
  EXPECT_EQ(box.Text(), "");  // no "Connect to Cutter fail!", no "Send finished!"
  EXPECT_TRUE(IsWindow(window));
  EXPECT_TRUE(Enabled(IDOK));
  EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(PlotgateDialog, SendToAPortWithNothingBehindItStaysIdle) {
  const std::string saved = "[Device]\r\nType=7\r\nPort=29\r\n";
  WriteSettings(saved);
  Open(JobFile());
  ASSERT_EQ(Selected(IDC_PORT), "COM29");
  AnswerMessage box;
  Click(IDOK);
  PumpUntil([this] { return Enabled(IDOK); });  // the port is opened by a thread of its own
  EXPECT_EQ(box.Text(), "Connect to Cutter fail!");
  EXPECT_TRUE(Enabled(IDOK));
  EXPECT_TRUE(Enabled(IDC_DEVICE));
  EXPECT_TRUE(Enabled(IDC_PORT));
  EXPECT_EQ(TempDir::Read(m_settings.IniPath), saved);  // saved only once the cutter answers
  // The dialog stays usable: a second Send says the same.
  AnswerMessage again;
  Click(IDOK);
  PumpUntil([this] { return Enabled(IDOK); });
  EXPECT_EQ(again.Text(), "Connect to Cutter fail!");
  EXPECT_TRUE(IsWindow(m_dialog->m_hWnd));
}

// A port that takes its time to open, as a Bluetooth serial port whose device is off:
// the open waits until the test lets it go (10 s at most), then opens the real port.
struct SlowPort {
  HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::atomic<int> opening{0}, opened{0};
  ~SlowPort() { CloseHandle(release); }

  // The dialog's opener; it keeps the port alive while it runs.
  static CutterOpener Opener(const std::shared_ptr<SlowPort>& port) {
    return [port](CSendSession& session, const CutterModel& model, const std::string& text, const std::string& usb) {
      ++port->opening;
      WaitForSingleObject(port->release, 10000);
      const SendOutcome outcome = session.Open(model, text, usb);
      ++port->opened;
      return outcome;
    };
  }
  bool Waiting() const { return opening > opened; }
};

// Catches a Send that opens the port on the window's own thread: the window froze, with
// no Cancel, for as long as the port took to open. Also that the status line names the
// port waited for, that nothing that changes the job can be used meanwhile, that a failed
// open says what it always said and gives the controls back, and that Cancel ends the
// wait at once and saves nothing.
TEST_F(PlotgateDialog, PortSlowToOpenLeavesTheWindowAnsweringAndCancelEndsTheWait) {
  const std::string saved = "[Device]\r\nType=7\r\nPort=29\r\n";
  WriteSettings(saved);
  Open(JobFile());
  const auto port = std::make_shared<SlowPort>();
  m_dialog->OpenCutter = SlowPort::Opener(port);
  HWND window = m_dialog->m_hWnd;
  const int sending[] = {IDOK,
                         IDC_DEVICE,
                         IDC_PORT,
                         IDC_MIRROR,
                         IDC_ROTATE,
                         IDC_PASSES,
                         IDC_SPIN_PASSES,
                         IDC_WEED_BORDER,
                         IDC_CHK_INSIDE_FIRST,
                         IDC_CHK_SHORTEST_TRAVEL,
                         IDC_CHK_WEED_BORDER};

  {
    AnswerMessage box;
    Click(IDOK);
    ASSERT_TRUE(port->Waiting()) << "Send returned only once the port had opened";
    EXPECT_EQ(Text(IDC_STATUS), "Opening COM29...");
    for (int id : sending) EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(IDCANCEL));
    // Another program's message is answered while the port is still being opened.
    auto answered = std::async(std::launch::async, [window] {
      DWORD_PTR result = 0;
      return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &result) != 0;
    });
    PumpUntil([&] { return answered.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    EXPECT_TRUE(answered.get());
    EXPECT_TRUE(port->Waiting());
    // The port gives up: the message of any failed open, and the window is as before.
    SetEvent(port->release);
    PumpUntil([this] { return Enabled(IDOK); });
    EXPECT_EQ(box.Text(), "Connect to Cutter fail!");
  }
  EXPECT_EQ(Text(IDC_STATUS), "");
  for (int id : sending) {
    if (id != IDC_WEED_BORDER) {  // the border's edit follows its box
      EXPECT_TRUE(Enabled(id)) << id;
    }
  }
  EXPECT_EQ(TempDir::Read(m_settings.IniPath), saved);

  // Cancel while the port is still being opened closes the window at once.
  ResetEvent(port->release);
  Click(IDOK);
  ASSERT_TRUE(port->Waiting());
  EXPECT_EQ(Text(IDC_STATUS), "Opening COM29...");
  Click(IDCANCEL);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(port->Waiting());
  m_dialog.reset();
  // The open left behind ends by itself, on a window that is gone.
  SetEvent(port->release);
  for (int i = 0; i < 1000 && port->Waiting(); ++i) Sleep(10);
  EXPECT_FALSE(port->Waiting());
  EXPECT_EQ(TempDir::Read(m_settings.IniPath), saved);
}

// 52 curves between far corners of the coordinate range, each flattened to tens of
// thousands of points: over 4 million points, so that 5 passes would need more than the
// 20 million a job may have.
std::string TooLargeForFivePasses() {
  std::string text = "IN;SP1;PU-2147483648,-2147483648;";
  for (int i = 0; i < 52; ++i)
    text += i % 2 ? "BZ0,0,0,0,-2147483648,-2147483648;" : "BZ0,0,0,0,2147483647,2147483647;";
  return text + "SP0;";
}

// Catches a refused cut order that releases the job: raising Passes past what a large job
// can take used to leave no job (everything disabled until a new export), and so did a
// remembered order at start-up. The refusal names the option, puts its control back and
// leaves the job, its size and the controls.
TEST_F(PlotgateDialog, RefusedOptionLeavesTheJobAndPutsTheControlBack) {
  WriteSettings("[CutOrder]\r\nInsideFirst=1\r\nWeedBorder=2\r\nPasses=5\r\n");
  const std::string file = JobFile(TooLargeForFivePasses().c_str());
  {
    AnswerMessage box;
    Open(file);
    EXPECT_EQ(box.Text(),
              "The option \"Cut order\" could not be applied: this job is too large: it would need more than 20000000 "
              "points");
  }
  // The job came in the drawing's order; the border's margin stays for when it is ticked.
  EXPECT_FALSE(Checked(IDC_CHK_INSIDE_FIRST));
  EXPECT_EQ(Text(IDC_PASSES), "1");
  EXPECT_EQ(Text(IDC_WEED_BORDER), "2");
  ASSERT_TRUE(Enabled(IDOK));
  const std::string size = ShownSize();
  {
    AnswerMessage box;
    SetWindowTextA(Item(IDC_PASSES), "5");
    EXPECT_EQ(box.Text(),
              "The option \"Passes\" could not be applied: this job is too large: it would need more than 20000000 "
              "points");
  }
  EXPECT_EQ(Text(IDC_PASSES), "1");
  EXPECT_EQ(SendMessageA(Item(IDC_SPIN_PASSES), UDM_GETPOS32, 0, 0), 1);
  EXPECT_EQ(ShownSize(), size);
  for (int id : {IDOK, IDC_MIRROR, IDC_ROTATE, IDC_PASSES, IDC_CHK_INSIDE_FIRST, IDC_CHK_WEED_BORDER})
    EXPECT_TRUE(Enabled(id)) << id;
}

// Two presets: one with every value set, one with the blade offset and force off.
const char* const TWO_PRESETS =
    "[Presets]\r\nCount=2\r\n"
    "[Preset 1]\r\nName=Vinyl\r\nBladeOffset=0.25\r\nOvercut=0.50\r\nPasses=2\r\nForce=80\r\nSpeed=20\r\n"
    "[Preset 2]\r\nName=Flock\r\nBladeOffset=\r\nOvercut=1.0\r\nPasses=1\r\nForce=\r\nSpeed=5\r\n";

// Catches a list that does not start on the remembered preset, a preset whose values do
// not all reach their controls (an edit left disabled, the off blade offset losing its
// text), a change not marked, a mark that stays once the values are the preset's again or
// sticks to a preset left, and a preset that cannot be chosen again to undo changes.
TEST_F(PlotgateDialog, MaterialChosenShowsItsValuesAndAChangeMarksIt) {
  m_dir.Write("Presets.ini", TWO_PRESETS);
  WriteSettings("[Offset]\r\nChkOverCut=1\r\nBladeOffset=0.45\r\nOverCut=1.0\r\n[Tool]\r\nSpeed=5\r\nPreset=flock\r\n");
  Open(JobFile());
  EXPECT_EQ(Entries(IDC_MATERIAL), (std::vector<std::string>{"(none)", "Vinyl", "Flock"}));
  EXPECT_EQ(Selected(IDC_MATERIAL), "Flock");
  EXPECT_TRUE(Enabled(IDC_PRESET_DELETE));

  Choose(IDC_MATERIAL, 1);
  EXPECT_EQ(Selected(IDC_MATERIAL), "Vinyl");
  for (int box : {IDC_CHK_BLADE_OFFSET, IDC_CHK_OVERCUT, IDC_CHK_FORCE, IDC_CHK_SPEED})
    EXPECT_TRUE(Checked(box)) << box;
  const std::pair<int, const char*> vinyl[] = {
      {IDC_BLADE_OFFSET, "0.25"}, {IDC_OVERCUT, "0.50"}, {IDC_PASSES, "2"}, {IDC_FORCE, "80"}, {IDC_SPEED, "20"}};
  for (const auto& [id, text] : vinyl) {
    EXPECT_EQ(Text(id), text) << id;
    EXPECT_TRUE(Enabled(id)) << id;
  }

  SetWindowTextA(Item(IDC_FORCE), "90");
  EXPECT_EQ(Selected(IDC_MATERIAL), "Vinyl (changed)");
  SetWindowTextA(Item(IDC_FORCE), "80");
  EXPECT_EQ(Selected(IDC_MATERIAL), "Vinyl");
  Click(IDC_CHK_BLADE_OFFSET);
  EXPECT_EQ(Selected(IDC_MATERIAL), "Vinyl (changed)");
  Choose(IDC_MATERIAL, 1);
  EXPECT_EQ(Selected(IDC_MATERIAL), "Vinyl");
  EXPECT_TRUE(Checked(IDC_CHK_BLADE_OFFSET));
  SetWindowTextA(Item(IDC_PASSES), "3");
  EXPECT_EQ(Selected(IDC_MATERIAL), "Vinyl (changed)");

  Choose(IDC_MATERIAL, 2);
  EXPECT_EQ(Entries(IDC_MATERIAL), (std::vector<std::string>{"(none)", "Vinyl", "Flock"}));
  EXPECT_FALSE(Checked(IDC_CHK_BLADE_OFFSET));
  EXPECT_EQ(Text(IDC_BLADE_OFFSET), "0.25");  // kept for when it is ticked
  EXPECT_FALSE(Enabled(IDC_BLADE_OFFSET));
  EXPECT_FALSE(Checked(IDC_CHK_FORCE));
  EXPECT_FALSE(Enabled(IDC_FORCE));
  EXPECT_EQ(Text(IDC_OVERCUT), "1.0");
  EXPECT_EQ(Text(IDC_PASSES), "1");
  EXPECT_EQ(Text(IDC_SPEED), "5");

  Choose(IDC_MATERIAL, 0);
  EXPECT_EQ(Text(IDC_SPEED), "5");
  EXPECT_FALSE(Enabled(IDC_PRESET_DELETE));
}

// Types each of `names` (UTF-8) into the preset name window in turn and presses Save, from
// another thread while the dialog's sits in the window's modal loop; the message box each
// refused name brings is read into `refusals` and dismissed.
void NamePresets(std::vector<std::string> names, std::vector<std::string>& refusals) {
  HWND window = WaitShown("#32770", "Save preset");
  for (size_t i = 0; window && i < names.size(); ++i) {
    SetWindowTextW(GetDlgItem(window, IDC_PRESET_NAME), WideFromUtf8(names[i]).c_str());
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    if (i + 1 == names.size()) break;
    HWND box = WaitShown("#32770", "Plotgate");
    if (!box) return;
    refusals.push_back(MessageText(box));
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    while (IsWindow(box)) Sleep(10);
  }
}

// Catches a name that loses a byte on its way from the window to the file or back into
// the list, a bad name taken or the window closing on it, an existing name overwritten
// without asking (or not overwritten when the user agrees), and a deletion that leaves
// the preset in the file or the list.
TEST_F(PlotgateDialog, PresetSavedUnderAnOddNameComesBackWholeAndIsDeleted) {
  const std::string odd = "Oracal 651 (45\xC2\xB0) \"x\" $(y)";
  const std::string path = (m_dir.Path() / "Presets.ini").string();
  Open(JobFile());
  Click(IDC_CHK_FORCE);
  SetWindowTextA(Item(IDC_FORCE), "75");
  std::vector<std::string> refusals;
  {
    std::thread name(NamePresets, std::vector<std::string>{"", odd}, std::ref(refusals));
    Click(IDC_PRESET_SAVE);
    name.join();
  }
  EXPECT_EQ(refusals, std::vector<std::string>{"a preset name has 1 to 40 characters; \"\" has 0."});
  std::vector<Preset> presets;
  std::string reason;
  ASSERT_TRUE(ReadPresets(path, presets, reason)) << reason;
  ASSERT_EQ(presets.size(), 1u);
  EXPECT_EQ(presets[0].name, odd);
  EXPECT_EQ(presets[0].tool.force, 75);
  EXPECT_EQ(Entries(IDC_MATERIAL), (std::vector<std::string>{"(none)", odd}));
  EXPECT_EQ(Selected(IDC_MATERIAL), odd);

  // The answer to "Replace it?" and the force the file then holds.
  const std::pair<int, int> answers[] = {{IDNO, 75}, {IDYES, 76}};
  for (const auto& [answer, force] : answers) {
    SetWindowTextA(Item(IDC_FORCE), "76");
    AnswerMessage question(answer);
    std::thread name(NamePresets, std::vector<std::string>{odd}, std::ref(refusals));
    Click(IDC_PRESET_SAVE);
    name.join();
    EXPECT_EQ(question.Text(), "a preset named \"" + odd + "\" exists. Replace it?");
    ASSERT_TRUE(ReadPresets(path, presets, reason)) << reason;
    ASSERT_EQ(presets.size(), 1u);
    EXPECT_EQ(presets[0].tool.force, force) << answer;
  }

  AnswerMessage confirm(IDYES);
  Click(IDC_PRESET_DELETE);
  EXPECT_EQ(confirm.Text(), "Delete the preset \"" + odd + "\"?");
  ASSERT_TRUE(ReadPresets(path, presets, reason)) << reason;
  EXPECT_TRUE(presets.empty());
  EXPECT_EQ(Entries(IDC_MATERIAL), std::vector<std::string>{"(none)"});
  EXPECT_FALSE(Enabled(IDC_PRESET_DELETE));
}

// Catches a damaged presets file that stops the window, goes untold, or is replaced by a
// save (the user's presets lost).
TEST_F(PlotgateDialog, DamagedPresetsFileIsToldAndNeverReplaced) {
  const std::string damaged = "[Presets]\r\nCount=2\r\n[Preset 1]\r\nName=A\r\n";
  const std::string path = m_dir.Write("Presets.ini", damaged);
  std::vector<Preset> presets;
  std::string reason;
  ASSERT_FALSE(ReadPresets(path, presets, reason));
  const std::string told = "cannot read " + PresetsPathBeside(m_settings.IniPath) + ": " + reason;
  {
    AnswerMessage box;
    Open(JobFile());
    EXPECT_EQ(box.Text(), told);
  }
  EXPECT_EQ(Entries(IDC_MATERIAL), std::vector<std::string>{"(none)"});
  EXPECT_TRUE(Enabled(IDOK));
  std::vector<std::string> refusals;
  AnswerMessage box;
  std::thread name(NamePresets, std::vector<std::string>{"Flock"}, std::ref(refusals));
  Click(IDC_PRESET_SAVE);
  name.join();
  EXPECT_EQ(box.Text(), told);
  EXPECT_EQ(TempDir::Read(path), damaged);
}

// The text of the tooltip the dialog shows over its control `id`; "" for none.
std::string TipOver(HWND dialog, int id) {
  for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip;
       tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
    if (GetWindow(tip, GW_OWNER) != dialog) continue;
    wchar_t text[512] = L"";
    TOOLINFOW tool = {};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id));
    tool.lpszText = text;
    SendMessageW(tip, TTM_GETTEXTW, 512, reinterpret_cast<LPARAM>(&tool));
    return Utf8FromWide(text);
  }
  return "";
}

// Catches force controls usable for a model that is never sent a force, a missing or
// wrong reason, and controls that stay disabled once an HPGL model is chosen.
TEST_F(PlotgateDialog, DmplModelsTakeNoForceAndSayWhy) {
  WriteSettings("[Device]\r\nType=4\r\n[Tool]\r\nForce=80\r\n");
  Open(JobFile());
  const char* const why = "Finch-Series speaks DM/PL: the force (80 g) is not sent; set it on the cutter";
  for (int id : {IDC_CHK_FORCE, IDC_FORCE}) {
    EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_EQ(TipOver(m_dialog->m_hWnd, id), why) << id;
  }
  EXPECT_TRUE(Enabled(IDC_CHK_SPEED));
  EXPECT_EQ(Text(IDC_FORCE), "80");  // kept for an HPGL model
  Choose(IDC_DEVICE, 7);
  for (int id : {IDC_CHK_FORCE, IDC_FORCE}) {
    EXPECT_TRUE(Enabled(id)) << id;
    EXPECT_EQ(TipOver(m_dialog->m_hWnd, id), "") << id;
  }
}

// Catches a force or speed the command line would refuse being saved by a send.
TEST_F(PlotgateDialog, ForceOrSpeedOutOfRangeIsRefusedOnSend) {
  const struct {
    int box, edit;
    const char* text;
    const char* refusal;
  } rows[] = {
      {IDC_CHK_FORCE, IDC_FORCE, "1200", "Force takes grams from 1 to 1000, not \"1200\"."},
      {IDC_CHK_SPEED, IDC_SPEED, "", "Speed takes cm/s from 1 to 100, not \"\"."},
  };
  for (const auto& row : rows) {
    Open(JobFile());
    Click(row.box);
    SetWindowTextA(Item(row.edit), row.text);
    AnswerMessage box;
    Click(IDOK);
    EXPECT_EQ(box.Text(), row.refusal);
    EXPECT_TRUE(Enabled(IDOK));
    EXPECT_EQ(TempDir::Read(m_settings.IniPath), "");  // nothing saved
    m_dialog.reset();
  }
}

// A frame 310 x 50 mm with a 5 mm wall: on media 120 mm wide it is cut in three panels of
// 110 mm, 20 mm apart along the roll.
const char* const FRAME =
    "IN;SP1;PU0,0;PD12400,0;PD12400,2000;PD0,2000;PD0,0;PU200,200;PD12200,200;PD12200,1800;PD200,1800;PD200,200;SP0;";

// How many pixels of column `x` of the preview are black: the media's dashed edge.
int BlackInColumn(HWND preview, int x) {
  RECT frame;
  GetClientRect(preview, &frame);
  const std::vector<uint32_t> shown = Pixels(preview);
  int black = 0;
  for (int y = 1; y < frame.bottom - 1; ++y)
    black += (shown[static_cast<size_t>(y) * frame.right + x] & 0xFFFFFFu) == 0;
  return black;
}

// Catches media controls that the job does not see: ticking Panels must show the panelled
// job's size and preview, the preview must draw the media's edge where the command line's
// picture draws it, and unticking the media width must untick the panels with it (panels
// need a media width) and give the whole job back.
TEST_F(PlotgateDialog, PanelsShowThePanelledJobAndTheMediaEdge) {
  WriteSettings("[Media]\r\nChkWidth=1\r\nWidth=120\r\n");
  const std::string file = JobFile(FRAME);
  Open(file);
  EXPECT_TRUE(Checked(IDC_CHK_MEDIA_WIDTH));
  EXPECT_EQ(Text(IDC_MEDIA_WIDTH), "120");
  EXPECT_EQ(Text(IDC_PANEL_OVERLAP), "10");
  EXPECT_EQ(Text(IDC_PANEL_GAP), "20");
  for (int id : {IDC_MEDIA_WIDTH, IDC_CHK_PANELS}) EXPECT_TRUE(Enabled(id)) << id;
  for (int id : {IDC_PANEL_OVERLAP, IDC_PANEL_GAP}) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(ShownSize(), "310.00 x 50.00");

  CPlotJob expected;
  expected.LoadJob(file.c_str());
  HWND preview = Item(IDC_PREVIEW);
  RECT frame;
  GetClientRect(preview, &frame);
  const auto edgeX = [&] {
    return CPreviewFrame(expected.m_pPoints, expected.m_bounds, frame.right, frame.bottom)
        .Pixel(MediaEdgeX(expected.m_bounds, 4800), 0)
        .x;
  };
  // 120 mm from the job's right side, inside the picture: dashed, so neither missing nor solid.
  const int wideEdge = edgeX();
  EXPECT_GT(BlackInColumn(preview, wideEdge), 10);
  EXPECT_LT(BlackInColumn(preview, wideEdge), frame.bottom - 2);

  Click(IDC_CHK_PANELS);
  EXPECT_EQ(ShownSize(), "110.00 x 190.00");
  for (int id : {IDC_PANEL_OVERLAP, IDC_PANEL_GAP}) EXPECT_TRUE(Enabled(id)) << id;
  ASSERT_EQ(expected.SetPanels(PanelLayout{4800, 400, 800}), JOB_DONE);
  ExpectPreviewOf(expected);
  EXPECT_GT(BlackInColumn(preview, edgeX()), 10);  // 10 mm left of the panels
  EXPECT_EQ(BlackInColumn(preview, wideEdge), 0);

  Click(IDC_CHK_MEDIA_WIDTH);
  EXPECT_FALSE(Checked(IDC_CHK_PANELS));
  for (int id : {IDC_MEDIA_WIDTH, IDC_CHK_PANELS, IDC_PANEL_OVERLAP, IDC_PANEL_GAP}) EXPECT_FALSE(Enabled(id)) << id;
  EXPECT_EQ(ShownSize(), "310.00 x 50.00");
}

// Catches a refused media choice that changes the job or stays in the controls: a bad
// number, an overlap out of its range or too large for the width, and more panels than a
// job may have are each refused with the command line's words when the edit is left; the
// edit shows what the job has again, and the job, its size and the send stay usable. The
// remembered panels are in the job from the start.
TEST_F(PlotgateDialog, RefusedMediaChoiceKeepsTheJobAndPutsTheEditBack) {
  WriteSettings("[Media]\r\nChkWidth=1\r\nWidth=120\r\nPanels=1\r\nPanelOverlap=45\r\n");
  // A rectangle 3000 x 50 mm: 40 panels on this media.
  Open(JobFile("IN;SP1;PU0,0;PD120000,0;PD120000,2000;PD0,2000;PD0,0;SP0;"));
  ASSERT_TRUE(Checked(IDC_CHK_PANELS));
  EXPECT_EQ(Text(IDC_WIDTH), "118.88");
  const std::string size = ShownSize();
  const struct {
    int edit;
    const char* text;
    const char* refusal;
  } rows[] = {
      {IDC_MEDIA_WIDTH, "abc", "\"Media width\" could not be applied: \"abc\" is not a number of mm from 50 to 3000"},
      {IDC_PANEL_OVERLAP, "60",
       "\"Panel overlap\" could not be applied: \"60\" is outside a number of mm from 0 to 50"},
      {IDC_MEDIA_WIDTH, "55",
       "\"Panels\" could not be applied: the panel overlap (45 mm) must be smaller than the media width less 10 mm"},
      {IDC_MEDIA_WIDTH, "104", "\"Panels\" could not be applied: 51 panels of 102.95 mm: is the media width right?"},
  };
  for (const auto& row : rows) {
    const std::string before = Text(row.edit);
    AnswerMessage box;
    TypeAndLeave(row.edit, row.text);
    EXPECT_EQ(box.Text(), std::string("The option ") + row.refusal);
    EXPECT_EQ(Text(row.edit), before) << row.text;
    EXPECT_EQ(ShownSize(), size) << row.text;
    for (int id : {IDOK, IDC_CHK_PANELS, IDC_PANEL_OVERLAP, IDC_PANEL_GAP}) EXPECT_TRUE(Enabled(id)) << id;
  }
  // A width the job takes is taken when the edit is left, with no message.
  AnswerMessage none;
  TypeAndLeave(IDC_MEDIA_WIDTH, "600");
  EXPECT_EQ(none.Text(), "");
  EXPECT_EQ(Text(IDC_WIDTH), "537.50");  // 6 panels
}

// Catches a send that drives the head off the media: a job wider than the media width is
// refused before the port is opened with the command line's words, and nothing is saved;
// a width typed in but not yet left counts, so that Send goes on to the port when the job
// fits it.
TEST_F(PlotgateDialog, SendRefusesAJobWiderThanTheMedia) {
  const std::string saved = "[Device]\r\nType=7\r\nPort=29\r\n[Media]\r\nChkWidth=1\r\nWidth=120\r\n";
  WriteSettings(saved);
  Open(JobFile(FRAME));
  const struct {
    const char* width;
    const char* said;
  } rows[] = {
      {"120",
       "the job is 310.00 mm across the roll, wider than the media (120 mm): turn it (--rotate 90) or cut it in panels "
       "(--panels)"},
      {"320", "Connect to Cutter fail!"},
  };
  for (const auto& row : rows) {
    SetWindowTextA(Item(IDC_MEDIA_WIDTH), row.width);
    AnswerMessage box;
    Click(IDOK);
    PumpUntil([this] { return Enabled(IDOK); });
    EXPECT_EQ(box.Text(), row.said);
    EXPECT_EQ(TempDir::Read(m_settings.IniPath), saved);
  }
}

// Three marks at (0,0), (8000,0) and (0,6000) around a 10 mm square.
const char* const MARKED_SQUARE =
    "IN;RM1,0,0;RM2,8000,0;RM3,0,6000;PU4000,3000;PD4400,3000;PD4400,3400;PD4000,3400;PD4000,3000;SP0;";

// The Registration window, driven from another thread while the dialog's thread sits in
// its modal loop: its controls clicked, its list read, keys posted as the keyboard does.
struct RegistrationWindow {
  HWND window;
  void Click(int id) const {
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
  }
  void Choose(int stepButton) const { SendMessageA(GetDlgItem(window, stepButton), BM_CLICK, 0, 0); }
  std::string Row(int row) const {
    char text[128] = "";
    SendMessageA(GetDlgItem(window, IDC_MARK_LIST), LB_GETTEXT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(text));
    return text;
  }
  std::string Text(int id) const {
    char text[256] = "";
    GetDlgItemTextA(window, id, text, sizeof text);
    return text;
  }
  // An arrow key pressed on control `id`, through the modal loop's own handling of the
  // keyboard; returns once the jog has sent the move (`parts` grown by one).
  void Key(int id, WPARAM key, const std::atomic<int>& parts) const {
    const int before = parts;
    PostMessageA(GetDlgItem(window, id), WM_KEYDOWN, key, 0);
    for (int i = 0; i < 500 && parts == before; ++i) Sleep(10);
  }
};

// The jog of the Registration window goes to a record instead of a cutter. Catches:
// arrow keys that move the focus instead of the head (or do nothing), a step not taken
// from the step buttons, Go to mark not sent where the marks set so far put the mark, the
// list texts, a header sent again or no terminator at the close, an OK that places the
// job with too few marks (the refusal shown, the window kept) or places nothing with
// enough, a Cancel that drops the placement held, and Mirror, Rotate and the cut order
// left usable while the job is placed. Marks... stays usable to measure again.
TEST_F(PlotgateDialog, RegistrationWindowJogsSetsMarksAndPlacesTheJob) {
  Open(JobFile());
  EXPECT_FALSE(Enabled(IDC_MARKS)) << "a job without marks";
  WriteSettings("[Device]\r\nType=7\r\nPort=29\r\n");
  Open(JobFile(MARKED_SQUARE));
  ASSERT_TRUE(Enabled(IDC_MARKS));
  std::string sent;
  std::atomic<int> parts{0};
  m_dialog->JogSink = [&](const std::string& bytes) {
    sent += bytes;
    ++parts;
    return SEND_DONE;
  };
  const std::string header =
      "IN;SP1;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;PU0,0;";

  // Mark 1 only: OK refuses, and Cancel places nothing.
  std::string refusal;
  {
    WhenShown registration("#32770", "Registration", [&](HWND window) {
      const RegistrationWindow r{window};
      EXPECT_EQ(r.Row(0), "1 not measured");
      EXPECT_EQ(r.Row(2), "3 not measured");
      EXPECT_EQ(r.Text(IDC_REG_RESULT), "set marks 1 and 2 at least to place the sheet");
      r.Key(IDC_MARK_LIST, VK_UP, parts);  // 1 mm
      r.Click(IDC_SET_MARK);
      EXPECT_EQ(r.Row(0), "1 at 1.00, 0.00 mm");
      AnswerMessage box;
      r.Click(IDOK);
      refusal = box.Text();
      EXPECT_TRUE(IsWindow(window));
      r.Click(IDCANCEL);
    });
    Click(IDC_MARKS);
  }
  EXPECT_EQ(refusal, "The sheet cannot be placed: set marks 1 and 2 at least to place the sheet.");
  EXPECT_EQ(sent, header + "PU40,0;SP0;@");
  EXPECT_TRUE(Enabled(IDC_MIRROR));

  // Three marks: mark 1 jogged to (400, 8000), the others gone to and mark 3 put right.
  sent.clear();
  std::string result;
  {
    WhenShown registration("#32770", "Registration", [&](HWND window) {
      const RegistrationWindow r{window};
      r.Choose(IDC_STEP_10);
      r.Key(IDC_MARK_LIST, VK_UP, parts);
      // On a button too, where the keys would move the focus.
      for (int i = 0; i < 20; ++i) r.Key(IDC_SET_MARK, VK_LEFT, parts);
      r.Click(IDC_SET_MARK);  // and mark 2 is chosen
      r.Click(IDC_GO_TO_MARK);
      r.Click(IDC_SET_MARK);
      r.Click(IDC_GO_TO_MARK);
      r.Choose(IDC_STEP_1);
      r.Click(IDC_JOG_RIGHT);
      r.Click(IDC_SET_MARK);
      EXPECT_EQ(r.Row(0), "1 at 10.00, 200.00 mm");
      EXPECT_EQ(r.Row(1), "2 at 10.00, 0.00 mm");
      EXPECT_EQ(r.Row(2), "3 at 160.00, 199.00 mm");
      result = r.Text(IDC_REG_RESULT);
      r.Click(IDOK);
    });
    Click(IDC_MARKS);
  }
  std::string lefts;
  for (int i = 1; i <= 20; ++i) lefts += "PU400," + std::to_string(400 * i) + ";";
  EXPECT_EQ(sent, header + "PU400,0;" + lefts + "PU400,0;PU6400,8000;PU6400,7960;SP0;@");
  EXPECT_EQ(result.substr(result.size() - 19), "3 marks fit exactly") << result;
  for (int id : {IDC_MIRROR, IDC_ROTATE, IDC_CHK_INSIDE_FIRST, IDC_CHK_WEED_BORDER, IDC_PASSES})
    EXPECT_FALSE(Enabled(id)) << id;
  for (int id : {IDOK, IDC_MARKS, IDC_CHK_BLADE_OFFSET}) EXPECT_TRUE(Enabled(id)) << id;

  // Cancel keeps the placement held.
  {
    WhenShown registration("#32770", "Registration", [](HWND window) { RegistrationWindow{window}.Click(IDCANCEL); });
    Click(IDC_MARKS);
  }
  EXPECT_FALSE(Enabled(IDC_MIRROR));
}

}  // namespace
