// A small loaded job for send-session tests, from an exchange file in a throw-away folder,
// and a look at the session's driver, which only tests take.
#pragma once

#include <string>

#include "TempDir.h"
#include "cutter/SendSession.h"
#include "pipeline/PlotJob.h"

class CSendSessionProbe {
 public:
  static CCutter* Cutter(const CSendSession& session) { return session.Cutter(); }
};

inline void LoadSquare(CPlotJob& job, const TempDir& dir) {
  job.LoadJob(dir.Write("square.plt", "IN;SP1;PU0,0;PD4000,0;PD4000,4000;PD0,4000;PD0,0;SP0;").c_str());
}
