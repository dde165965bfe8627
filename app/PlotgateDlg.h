// The program's one working window: the job's preview and size, the blade-offset and
// over-cut options, the cutter model and port, the progress bar and the buttons Send,
// Cancel, Mirror, Rotate and About (dialog template 102).
//
// Start-up restores the remembered choices and loads the job named on the command line;
// Send, Mirror, Rotate, the option controls and both lists are usable only with a job.
// The dialog owns the job; the size texts, the spin step, the preview layout and the
// start-up restore are the core's, so the dialog only moves values between them and its
// controls.
#pragma once

#include <string>

#include "Controls.h"
#include "Dialog.h"
#include "ModelTable.h"
#include "PlotJob.h"

class CIniFile;

class CPlotgateDlg : public CDialog {
 public:
  // `settings` is the application's settings file; `fileName` the exchange file named on
  // the command line, "" for none.
  CPlotgateDlg(CIniFile& settings, std::string fileName);
  ~CPlotgateDlg() override;

  // Draws the job into the preview frame's device context `dc` (width x height pixels),
  // scaled to fit and centred, y up, in red on white; draws nothing without a job.
  // Releases `dc`. Returns 0.
  int DrawPreview(HDC dc, int width, int height);

  CutterModel SelectedModel = ModelTable[0];  // the model the next send uses
  std::string JobFilePath;                    // the job file a send writes: temp folder + "cutcorldata.hb"

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

 private:
  void OnSysCommand(WPARAM id, LPARAM param);
  void OnPaint();
  void OnAbout();
  void OnMirrorRotate(int id);
  void ApplyMirrorRotate(int quarterTurns, bool mirror);
  void ShowJobSize();
  void OnBladeOffsetCheck();
  void OnOverCutCheck();
  void OnSpin(int editId, const NMUPDOWN& change);
  void OnSelchangeDevice();
  void OnProview();
  // The send flow hooks in here (the Send button and the Enter key).
  void OnSend();
  // Selects the Port list entry `port`, appending one for a port the list does not hold
  // (a COM port above 30).
  void SelectPort(const std::string& port);
  void EnableForJob();

  CIniFile& m_settings;
  std::string m_fileName;
  CPlotJob m_job;
  HICON AppIcon;
  HFONT VersionFont = nullptr;
  HBITMAP RotateMenuBitmaps[4] = {};
  // The Mirror and Rotate buttons' pictures, indexed by MirrorState or RotateState less
  // MIRROR_NORMAL (the states are their bitmap ids).
  HBITMAP m_stateBitmaps[ROTATE_270 - MIRROR_NORMAL + 1] = {};

  CProgressBar m_progress;
  CSpinButton m_bladeOffsetSpin, m_overCutSpin;
  CButton m_chkBladeOffset, m_chkOverCut, m_mirror, m_rotate, m_send;
  CWindow m_height, m_width, m_bladeOffset, m_overCut, m_preview;
  CComboBox m_device, m_port;
};
