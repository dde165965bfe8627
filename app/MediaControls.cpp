#include "app/MediaControls.h"

#include "pipeline/Panels.h"
#include "resources/resource.h"

namespace {

// Whether `a` and `b` hold the same media choices.
bool SameMedia(const Choices& a, const Choices& b) {
  return a.mediaWidth == b.mediaWidth && a.mediaWidthText == b.mediaWidthText && a.panels == b.panels &&
         a.panelOverlapText == b.panelOverlapText && a.panelGapText == b.panelGapText;
}

}  // namespace

bool CMediaControls::Takes(int id, int code) const {
  if (code == BN_CLICKED) return id == IDC_CHK_MEDIA_WIDTH || id == IDC_CHK_PANELS;
  // The focus has moved on already when the edit says it lost it.
  const HWND to = GetFocus();
  return code == EN_KILLFOCUS && (id == IDC_MEDIA_WIDTH || id == IDC_PANEL_OVERLAP || id == IDC_PANEL_GAP) &&
         IsChild(m_dialog->m_hWnd, to) && to != m_dialog->Item(IDCANCEL);
}

void CMediaControls::SetUp(const CDialog& dialog) {
  m_dialog = &dialog;
  m_chkMediaWidth = dialog.Control<CButton>(IDC_CHK_MEDIA_WIDTH);
  m_chkPanels = dialog.Control<CButton>(IDC_CHK_PANELS);
  m_mediaWidth = dialog.Control<CWindow>(IDC_MEDIA_WIDTH);
  m_panelOverlap = dialog.Control<CWindow>(IDC_PANEL_OVERLAP);
  m_panelGap = dialog.Control<CWindow>(IDC_PANEL_GAP);
  EnableForJob(false);
}

void CMediaControls::Show(const Choices& choices) {
  ShowChoices(choices);
  Read(m_applied);
  m_applied.mediaWidth = false;
  m_applied.panels = false;
}

void CMediaControls::ShowChoices(const Choices& choices) const {
  const bool width = choices.mediaWidth.value_or(false);
  m_chkMediaWidth.SetCheck(width);
  m_chkPanels.SetCheck(width && choices.panels.value_or(false));
  m_mediaWidth.SetText(choices.mediaWidthText.value_or(""));
  m_panelOverlap.SetText(choices.panelOverlapText.value_or(""));
  m_panelGap.SetText(choices.panelGapText.value_or(""));
}

void CMediaControls::Read(Choices& choices) const {
  choices.mediaWidth = m_chkMediaWidth.GetCheck();
  choices.mediaWidthText = m_mediaWidth.GetText();
  choices.panels = m_chkMediaWidth.GetCheck() && m_chkPanels.GetCheck();
  choices.panelOverlapText = m_panelOverlap.GetText();
  choices.panelGapText = m_panelGap.GetText();
}

void CMediaControls::EnableForJob(bool job) {
  m_bJob = job;
  const bool width = job && m_chkMediaWidth.GetCheck();
  m_chkMediaWidth.Enable(job);
  m_mediaWidth.Enable(width);
  m_chkPanels.Enable(width);
  m_panelOverlap.Enable(width && m_chkPanels.GetCheck());
  m_panelGap.Enable(width && m_chkPanels.GetCheck());
}

MediaChange CMediaControls::Apply(CPlotJob& job) {
  if (!m_chkMediaWidth.GetCheck()) m_chkPanels.SetCheck(false);
  EnableForJob(m_bJob);
  Choices wanted;
  Read(wanted);
  if (!job.HasJob() || SameMedia(wanted, m_applied)) return MEDIA_UNCHANGED;
  const OptionRefusal refused = Take(job, wanted);
  if (refused.label.empty()) {
    m_applied = wanted;
    return MEDIA_CHANGED;
  }
  // Put back before the message: the box takes the focus from an edit, whose leaving
  // must then find nothing new to take.
  ShowChoices(m_applied);
  EnableForJob(m_bJob);
  m_dialog->ShowMessage(NotAppliedText(refused), m_dialog->m_sProgramName, MB_OK | MB_ICONWARNING);
  return MEDIA_REFUSED;
}

OptionRefusal CMediaControls::Take(CPlotJob& job, const Choices& wanted) const {
  const OptionRefusal refused = RefusedOption(wanted);
  if (!refused.label.empty()) return refused;
  const PanelLayout layout = PanelsFrom(wanted);
  const JobResult panelled = job.SetPanels(layout);
  if (panelled == JOB_TOO_MANY_PANELS) return OptionRefusal{"Panels", PanelCountProblem(job.PlanPanelsFor(layout))};
  if (panelled != JOB_DONE) return OptionRefusal{"Panels", JobResultText(panelled)};
  return OptionRefusal();
}

bool CMediaControls::Fits(const CPlotJob& job) const {
  const std::string problem = MediaWidthProblem(job.m_bounds, MediaWidth());
  if (!problem.empty()) m_dialog->ShowMessage(problem, m_dialog->m_sProgramName, MB_OK | MB_ICONWARNING);
  return problem.empty();
}
