#include "app/RegistrationDlg.h"

#include <commctrl.h>

#include "cutter/JobFilePath.h"
#include "cutter/PortDiscovery.h"
#include "cutter/PortSettings.h"
#include "pipeline/JobPlacement.h"
#include "pipeline/LaserCross.h"
#include "resources/resource.h"
#include "settings/FileException.h"
#include "settings/LaserOffset.h"
#include "settings/SettingsLock.h"
#include "ui/Controls.h"

namespace {

// The arrow buttons by the arrow keys that press them, and the way each moves the head.
struct ArrowKey {
  WPARAM key;
  int button;
  JogArrow arrow;
};
const ArrowKey ARROW_KEYS[] = {
    {VK_UP, IDC_JOG_UP, JOG_UP},
    {VK_DOWN, IDC_JOG_DOWN, JOG_DOWN},
    {VK_RIGHT, IDC_JOG_RIGHT, JOG_RIGHT},
    {VK_LEFT, IDC_JOG_LEFT, JOG_LEFT},
};

// The arrow button the key `key` presses; 0 for any other key.
int ArrowButton(WPARAM key) {
  for (const ArrowKey& arrow : ARROW_KEYS)
    if (arrow.key == key) return arrow.button;
  return 0;
}

// Every control of the window takes the arrow keys, which would otherwise move the focus
// between the controls, and presses the arrow button for them.
LRESULT CALLBACK ArrowKeysProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  const int button = ArrowButton(wParam);
  if (button && message == WM_GETDLGCODE) return DLGC_WANTARROWS | DefSubclassProc(control, message, wParam, lParam);
  if (button && message == WM_KEYDOWN) {
    const HWND window = GetParent(control);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
    return 0;
  }
  return DefSubclassProc(control, message, wParam, lParam);
}

BOOL CALLBACK TakeArrowKeys(HWND control, LPARAM) {
  SetWindowSubclass(control, ArrowKeysProc, 1, 0);
  return TRUE;
}

const int STEP_BUTTONS[JOG_STEP_COUNT] = {IDC_STEP_01, IDC_STEP_1, IDC_STEP_10};

}  // namespace

CRegistrationDlg::CRegistrationDlg(CPlotJob& job, CIniFile& settings, const Choices& choices)
    : CDialog(IDD_REGISTRATION), m_job(job), m_settings(settings), m_choices(choices), m_marks(job.m_marks, {0, 0}) {
  const int model = m_choices.model.value_or(0);
  m_choices.model = model >= 0 && model < MODEL_COUNT ? model : 0;
}

CRegistrationDlg::~CRegistrationDlg() { EndJog(); }

BOOL CRegistrationDlg::OnInitDialog() {
  for (int number = 1; number <= MAX_MARKS; ++number)
    if (m_marks.HasMark(number)) m_numbers.push_back(number);
  Control<CButton>(STEP_BUTTONS[JOG_FIRST_STEP]).SetCheck(true);
  EnumChildWindows(m_hWnd, TakeArrowKeys, 0);
  const int model = *m_choices.model;
  try {
    m_marks.SetLaserOffset(LaserOffsetOf(m_settings, model));
  } catch (const CFileException&) {
    // The main window has said so already: the knife tip is aimed.
  }
  ShowMarks();
  Control<CListBox>(IDC_MARK_LIST).SetCurSel(0);
  EnableJog(false);

  if (JogSink) {
    m_jog = std::make_unique<CJogSession>(DialectOfProtocol(ModelTable[model].ProtocolNumber), JogSink);
    OnOpened();
    return TRUE;
  }
  const std::string port = m_choices.port.value_or("");
  const std::string usbSerialPort = MatchSerialPort(ListSerialDevices(), USB_SERIAL_PREFIX);
  if (GetPortSettings(ModelTable[model].ProtocolNumber, port, usbSerialPort).mode == MODE_VENDOR_USB) {
    SetItemText(IDC_REG_STATUS, std::string("The head is jogged on serial lines only: ") + ModelTable[model].name +
                                    " cutters take jobs through the maker's USB link.");
    return TRUE;
  }
  m_link = std::make_shared<CutterLink>();
  if (!StartOpening(m_opening, m_link, OpenCutter, m_hWnd, WM_JOGOPENED, ModelTable[model], port, usbSerialPort)) {
    m_link.reset();
    SetItemText(IDC_REG_STATUS, SendOutcomeText(SEND_OPEN_FAILED));
    return TRUE;
  }
  SetItemText(IDC_REG_STATUS, "Opening " + port + "...");
  return TRUE;
}

bool CRegistrationDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_JOGFAILED) {
    if (m_line && m_line->Failure() != SEND_DONE) Sent(m_line->Failure());
    result = 0;
    return true;
  }
  if (message != WM_JOGOPENED) return CDialog::OnMessage(message, wParam, lParam, result);
  // Only the end of this window's own opening: a late or forged message never makes the
  // window wait for an opening still under way.
  if (m_link && m_link->opened && m_opening.joinable()) {
    m_opening.join();
    const SendOutcome opened = m_link->openOutcome;
    if (opened == SEND_DONE) {
      const HWND window = m_hWnd;
      m_line = std::make_unique<CJogLine>(m_link->session,
                                          [window](SendOutcome) { PostMessageA(window, WM_JOGFAILED, 0, 0); });
      CJogLine* line = m_line.get();
      m_jog = std::make_unique<CJogSession>(DialectOfProtocol(ModelTable[*m_choices.model].ProtocolNumber),
                                            [line](const std::string& part) { return line->Queue(part); });
      OnOpened();
    } else {
      m_link.reset();
      SetItemText(IDC_REG_STATUS, SendOutcomeText(opened == SEND_UNKNOWN_CUTTER ? opened : SEND_OPEN_FAILED));
    }
  }
  result = 0;
  return true;
}

void CRegistrationDlg::OnOpened() {
  if (!Sent(m_jog->Start(OffsetsOf(m_choices).tool))) return;
  EnableJog(true);
  SetItemText(IDC_REG_STATUS, Prompt());
}

bool CRegistrationDlg::OnButtonClicked(int id) {
  switch (id) {
    case IDC_JOG_UP:
    case IDC_JOG_DOWN:
    case IDC_JOG_RIGHT:
    case IDC_JOG_LEFT: OnArrow(id); return true;
    case IDC_GO_TO_MARK: OnGoToMark(); return true;
    case IDC_SET_MARK: OnSet(); return true;
    case IDC_LASER_OFFSET: OnLaserOffset(); return true;
    case IDOK: OnOK(); return true;
    case IDCANCEL:
      EndJog();
      EndDialog(IDCANCEL);
      return true;
    default: return false;
  }
}

void CRegistrationDlg::OnArrow(int id) {
  if (!m_jog) return;
  for (int step = 0; step < JOG_STEP_COUNT; ++step)
    if (Control<CButton>(STEP_BUTTONS[step]).GetCheck()) m_jog->SetStep(step);
  for (const ArrowKey& arrow : ARROW_KEYS)
    if (arrow.button == id) Sent(m_jog->Arrow(arrow.arrow));
}

void CRegistrationDlg::OnGoToMark() {
  IntPoint head = {0, 0};
  if (!m_jog || m_bCalibrating) return;
  if (!m_marks.HeadForMark(ChosenMark(), head)) {
    SetItemText(IDC_REG_STATUS, "Set a mark first: where the others lie is predicted from it.");
    return;
  }
  Sent(m_jog->MoveTo(head));
}

void CRegistrationDlg::OnSet() {
  if (!m_jog) return;
  if (m_bCalibrating) {
    SetLaserOffset();
    return;
  }
  const CListBox list = Control<CListBox>(IDC_MARK_LIST);
  const int row = list.GetCurSel();
  if (!m_marks.Set(*m_jog, ChosenMark())) return;
  ShowMarks();
  // The next mark is the one measured next, as a rule.
  list.SetCurSel(row + 1 < static_cast<int>(m_numbers.size()) ? row + 1 : row);
}

void CRegistrationDlg::OnLaserOffset() {
  if (!m_jog || m_bCalibrating) return;
  const JobFormat format = JobFormatOf(ModelTable[*m_choices.model].ProtocolNumber);
  int noFolder = 0;
  const std::string drawing = JobFilePathIn(TemporaryFolder(noFolder), "plotgate-cross.plt");
  std::string cross;
  const JobFailure failed = drawing.empty() ? JobFailure{JOB_CANNOT_CREATE, noFolder}
                                            : LaserCrossJob(drawing, format, OffsetsOf(m_choices), cross);
  if (failed.result != JOB_DONE) {
    SetItemText(IDC_REG_STATUS, std::string("Cannot make the cross's job: ") + JobResultText(failed.result));
    return;
  }
  // The jog's header is sent already: a second one would reset a cheap cutter.
  cross.erase(0, HeaderLength(cross.data(), cross.size(), StringsFor(format.dialect)));
  if (!Sent(m_jog->SendCommands(cross, LaserCrossJobEnd())) ||
      !Sent(m_jog->MoveTo(IntPoint{LASER_CROSS_AT, LASER_CROSS_AT})))
    return;
  m_bCalibrating = true;
  EnableItems({IDC_GO_TO_MARK, IDC_LASER_OFFSET}, false);
  SetItemText(IDC_REG_STATUS,
              "The knife cut a 10 mm cross at 20, 20 mm. Jog the laser dot onto its centre and press Set.");
}

void CRegistrationDlg::SetLaserOffset() {
  const int model = *m_choices.model;
  IntPoint offset = {0, 0};
  if (!LaserOffsetFromCross(m_jog->Head(), offset)) {
    SetItemText(IDC_REG_STATUS,
                "The laser dot would lie more than 100 mm from the knife: was it on the cross's centre? Nothing "
                "was saved.");
    return;
  }
  try {
    const CSettingsLock lock(m_settings.IniPath);
    WriteLaserOffset(m_settings, model, offset);
  } catch (const CFileException& error) {
    SetItemText(IDC_REG_STATUS, std::string("Cannot save the laser offset: ") + error.what());
    return;
  }
  m_marks.SetLaserOffset(offset);
  m_bCalibrating = false;
  EnableJog(true);
  SetDlgItemTextA(
      m_hWnd, IDC_REG_STATUS,
      (std::string("Laser offset of ") + ModelTable[model].name + ": " + PlaceText(offset) + ", saved. " + Prompt())
          .c_str());
}

void CRegistrationDlg::OnOK() {
  PlacementFit fit;
  const std::string refusal = PlaceJob(m_job, m_marks.Measured(), fit);
  if (!refusal.empty()) {
    ShowMessage("The sheet cannot be placed: " + refusal + ".", m_sProgramName, MB_OK | MB_ICONWARNING);
    return;
  }
  EndJog();
  EndDialog(IDOK);
}

void CRegistrationDlg::EndJog() {
  // A cross whose centre was never set ends the job too: the cutter lifts its knife.
  if (m_jog) m_jog->End();
  m_jog.reset();
  m_line.reset();                                // the parts out, or stopped after a grace
  if (m_opening.joinable()) m_opening.detach();  // it holds its own share of the link
  m_link.reset();
}

bool CRegistrationDlg::Sent(SendOutcome sent) {
  if (sent == SEND_DONE) return true;
  m_jog.reset();
  m_line.reset();
  m_link.reset();
  m_bCalibrating = false;
  EnableJog(false);
  SetItemText(IDC_REG_STATUS, std::string("The cutter stopped taking the moves: ") + SendOutcomeText(sent));
  return false;
}

void CRegistrationDlg::ShowMarks() {
  const CListBox list = Control<CListBox>(IDC_MARK_LIST);
  const int row = list.GetCurSel();
  list.ResetContent();
  for (int number : m_numbers) list.AddString(m_marks.MarkText(number));
  list.SetCurSel(row);
  const std::vector<MeasuredMark> measured = m_marks.Measured();
  PlacementFit fit;
  std::string line = PlacementExcluded(m_job);
  if (line.empty()) line = MissingMarksProblem(measured);
  if (line.empty()) line = FitPlacement(measured, fit);
  if (line.empty()) line = PlacementResultLine(fit);
  SetItemText(IDC_REG_RESULT, line);
}

void CRegistrationDlg::EnableJog(bool enabled) {
  EnableItems({IDC_JOG_UP, IDC_JOG_DOWN, IDC_JOG_RIGHT, IDC_JOG_LEFT, IDC_GO_TO_MARK, IDC_SET_MARK, IDC_LASER_OFFSET},
              enabled);
}

int CRegistrationDlg::ChosenMark() const {
  const int row = Control<CListBox>(IDC_MARK_LIST).GetCurSel();
  return row >= 0 && row < static_cast<int>(m_numbers.size()) ? m_numbers[static_cast<size_t>(row)] : 0;
}

std::string CRegistrationDlg::Prompt() const {
  const IntPoint offset = m_marks.LaserOffset();
  return std::string("Jog the ") + (offset.x || offset.y ? "laser dot" : "knife tip") +
         " onto the mark chosen in the list and press Set; Go to mark sends the head where the marks set so far put "
         "it.";
}
