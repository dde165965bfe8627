// The dialog's media controls: the "Media width" check box governing its edit, and the
// "Panels" check box governing the overlap and gap edits. They show and give the media
// choices (Choices.h) as one value, and take them into the job: a check box when it is
// clicked, an edit when it loses the focus (a number half typed is no choice yet), and any
// of them when a send starts.
//
// Panels are cut only on a media width: the Panels box is usable only while the media
// width is ticked, and unticking the width unticks it, so that what the dialog shows is
// what it cuts and saves.
#pragma once

#include <cstdint>

#include "pipeline/PlotJob.h"
#include "settings/ChoiceLimits.h"
#include "settings/Choices.h"
#include "ui/Controls.h"
#include "ui/Dialog.h"

// What taking the controls' media choices into the job came to.
enum MediaChange {
  MEDIA_UNCHANGED,  // the job already has them
  MEDIA_CHANGED,    // the job was cut again, or only the media's edge moved
  MEDIA_REFUSED,    // told in a message box; the controls are back to what the job has
};

class CMediaControls {
 public:
  // Whether the notification `code` of control `id` is one that Apply takes: a click of
  // either check box, or an edit losing the focus to another control of the dialog but
  // Cancel (not to another window, as the dialog closes or the user turns to another
  // program, which a refusal must not interrupt).
  bool Takes(int id, int code) const;
  // Takes the controls of `dialog` and disables them until a job is loaded.
  void SetUp(const CDialog& dialog);
  // Shows the media choices of complete `choices` (as Merged with DefaultChoices gives
  // them); the job has none of them yet, so that Apply takes them all.
  void Show(const Choices& choices);
  // Sets the media choices of `choices` to what the controls show.
  void Read(Choices& choices) const;
  // Enables the controls as the job allows (`job` false: none of them): each edit and the
  // Panels box only while the box that governs it is ticked.
  void EnableForJob(bool job);
  // Takes the choices the controls show into `job` (its panels, SetPanels) when they differ
  // from what it has. A text the command line would refuse, an overlap too large for the
  // width or panels the job cannot take are refused in a message box with the option's
  // label and the command line's words, and the controls are put back; the job is untouched.
  MediaChange Apply(CPlotJob& job);
  // The media width the job was last given, in plotter units; 0 for none.
  int32_t MediaWidth() const { return MediaWidthFrom(m_applied); }
  // False, after a message box with the command line's words, when `job` is wider across
  // the roll than the media it was given: a send must not drive the head off the media.
  bool Fits(const CPlotJob& job) const;

 private:
  // Shows the media choices of `choices` in the controls.
  void ShowChoices(const Choices& choices) const;
  // Why `job` cannot take `wanted`, or no refusal; the job has them when there is none.
  OptionRefusal Take(CPlotJob& job, const Choices& wanted) const;

  const CDialog* m_dialog = nullptr;
  CButton m_chkMediaWidth, m_chkPanels;
  CWindow m_mediaWidth, m_panelOverlap, m_panelGap;
  bool m_bJob = false;  // whether there is a job to take the choices
  Choices m_applied;    // the media choices the job has, as the controls showed them
};
