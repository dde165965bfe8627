// The Registration window (dialog template 103): the printed sheet's marks measured by
// jogging the cutter's head onto each, and the placement they give taken by the job.
//
// The window opens the chosen cutter as Send does, on a thread of its own, so that a port
// slow to open leaves it answering and Cancel usable; the jog is one job on that port
// (CJogSession): the model's header once, carrying the tool's force and speed, a pen-up a
// press, the terminator when the window closes. The parts go out on a line of their own
// (CJogLine), so that a cutter holding the line back never stops the window; a part that
// fails ends the jog, told by WM_JOGFAILED. The arrow buttons and the keyboard's
// arrows move the head one step (10, 1 or 0.1 mm); "Go to mark" sends it to where the
// chosen mark should be from the marks set so far; "Set" (and Enter) takes the head's place
// (plus the laser pointer's offset, when the model has one) as the mark's and chooses the
// next; "Laser offset..." cuts
// the 10 mm cross at (20, 20) mm, and "Set" then keeps the offset of the dot on its centre
// for the model. The result line reads the placement the marks set so far give, or why
// they cannot place the sheet. OK places the job (PlaceJob) and closes; a refusal is
// shown and the window stays. Cancel places nothing and drops nothing the job held.
#pragma once

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/CutterLink.h"
#include "cutter/JogLine.h"
#include "cutter/JogSession.h"
#include "cutter/MarkJog.h"
#include "pipeline/PlotJob.h"
#include "settings/Choices.h"
#include "settings/IniFile.h"
#include "ui/Dialog.h"

// Posted to the Registration window when the thread that opens its cutter is done, and
// when a part of the jog failed; the window acts on each only while its own opening or
// its own line has said so.
const UINT WM_JOGOPENED = WM_USER + 0x402;
const UINT WM_JOGFAILED = WM_USER + 0x403;

class CRegistrationDlg : public CDialog {
 public:
  // Measures the marks of `job` on the cutter of `choices` (model, port and the tool's
  // choices), with the laser offsets kept in `settings`; OK places `job`.
  CRegistrationDlg(CPlotJob& job, CIniFile& settings, const Choices& choices);
  ~CRegistrationDlg() override;

  // How the cutter is opened: the session's Open unless a test says otherwise.
  CutterOpener OpenCutter = OpenSession;
  // Where the jog goes: null for the cutter OpenCutter opens; a test's record otherwise.
  CJogSession::Sink JogSink;

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnButtonClicked(int id) override;

 private:
  // The opening thread is done: the jog starts, or the window says why it cannot.
  void OnOpened();
  // Starts the jog on `sink`: the header and the pen-up to the origin.
  void StartJog(CJogSession::Sink sink);
  void OnArrow(int id);
  void OnGoToMark();
  void OnSet();
  void OnLaserOffset();
  // Keeps the offset of the dot on the cross's centre for the model.
  void SetLaserOffset();
  void OnOK();
  // Ends the jog with the terminator and lets the cutter go; an opening still under way
  // is left to end by itself.
  void EndJog();
  // False, after the window says so, when `sent` is no success: the jog is over then.
  bool Sent(SendOutcome sent);
  // The list of marks and the result line as the marks set so far stand.
  void ShowMarks();
  // The jog's controls usable while the jog runs.
  void EnableJog(bool enabled);
  // The number of the mark chosen in the list.
  int ChosenMark() const;
  // What the status line asks for next.
  std::string Prompt() const;

  CPlotJob& m_job;
  CIniFile& m_settings;
  Choices m_choices;
  std::vector<int> m_numbers;  // the drawing's marks, a list row each
  CMarkJog m_marks;
  std::shared_ptr<CutterLink> m_link;  // the cutter, while it is being opened or jogged
  std::thread m_opening;
  std::unique_ptr<CJogLine> m_line;    // the jog's parts to the cutter, while the jog runs
  std::unique_ptr<CJogSession> m_jog;  // while the jog runs
  bool m_bCalibrating = false;         // the cross is cut: Set keeps the laser offset
};
