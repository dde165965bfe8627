// The program's one working window: the job's preview and size, the material (its presets,
// force and speed), the blade-offset and over-cut options, the cut order (inner shapes
// first, less travel, a weed border and the passes), the media width and the panels, the
// cutter model and port, the progress bar and the buttons Send, Test cut, Cancel, Mirror,
// Rotate and About (dialog template 102).
//
// Start-up restores the remembered choices and loads the job named on the command line;
// Send, Mirror, Rotate, the option controls and both lists are usable only with a job.
//
// Send and Test cut go out through the send flow (SendFlow.h), which Cancel stops.
// While a send is under way nothing that changes the job can be used, so the preview
// shows what is cut. A mirror, rotation, cut order or panels the job cannot take are
// refused with the option's name and the reason; the job and the controls stay as they
// were. A job wider than the media it was given is not sent.
// The dialog owns the job; the size texts, the spin step, the preview layout and the
// start-up restore are the core's, so the dialog only moves values between them and its
// controls.
#pragma once

#include <string>

#include "app/CutterLink.h"
#include "app/MaterialControls.h"
#include "app/MediaControls.h"
#include "app/OptionControls.h"
#include "app/PreviewPainter.h"
#include "app/SendFlow.h"
#include "cutter/JogSession.h"
#include "cutter/ModelTable.h"
#include "pipeline/PlotJob.h"
#include "settings/Choices.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

class CIniFile;

class CPlotgateDlg : public CDialog {
 public:
  // `settings` is the application's settings file; `fileName` the exchange file named on
  // the command line, "" for none.
  CPlotgateDlg(CIniFile& settings, std::string fileName);
  ~CPlotgateDlg() override;

  // Draws the job into the preview frame's device context `dc` (width x height pixels),
  // scaled to fit and centred, y up, in red on white, with the edge of the media the job
  // was given dashed; draws nothing without a job. While the points, the media and the size
  // stay as they were, it copies the picture it drew last instead of drawing every line
  // again. Releases `dc`. Returns 0.
  int DrawPreview(HDC dc, int width, int height);

  CutterModel SelectedModel = ModelTable[0];  // the model the next send uses
  std::string JobFilePath;                    // the job file a send writes: temp folder + "cutcorldata.hb"
  std::string TestCutDrawingPath;             // the test cut's drawing: temp folder + "cutcorltestcut.plt"
  // How a send and the Registration window open their cutter. Tests put a port slow to
  // open here.
  CutterOpener OpenCutter = OpenSession;
  // Where the Registration window's jog goes: null for the cutter OpenCutter opens; a
  // test's record of the bytes otherwise.
  CJogSession::Sink JogSink;

 protected:
  // Start-up, in four steps: the controls, their fixed look and ranges, the remembered
  // choices (the defaults, after a message, when the settings file cannot be read), the job.
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnCommand(int id, int code) override;
  bool OnButtonClicked(int id) override;
  bool OnNotify(const NMHDR& header, LRESULT& result) override;
  void OnTimer(UINT_PTR id) override;

 private:
  void AttachControls();
  void SetUpControls();
  void RestoreChoices();
  // Loads the job named on the command line, if any, and enables the controls for it.
  void LoadCommandLineJob();
  void OnSysCommand(WPARAM id, LPARAM param);
  void OnPaint();
  void OnAbout();
  void OnMirrorRotate(int id);
  void ApplyMirrorRotate(int quarterTurns, bool mirror);
  void ShowJobSize();
  // The job's points changed: the size shown and the preview drawn anew.
  void ShowChangedJob();
  // Draws the preview again, and only it: the controls that change with it (a button's
  // image, the size fields, the enabled state) repaint themselves, the rest has not changed.
  void RedrawPreview();
  // Any cut order control changed: the job is ordered again, its size and preview shown;
  // an order the job cannot take puts the controls back to the last one it took.
  void OnCutOrderChange();
  // Shows the cut order of `choices` in its controls without ordering the job for each
  // change.
  void ShowCutOrder(const Choices& choices);
  // The media controls changed, or a send starts: their choices are taken into the job,
  // its size and preview shown. False when they were refused (and put back).
  bool OnMediaChange();
  // Says that the option `name` could not be applied, and why.
  void RefuseOption(const std::string& name, JobResult why);
  void OnSelchangeDevice();
  void OnProview();
  // "Marks...": the Registration window; on its OK the job holds the placement, which the
  // preview, the size and the controls then show.
  void OnMarks();
  // The Send button and the Enter key, or with `testCut` the Test cut button: takes an
  // edit of the media still being typed in, refuses a job wider than the media, then
  // starts the opening of the cutter for the job, or for the test cut (TestCut.h) in the
  // chosen material, after which the dialog stays open.
  void OnSend(bool testCut);
  // While a send is under way Send, the lists and everything that changes the job are
  // disabled; afterwards they are usable again as the job allows.
  void EnableForSend(bool sending);
  // Cancel, Esc and the close box: a running send is stopped and waited for first.
  void OnCancel();
  // The choices the controls show: model, port, the option controls, the cut order and the
  // media.
  Choices ChoicesFromControls() const;
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
  HIMAGELIST m_splitArrow = nullptr;  // the Rotate button's drop-down arrow
  HBITMAP m_stateBitmaps[ROTATE_270 - MIRROR_NORMAL + 1] = {};
  CPreviewPainter m_previewPainter;  // told to forget its picture whenever the points or the media change

  CProgressBar m_progress;
  CButton m_mirror, m_rotate;
  CWindow m_height, m_width, m_preview, m_status;
  COptionControls m_options;
  CMaterialControls m_material;
  CMediaControls m_media;  // its media width also draws the preview's media edge
  CComboBox m_device, m_port;

  Choices m_appliedOrder;           // the cut order the job is in, as the controls showed it
  bool m_bShowingCutOrder = false;  // the controls are being set: their changes order nothing
  // Stopped, and its worker waited for, before the controls and the job it uses go.
  CSendFlow m_send{*this, m_progress, m_status, m_settings, m_job, [this](bool sending) { EnableForSend(sending); }};
};
