// The send session's steps that need no cutter on the line: which driver it makes, what a
// failed open, an unwritable or missing job file give, and disposal.
#include <gtest/gtest.h>

#include "SessionJob.h"
#include "TempDir.h"
#include "cutter/ModelTable.h"
#include "cutter/SendSession.h"
#include "cutter/SeriesCutters.h"

namespace {

TEST(SendSession, OpensTheModelsDriverWithItsPortSettings) {
  CSendSession session;
  // "Lark-Series": the USB link, no port touched, and a driver that never counts as open.
  EXPECT_EQ(session.Open(ModelTable[0], "VORN_USB", ""), SEND_DONE);
  ASSERT_NE(dynamic_cast<CLarkSeriesCutter*>(CSendSessionProbe::Cutter(session)), nullptr);
  EXPECT_EQ(session.Settings().mode, MODE_VENDOR_USB);
  EXPECT_EQ(CSendSessionProbe::Cutter(session)->IsOpen(), 0);
  // "Heron(V8.8 or before)": protocol 2 at 9600 baud on the chosen COM port.
  EXPECT_EQ(session.Open(ModelTable[2], "COM0", ""), SEND_OPEN_FAILED);
  EXPECT_NE(dynamic_cast<CGannetSeriesCutter*>(CSendSessionProbe::Cutter(session)), nullptr);
  EXPECT_EQ(session.Settings().mode, MODE_SERIAL);
  EXPECT_EQ(session.Settings().baudRate, 9600);
  EXPECT_EQ(CSendSessionProbe::Cutter(session)->m_nBaudRate, 9600);
}

TEST(SendSession, AnUnknownProtocolGivesNoDriver) {
  CSendSession session;
  const CutterModel unknown = {"Albatross", 5};
  EXPECT_EQ(session.Open(unknown, "COM1", ""), SEND_UNKNOWN_CUTTER);
  EXPECT_EQ(CSendSessionProbe::Cutter(session), nullptr);
  EXPECT_EQ(session.SystemError(), 0);
}

TEST(SendSession, AFailedOpenKeepsTheDriverAndTheReason) {
  CSendSession session;
  // COM0 is out of range: refused before any system call.
  EXPECT_EQ(session.Open(ModelTable[5], "COM0", ""), SEND_OPEN_FAILED);
  ASSERT_NE(CSendSessionProbe::Cutter(session), nullptr);
  EXPECT_EQ(CSendSessionProbe::Cutter(session)->IsOpen(), 0);
  EXPECT_EQ(session.SystemError(), 0);
  // A port that is not there: the system says why.
  EXPECT_EQ(session.Open(ModelTable[5], "COM250", ""), SEND_OPEN_FAILED);
  EXPECT_NE(session.SystemError(), 0);
  EXPECT_EQ(session.Settings().port, 250);
}

TEST(SendSession, JobFileFailures) {
  TempDir dir;
  CPlotJob job;
  LoadSquare(job, dir);
  ASSERT_TRUE(job.HasJob());
  CSendSession session;
  // No driver yet: nothing says which dialect to write.
  EXPECT_EQ(session.WriteJobFile(job, (dir.Path() / "cutcorldata.hb").string(), {}), SEND_JOB_FILE_FAILED);
  session.Open(ModelTable[0], "VORN_USB", "");
  EXPECT_EQ(session.WriteJobFile(job, (dir.Path() / "no-folder" / "cutcorldata.hb").string(), {}),
            SEND_JOB_FILE_FAILED);
  EXPECT_EQ(session.Stream([](int) { ADD_FAILURE() << "no progress without a job file"; }), SEND_JOB_FILE_UNREADABLE);
  // Written in the driver's dialect: HPGL for "Lark-Series".
  const std::string path = (dir.Path() / "cutcorldata.hb").string();
  EXPECT_EQ(session.WriteJobFile(job, path, {}), SEND_DONE);
  EXPECT_EQ(TempDir::Read(path).substr(0, 3), "IN;");
}

TEST(SendSession, DisposingIsSafeAtAnyPoint) {
  CSendSession session;
  session.Dispose();
  session.Cancel();  // nothing to cancel
  session.Open(ModelTable[5], "COM0", "");
  session.Dispose();
  EXPECT_EQ(CSendSessionProbe::Cutter(session), nullptr);
  EXPECT_EQ(session.SystemError(), 0);
}

}  // namespace
