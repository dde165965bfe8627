// The loaded job with the user's mirror and rotation choices: one holder shared by the
// dialog and the command-line front end.
#pragma once

#include <string>

#include "ExchangeReader.h"
#include "JobModel.h"
#include "JobResult.h"

// MirrorState values double as the Mirror button's bitmap ids.
const int MIRROR_NORMAL = 139;
const int MIRROR_MIRRORED = 140;
// RotateState values double as the Rotate button's bitmap ids.
const int ROTATE_0 = 141;
const int ROTATE_90 = 142;
const int ROTATE_180 = 143;
const int ROTATE_270 = 144;

class CPlotJob {
 public:
  CPlotJob() = default;
  CPlotJob(const CPlotJob&) = delete;
  CPlotJob& operator=(const CPlotJob&) = delete;
  ~CPlotJob();

  // Reads the exchange file, flattens it and moves it to the origin. Returns 1 in every
  // case; a null path changes nothing, an unreadable file leaves both lists null. Why a
  // job could not be loaded is kept in m_loadResult and m_nLoadError.
  int LoadJob(const char* path);

  // True when both lists exist: what enables Send, Mirror and Rotate.
  bool HasJob() const { return m_pCommands && m_pPoints; }

  // The Mirror button: toggles MirrorState and mirrors the current points (rotation
  // included) about the vertical axis. The points change only when there is a job.
  void Mirror();
  // A Rotate menu choice: RotateState becomes `quarterTurns` clockwise quarter turns (0 to
  // 3; others are taken modulo 4) and the points are rebuilt from the commands, mirrored
  // first when MirrorState is MIRROR_MIRRORED, then turned. The points change only when
  // there is a job. JOB_DONE, or why the points could not be rebuilt (JOB_NO_MEMORY,
  // JOB_TOO_LARGE): then the job is gone (HasJob is false) and the caller says so.
  JobResult RotateTo(int quarterTurns);
  // The clockwise quarter turns RotateState stands for, 0 to 3.
  int QuarterTurns() const { return RotateState - ROTATE_0; }

  // Mirror and RotateTo leave the job at the origin with m_bounds current.

  // Width (x extent) and height (y extent) in millimetres, as the size fields show them.
  std::string WidthText() const;
  std::string HeightText() const;

  CommandList m_pCommands = nullptr;
  PointList m_pPoints = nullptr;
  JobBounds m_bounds = {0, 0, 0, 0};
  int MirrorState = MIRROR_NORMAL;
  int RotateState = ROTATE_0;
  // How the last LoadJob ended; anything but JOB_DONE leaves no job (both lists null).
  JobResult m_loadResult = JOB_DONE;
  // The error number of the open or read that failed the last LoadJob (JOB_CANNOT_OPEN,
  // JOB_READ_FAILED); 0 otherwise.
  int m_nLoadError = 0;
  // What the last LoadJob's reader met that the job may not show as the drawing meant it.
  ExchangeReport m_readReport;

 private:
  void Apply(const JobTransform& transform);
  void MoveToOrigin();
};
