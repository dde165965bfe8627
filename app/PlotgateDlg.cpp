#include "app/PlotgateDlg.h"

#include "app/AboutDlg.h"
#include "app/RegistrationDlg.h"
#include "corel/CorelWorkspace.h"
#include "cutter/JobFilePath.h"
#include "cutter/PortDiscovery.h"
#include "pipeline/JobResult.h"
#include "resources/resource.h"
#include "settings/ChoiceLimits.h"
#include "settings/FileException.h"
#include "settings/IniFile.h"
#include "settings/PortList.h"
#include "settings/RestoreChoices.h"
#include "settings/SettingsLock.h"
#include "ui/PopupMenu.h"

namespace {

// The program's name: the caption of the dialog's message boxes.
const char* const PROGRAM_NAME = "Plotgate";

// The Rotate menu: its items' commands and the quarter turns each chooses, by position,
// with the bitmap shown beside each.
struct RotateItem {
  int command;
  int quarterTurns;
  int bitmap;
};
const RotateItem ROTATE_ITEMS[] = {
    {ID_ROTATE1, 1, IDB_ROTATE90_MENU},
    {ID_ROTATE2, 2, IDB_ROTATE180_MENU},
    {ID_ROTATE3, 3, IDB_ROTATE270_MENU},
    {ID_ROTATE4, 0, IDB_ROTATE0_MENU},
};

}  // namespace

CPlotgateDlg::CPlotgateDlg(CIniFile& settings, std::string fileName)
    : CDialog(IDD_PLOTGATE_DIALOG),
      m_settings(settings),
      m_fileName(std::move(fileName)),
      AppIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))) {
  m_sProgramName = PROGRAM_NAME;
}

CPlotgateDlg::~CPlotgateDlg() {
  if (VersionFont) DeleteObject(VersionFont);
  if (m_splitArrow) ImageList_Destroy(m_splitArrow);
  for (HBITMAP bitmap : RotateMenuBitmaps) {
    if (bitmap) DeleteObject(bitmap);
  }
  for (HBITMAP bitmap : m_stateBitmaps) {
    if (bitmap) DeleteObject(bitmap);
  }
}

BOOL CPlotgateDlg::OnInitDialog() {
  AttachControls();
  SetUpControls();
  RestoreChoices();
  LoadCommandLineJob();
  return TRUE;
}

void CPlotgateDlg::AttachControls() {
  m_progress = Control<CProgressBar>(IDC_PROGRESS);
  m_height = Control<CWindow>(IDC_HEIGHT);
  m_width = Control<CWindow>(IDC_WIDTH);
  m_device = Control<CComboBox>(IDC_DEVICE);
  m_port = Control<CComboBox>(IDC_PORT);
  m_mirror = Control<CButton>(IDC_MIRROR);
  m_rotate = Control<CButton>(IDC_ROTATE);
  m_preview = Control<CWindow>(IDC_PREVIEW);
  m_status = Control<CWindow>(IDC_STATUS);
}

void CPlotgateDlg::SetUpControls() {
  const std::string aboutItem = LoadResourceText(IDS_ABOUTBOX);
  HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
  if (systemMenu && !aboutItem.empty()) {
    AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, aboutItem.c_str());
  }
  Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(AppIcon));
  Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(AppIcon));

  m_progress.SetRange(0, 100);
  m_progress.SetPos(0);
  VersionFont = CreateFontA(-15, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
  const CWindow version(Item(IDC_VERSION));
  version.Send(WM_SETFONT, reinterpret_cast<WPARAM>(VersionFont), TRUE);
  version.SetText(LoadResourceText(IDS_VERSION));
  m_progress.SetText("0%");

  m_options.SetUp(*this);
  m_material.SetUp(*this, m_options, [this] { return ChoicesFromControls(); });
  m_media.SetUp(*this);

  for (const CutterModel& model : ModelTable) m_device.AddString(model.name);
  m_device.SetCurSel(0);
  for (int index = 0; index < PORT_LIST_COUNT; ++index) m_port.AddString(PortListText(index));
  m_port.SetCurSel(0);
  m_port.Enable(false);

  m_splitArrow = CreateSplitArrow();
  m_rotate.SetSplitStyle(m_splitArrow);
  for (int i = 0; i < 4; ++i) RotateMenuBitmaps[i] = LoadButtonBitmap(ROTATE_ITEMS[i].bitmap);
  for (int id = MIRROR_NORMAL; id <= ROTATE_270; ++id) m_stateBitmaps[id - MIRROR_NORMAL] = LoadButtonBitmap(id);
  m_mirror.SetImage(m_stateBitmaps[m_job.MirrorState - MIRROR_NORMAL]);
  m_rotate.SetImage(m_stateBitmaps[m_job.RotateState - MIRROR_NORMAL]);

  EnableItems({IDC_HEIGHT, IDC_WIDTH}, false);
}

void CPlotgateDlg::RestoreChoices() {
  // A temporary folder too long for the path buffer leaves no job file path: a send then
  // cannot write the job file instead of writing a cut-off path.
  int noTemporaryFolder = 0;
  JobFilePath = JobFilePathIn(TemporaryFolder(noTemporaryFolder), "cutcorldata.hb");
  TestCutDrawingPath = JobFilePathIn(TemporaryFolder(noTemporaryFolder), "cutcorltestcut.plt");
  Choices saved;
  try {
    const CSettingsLock lock(m_settings.IniPath);
    saved = ReadChoices(m_settings);
  } catch (const CFileException& error) {
    // The window still opens with the job: the user sees why the choices are not there, and
    // a send, which saves them first, fails with the same reason.
    ShowMessage(std::string(error.what()) + "\n\nThe saved choices could not be read; the defaults are used.",
                m_sProgramName, MB_OK | MB_ICONWARNING);
    saved = Choices();
  }
  const RestoredDevice restored = RestoreDevice(saved, ListSerialDevices());
  const Choices shown = Merged(saved, DefaultChoices());
  m_device.SetCurSel(restored.modelIndex);
  SelectPort(restored.port);
  m_options.ShowOffsets(shown);
  m_media.Show(shown);
  SelectedModel = ModelTable[restored.modelIndex];
  m_port.Enable(restored.portListEnabled);
  ShowCutOrder(shown);
  m_material.Restore(m_settings.IniPath, shown, restored.modelIndex);
}

void CPlotgateDlg::ShowCutOrder(const Choices& choices) {
  m_bShowingCutOrder = true;
  m_options.ShowCutOrder(choices);
  m_bShowingCutOrder = false;
  m_appliedOrder = ChoicesFromControls();
}

void CPlotgateDlg::LoadCommandLineJob() {
  if (!m_fileName.empty()) {
    // The job is loaded straight into the cut order the controls show.
    m_job.SetCutOrder(CutOrderFrom(ChoicesFromControls()));
    m_job.LoadJob(m_fileName.c_str());
    const bool tooLarge = m_job.m_loadResult == JOB_NO_MEMORY || m_job.m_loadResult == JOB_TOO_LARGE;
    if (tooLarge && !m_job.GetCutOrder().IsOff()) {
      // The remembered order may be what the job cannot take: the job then comes in the
      // drawing's order, and the controls say so.
      const JobResult refused = m_job.m_loadResult;
      m_job.SetCutOrder(CutOrder());
      m_job.LoadJob(m_fileName.c_str());
      if (m_job.HasJob()) {
        Choices drawingOrder;
        drawingOrder.weedBorderText = m_appliedOrder.weedBorderText;
        ShowCutOrder(drawingOrder);
        RefuseOption("Cut order", refused);
      }
    }
    // A job that cannot fit is refused with a reason; the window stays usable without it.
    // An unreadable file keeps the documented silence.
    if (m_job.m_loadResult == JOB_NO_MEMORY || m_job.m_loadResult == JOB_TOO_LARGE) {
      ShowMessage(JobResultText(m_job.m_loadResult), m_sProgramName, MB_OK | MB_ICONWARNING);
    }
    OnMediaChange();  // the remembered media and panels
    ShowJobSize();
  }
  EnableForJob();
}

void CPlotgateDlg::EnableForJob() {
  // A placement fixes where the drawing's lines go: no mirror, rotation, new cut order or
  // panels.
  const bool job = m_job.HasJob(), placed = job && m_job.m_placement;
  EnableItems({IDOK, IDC_TEST_CUT, IDC_DEVICE, IDC_PORT}, job);
  EnableItems({IDC_MIRROR, IDC_ROTATE}, job && !placed);
  EnableItems({IDC_MARKS}, job && m_job.m_marks.Any());
  m_options.EnableForJob(job);
  if (placed) m_options.DisableCutOrder();
  m_material.EnableForJob(job);
  m_media.EnableForJob(job && !placed);
}

void CPlotgateDlg::SelectPort(const std::string& port) {
  int index = m_port.FindStringExact(port);
  if (index < 0) index = m_port.AddString(port);
  m_port.SetCurSel(index);
}

bool CPlotgateDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != IDM_ABOUTBOX) return false;
      OnSysCommand(wParam, lParam);
      return true;
    case WM_PAINT: OnPaint(); return true;
    case WM_QUERYDRAGICON: result = reinterpret_cast<LRESULT>(AppIcon); return true;
    case WM_CUTTEROPENED:
      m_previewPainter.Forget();  // writing the job file simplifies the points
      m_send.OnCutterOpened(ChoicesFromControls());
      result = 0;
      return true;
    case WM_SENDFINISHED:
      m_send.OnSendFinished();
      result = 0;
      return true;
    case WM_COPYDATA:
      m_send.OnReport(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
      result = FALSE;
      return true;
    default: return CDialog::OnMessage(message, wParam, lParam, result);
  }
}

bool CPlotgateDlg::OnCommand(int id, int code) {
  if (m_material.OnCommand(id, code)) return true;
  if (id == IDC_DEVICE && code == CBN_SELCHANGE) {
    OnSelchangeDevice();
    return true;
  }
  if ((id == IDC_WEED_BORDER || id == IDC_PASSES) && code == EN_CHANGE) {
    OnCutOrderChange();
    return true;
  }
  if (m_media.Takes(id, code)) {
    OnMediaChange();
    return true;
  }
  return CDialog::OnCommand(id, code);
}

bool CPlotgateDlg::OnButtonClicked(int id) {
  switch (id) {
    case IDC_MIRROR:
    case IDC_ROTATE: OnMirrorRotate(id); return true;
    case IDC_CHK_BLADE_OFFSET:
    case IDC_CHK_OVERCUT: return m_options.OnGroup(id, nullptr);
    case IDC_CHK_INSIDE_FIRST:
    case IDC_CHK_SHORTEST_TRAVEL: OnCutOrderChange(); return true;
    case IDC_CHK_WEED_BORDER:
      m_options.OnGroup(id, nullptr);
      OnCutOrderChange();
      return true;
    case IDOK:
    case IDC_TEST_CUT: OnSend(id == IDC_TEST_CUT); return true;
    case IDCANCEL: OnCancel(); return true;
    case IDC_ABOUT: OnAbout(); return true;
    case IDC_PROVIEW: OnProview(); return true;
    case IDC_MARKS: OnMarks(); return true;
    default: return false;
  }
}

bool CPlotgateDlg::OnNotify(const NMHDR& header, LRESULT& result) {
  if (header.code != static_cast<UINT>(UDN_DELTAPOS) ||
      !m_options.OnGroup(static_cast<int>(header.idFrom), &reinterpret_cast<const NMUPDOWN&>(header))) {
    return false;
  }
  result = 0;  // the spin's own position change is allowed
  return true;
}

void CPlotgateDlg::OnSysCommand(WPARAM, LPARAM) { OnAbout(); }

void CPlotgateDlg::OnAbout() {
  CAboutDlg about;
  about.m_sProgramName = m_sProgramName;
  about.DoModal(m_hWnd);
}

void CPlotgateDlg::OnPaint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hWnd, &paint);
  if (IsIconic(m_hWnd)) {
    Send(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc));
    RECT client;
    GetClientRect(m_hWnd, &client);
    const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
    DrawIcon(dc, x, y, AppIcon);
    EndPaint(m_hWnd, &paint);
    return;
  }
  // The dialog's own painting first, as it erases what lies below the preview frame.
  EndPaint(m_hWnd, &paint);
  RECT frame;
  GetClientRect(m_preview.m_hWnd, &frame);
  DrawPreview(GetDC(m_preview.m_hWnd), frame.right - frame.left, frame.bottom - frame.top);
}

int CPlotgateDlg::DrawPreview(HDC dc, int width, int height) {
  if (m_job.m_pPoints) m_previewPainter.Paint(dc, width, height, m_job, m_media.MediaWidth());
  ReleaseDC(m_preview.m_hWnd, dc);
  return 0;
}

void CPlotgateDlg::OnMirrorRotate(int id) {
  if (id == IDC_ROTATE) {
    CPopupMenu menu(IDR_ROTATE_MENU);
    for (int i = 0; i < 4; ++i) menu.SetItemBitmap(i, RotateMenuBitmaps[i]);
    RECT button;
    GetWindowRect(m_rotate.m_hWnd, &button);
    const int command = menu.Track(m_hWnd, button.left, button.bottom);
    // A dismissed menu rebuilds the points with the rotation unchanged.
    int quarterTurns = m_job.QuarterTurns();
    for (const RotateItem& item : ROTATE_ITEMS) {
      if (item.command == command) quarterTurns = item.quarterTurns;
    }
    ApplyMirrorRotate(quarterTurns, false);
  } else {
    ApplyMirrorRotate(m_job.QuarterTurns(), true);
  }
}

void CPlotgateDlg::ApplyMirrorRotate(int quarterTurns, bool mirror) {
  // A refused choice leaves the job, its buttons' pictures and the preview as they were.
  const JobResult applied = mirror ? m_job.Mirror() : m_job.RotateTo(quarterTurns);
  if (applied != JOB_DONE) {
    RefuseOption(mirror ? "Mirror" : "Rotate", applied);
    return;
  }
  m_mirror.SetImage(m_stateBitmaps[m_job.MirrorState - MIRROR_NORMAL]);
  m_rotate.SetImage(m_stateBitmaps[m_job.RotateState - MIRROR_NORMAL]);
  ShowChangedJob();
}

void CPlotgateDlg::RefuseOption(const std::string& name, JobResult why) {
  ShowMessage(NotAppliedText({name, JobResultText(why)}), m_sProgramName, MB_OK | MB_ICONWARNING);
}

void CPlotgateDlg::RedrawPreview() {
  RECT area;
  GetWindowRect(m_preview.m_hWnd, &area);
  MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&area), 2);
  InvalidateRect(m_hWnd, &area, TRUE);
  UpdateWindow(m_hWnd);
}

void CPlotgateDlg::ShowJobSize() {
  m_width.SetText(m_job.WidthText());
  m_height.SetText(m_job.HeightText());
}

void CPlotgateDlg::ShowChangedJob() {
  m_previewPainter.Forget();
  ShowJobSize();
  RedrawPreview();
}

void CPlotgateDlg::OnCutOrderChange() {
  // Text set while the window starts has no job to order yet, and controls put back to
  // the order the job is in need no new one.
  if (!m_job.HasJob() || m_bShowingCutOrder) return;
  const Choices shown = ChoicesFromControls();
  const JobResult ordered = m_job.SetCutOrder(CutOrderFrom(shown));
  if (ordered != JOB_DONE) {
    // The control changed last goes back; the job, its size and preview stay as they were.
    const Choices applied = m_appliedOrder;
    const char* name = shown.insideFirst != applied.insideFirst         ? "Inner shapes first"
                       : shown.shortestTravel != applied.shortestTravel ? "Less travel"
                       : shown.passes != applied.passes                 ? "Passes"
                                                                        : "Weed border";
    ShowCutOrder(applied);
    m_options.OnGroup(IDC_CHK_WEED_BORDER, nullptr);
    RefuseOption(name, ordered);
    return;
  }
  m_appliedOrder = shown;
  ShowChangedJob();
}

bool CPlotgateDlg::OnMediaChange() {
  const MediaChange change = m_media.Apply(m_job);
  if (change == MEDIA_CHANGED) ShowChangedJob();
  return change != MEDIA_REFUSED;
}

void CPlotgateDlg::OnSelchangeDevice() {
  const int index = m_device.GetCurSel();
  if (index < 0 || index >= MODEL_COUNT) return;
  SelectedModel = ModelTable[index];
  m_material.ShowModel(index);
  SelectPort(ChoosePort(SelectedModel.ProtocolNumber, ListSerialDevices()));
  m_port.Enable(SelectedModel.ProtocolNumber != 0);
}

void CPlotgateDlg::OnProview() { RemoveCorelToolbar(PROVIEW_WORKSPACE_PATH); }

void CPlotgateDlg::OnMarks() {
  CRegistrationDlg registration(m_job, m_settings, ChoicesFromControls());
  registration.m_sProgramName = m_sProgramName;
  registration.OpenCutter = OpenCutter;
  registration.JogSink = JogSink;
  if (registration.DoModal(m_hWnd) != IDOK) return;
  EnableForJob();
  ShowChangedJob();
}

Choices CPlotgateDlg::ChoicesFromControls() const {
  Choices choices;
  choices.model = m_device.GetCurSel();
  choices.port = m_port.GetText();
  m_options.Read(choices);
  m_material.Read(choices);
  m_media.Read(choices);
  return choices;
}

void CPlotgateDlg::OnSend(bool testCut) {
  // Enter reaches here while Send is disabled too: a send in progress, or one finishing,
  // keeps its driver.
  if (!m_job.HasJob() || !m_send.Idle()) return;
  // A text the command line would refuse is never saved: a later send there takes it.
  const std::string refused = m_material.Refused(ChoicesFromControls());
  if (!refused.empty()) {
    ShowMessage(refused + ".", m_sProgramName, MB_OK | MB_ICONWARNING);
    return;
  }
  // The test cut is a few centimetres whatever the media: only the job is held to its width.
  if (!OnMediaChange() || (!testCut && !m_media.Fits(m_job))) return;
  m_send.Start({OpenCutter, SelectedModel, m_port.GetText(), testCut, JobFilePath, TestCutDrawingPath});
}

void CPlotgateDlg::EnableForSend(bool sending) {
  if (!sending) {
    EnableForJob();
    m_port.Enable(m_port.GetCurSel() != 0);
    return;
  }
  EnableItems({IDOK, IDC_TEST_CUT, IDC_DEVICE, IDC_PORT, IDC_MIRROR, IDC_ROTATE, IDC_MARKS}, false);
  m_material.EnableForJob(false);
  m_options.DisableCutOrder();
  m_media.EnableForJob(false);
}

void CPlotgateDlg::OnTimer(UINT_PTR id) { m_send.OnTimer(id); }

void CPlotgateDlg::OnCancel() {
  m_send.Stop();
  EndDialog(IDCANCEL);
}
