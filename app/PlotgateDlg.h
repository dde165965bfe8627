// The program's one working window: the job's preview and size, the material (its presets,
// force and speed), the blade-offset and over-cut options, the cut order (inner shapes
// first, less travel, a weed border and the passes), the media width and the panels, the
// cutter model and port, the progress bar and the buttons Send, Test cut, Cancel, Mirror,
// Rotate and About (dialog template 102).
//
// Start-up restores the remembered choices and loads the job named on the command line;
// Send, Mirror, Rotate, the option controls and both lists are usable only with a job.
//
// Send opens the cutter on a thread of its own, the status line saying which port it
// waits for, so that a port slow to open leaves the window answering and Cancel usable;
// then it saves the choices, writes the job file and streams it: on a serial port by a
// worker thread through the send session, for the maker's USB link by the separate
// program VornUSBSend.exe, which reports back with WM_COPYDATA; the dialog watches that
// process, and its Cancel stops it through a named event. The threads reach the dialog
// only by posted messages (WM_CUTTEROPENED; the bar's position, then WM_SENDFINISHED), so
// the dialog can always stop the worker and wait for it before anything is released.
// Test cut sends the test cut (TestCut.h) in the chosen material the same way, remembers
// nothing, and leaves the window open for the job's send.
// While a send is under way nothing that changes the job can be used, so the preview
// shows what is cut. A mirror, rotation, cut order or panels the job cannot take are
// refused with the option's name and the reason; the job and the controls stay as they
// were. A job wider than the media it was given is not sent.
// The dialog owns the job; the size texts, the spin step, the preview layout and the
// start-up restore are the core's, so the dialog only moves values between them and its
// controls.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "app/CutterLink.h"
#include "app/HeldFile.h"
#include "app/MaterialControls.h"
#include "app/MediaControls.h"
#include "app/OptionControls.h"
#include "app/PreviewPainter.h"
#include "app/UsbSender.h"
#include "cutter/JogSession.h"
#include "cutter/ModelTable.h"
#include "pipeline/PlotJob.h"
#include "settings/Choices.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

class CIniFile;

// Posted to the dialog when a send has ended; wParam is nonzero when the failure has been
// reported already (no "Send finished!" then). Any program can post it, so the dialog acts
// on it only when its own worker or its own USB send has ended, and takes the failure from
// what it recorded then.
const UINT WM_SENDFINISHED = WM_USER + 0x400;
// Posted to the dialog when the thread that opens the cutter is done; the dialog acts on
// it only while its own opening runs and that thread has said it is done.
const UINT WM_CUTTEROPENED = WM_USER + 0x401;
// Refreshes the percentage text every 500 ms during a send.
const UINT_PTR PROGRESS_TIMER_ID = 1;
const UINT PROGRESS_TIMER_PERIOD = 500;
// How long a cancelled send may take to finish its command and send the job's ending.
const int STOP_GRACE_MS = 500;
// The pause between the end of a send and the dialog's closing, as a one-shot timer so
// the window keeps answering.
const UINT_PTR FINISH_TIMER_ID = 2;
const UINT FINISH_PAUSE = 3000;

// Where the dialog's send stands. Reports from outside (WM_COPYDATA, WM_SENDFINISHED) are
// acted on only in the stage they belong to, and Send only when idle.
enum SendStage {
  STAGE_IDLE,       // no send: Send starts one
  STAGE_OPENING,    // a thread opens the cutter's port; Cancel leaves it behind
  STAGE_SERIAL,     // the worker streams to a COM port
  STAGE_USB,        // VornUSBSend.exe streams and reports by WM_COPYDATA
  STAGE_FINISHING,  // ended; the pause before FinishSend releases the driver
  STAGE_CLOSING,    // the end told: the dialog closes, and Send starts no other send
};

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

  // The serial worker: streams the job file through the session's driver and posts the
  // bar's position and, at the end, WM_SENDFINISHED. Returns 0.
  static unsigned SendThreadProc(CPlotgateDlg* dialog);

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
  // The opening thread is done: the send goes on, or ends with the reason.
  LRESULT OnCutterOpened();
  // What follows a successful opening: the choices saved, the job file written and held,
  // the stream or the USB sender started. False, after a message, when the send ends here.
  bool StartSend();
  // While a send is under way Send, the lists and everything that changes the job are
  // disabled; afterwards they are usable again as the job allows.
  void EnableForSend(bool sending);
  LRESULT OnSendFinished(WPARAM failed, LPARAM);
  // The end of a send, once the pause is over: controls restored, driver released, the
  // result told, the dialog closed.
  void FinishSend();
  // Cancel, Esc and the close box: a running send is stopped and waited for first.
  void OnCancel();
  // Stops the worker of a serial send, if one runs, and waits for it to end; an opening
  // thread is left to end by itself.
  void StopWorker();
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

  Choices m_appliedOrder;                   // the cut order the job is in, as the controls showed it
  bool m_bShowingCutOrder = false;          // the controls are being set: their changes order nothing
  std::shared_ptr<CutterLink> m_link;       // the current or last send's session; null when released
  std::thread SendThread;                   // the thread that opens the cutter, then the serial worker
  std::atomic<bool> m_bStreamEnded{false};  // set by the worker when Stream has returned
  SendOutcome m_streamOutcome = SEND_DONE;  // written by the worker before it posts the end
  SendStage m_stage = STAGE_IDLE;
  bool m_bTestCut = false;                                     // the current or last send is the test cut's
  CUsbSender m_usbSender{*this, m_progress, WM_SENDFINISHED};  // watched by the progress timer
  bool m_bFailed = false;                                      // the ended send's failure flag, for FinishSend
  CHeldFile m_jobFile;                                         // the job file, held from its writing to the send's end
};
