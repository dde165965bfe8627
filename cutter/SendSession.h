// One send of a job to a cutter, as both front ends do it: the driver for the model's
// protocol created and opened on the chosen port, the job file written in the driver's
// dialect, the file streamed through the driver with progress and cancel, and the driver
// disposed of by the owner protocol (Close when IsOpen, then delete). The caller does what
// lies between and around the steps: it saves the settings after Open and before
// WriteJobFile, starts the stream on a thread of its choice (or hands the file to the USB
// sender for mode 0), and turns each SendOutcome into its own message.
//
//   CSendSession session;
//   if (session.Open(ModelTable[model], "COM3", usbSerialPort) != SEND_DONE) ...;
//   SaveSettings();
//   if (session.WriteJobFile(job, jobFilePath, options) != SEND_DONE) ...;
//   SendOutcome outcome = session.Stream([](int percent) { ... });  // any thread
//
// A stopped send goes on from the path it stopped in with Stream(progress, path); other
// bytes for the cutter (a frame of the job) go out through StreamBytes under the same stop
// and ending rules.
//
// Threads: Open, WriteJobFile, Stream and disposal run one at a time, each on any thread,
// handed on with the end of the thread before (joined, or its last write seen through an
// atomic flag): the dialog opens on a thread of its own, so that a port slow to open
// leaves its window answering, and streams on another. Cancel may be called from any
// thread while Stream runs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "cutter/Cutter.h"
#include "cutter/ModelTable.h"
#include "cutter/PortSettings.h"
#include "cutter/RS232.h"
#include "cutter/SendOutcome.h"
#include "pipeline/JobFileWriter.h"

class CPlotJob;

// How long the job's ending after a cancel or a failed write may take to go out: a line
// that takes it no faster is stuck, and what is left of the ending is dropped, so a cancel
// never hangs on it.
const int ENDING_WRITE_MS = 500;

class CSendSession {
 public:
  CSendSession() = default;
  CSendSession(const CSendSession&) = delete;
  CSendSession& operator=(const CSendSession&) = delete;
  // Disposes of the driver.
  ~CSendSession() { Dispose(); }

  // Disposes of the driver of an earlier send, creates the one for `model`'s protocol, works
  // out the port settings from `portText` ("COM3", "VORN_USB", or a device path on Linux)
  // and `usbSerialPort` (the port found under the USB-serial prefix, "" when none), and
  // opens the driver with them. SEND_DONE, SEND_UNKNOWN_CUTTER (no driver) or
  // SEND_OPEN_FAILED (the driver is kept, not open, until the next Open or disposal).
  SendOutcome Open(const CutterModel& model, const std::string& portText, const std::string& usbSerialPort);
  // The same with the driver given instead of made for the model's protocol (a test's
  // recording driver); a null driver gives SEND_UNKNOWN_CUTTER.
  SendOutcome Open(std::unique_ptr<CCutter> cutter, const CutterModel& model, const std::string& portText,
                   const std::string& usbSerialPort);

  // Writes `job` to `path` in the JobFormat of the opened driver's protocol, through the
  // offset filter when `options` tick it; Stream sends that file. SEND_DONE or SEND_JOB_FILE_FAILED (also
  // when there is no driver); `why`, when given, receives the pipeline's reason with the
  // system's error number.
  SendOutcome WriteJobFile(CPlotJob& job, const std::string& path, const OffsetOptions& options,
                           JobFailure* why = nullptr);

  // Streams the job file through the driver in the pieces of its transfer mode, calling
  // `progress` on the streaming thread with the percentage after every piece. SEND_DONE,
  // SEND_JOB_FILE_UNREADABLE, SEND_WRITE_FAILED or SEND_CANCELLED. A cancelled or failed
  // stream does not leave the blade down in the middle of a path: the command the cutter
  // has part of is completed, then the job's own ending (its last pen-up and the dialect's
  // terminator) is sent without waiting for the cutter, within ENDING_WRITE_MS.
  //
  // With `fromPath` above 1 the stream goes on with a stopped job instead: the job file's
  // opening, then the file from the pen-up of its path `fromPath` (counted as ReadJobPaths
  // counts them; a number beyond the last path counts as the last) to its end, so that
  // the paths before it are not cut again. The file itself is left as it is.
  SendOutcome Stream(const std::function<void(int percent)>& progress, int fromPath = 1);
  // Streams `bytes`, commands in the opened driver's JobFormat that end as a job file
  // does, as Stream streams the job file, with the same outcomes and the same rules when
  // it stops early. A job may also go out in parts (a jog's header, moves and terminator):
  // a part stopped early gets the rest of the command in flight, and its own ending only
  // when it holds the terminator.
  SendOutcome StreamBytes(const std::string& bytes, const std::function<void(int percent)>& progress);

  // Makes a running Stream stop before its next piece, or inside a wait for the cutter, and
  // give SEND_CANCELLED after it has sent the job's ending; a Stream started later gives
  // it at once.
  void Cancel();
  // Cancel, and also end a write the line holds back and drop what the port holds unsent:
  // for a Stream that Cancel has not stopped in time (a cutter that holds the line back).
  void Abort();

  // The bytes of the job file that the last Stream sent (the ending sent after a cancel or
  // a failed write not counted) and the file's size. While Stream runs, its progress
  // callback (on the streaming thread) reads the bytes sent so far and the size here.
  uint64_t BytesSent() const { return m_nBytesSent; }
  uint64_t JobSize() const { return m_nJobSize; }
  // Whether the last Stream, cancelled or failed, got the job's ending to the cutter.
  bool JobEnded() const { return m_bJobEnded; }
  // The paths of the whole job file the last Stream read (0 before one, or for a file
  // that cuts nothing), and the one it stopped in, counted in the whole job also when the
  // stream began at a later path (see PathAt).
  int PathCount() const { return m_nPathCount; }
  int StoppedPath() const { return m_nStoppedPath; }

  // Closes the driver if it is open and deletes it; nothing happens when there is none.
  void Dispose();

  // The serial port of the current or last send's driver, for a look at the line (its
  // settings, its modem lines, a bounded write); null when there is no driver or its link
  // is not a serial port.
  CRS232* SerialPort() const;
  // The transfer mode, port number and baud rate the last Open used.
  const PortSettings& Settings() const { return m_settings; }
  // Why Open or Stream failed: the system's error number that the port kept from the call
  // that failed (text by SystemErrorText); 0 when no system call failed.
  int SystemError() const { return m_pCutter ? m_pCutter->LastError() : 0; }

 private:
  // Tests look at the driver itself.
  friend class CSendSessionProbe;
  // The driver of the current or last send, or null.
  CCutter* Cutter() const { return m_pCutter.get(); }
  // Clears what the last Stream counted, before the next one counts.
  void ResetCounts();
  // Streams `size` bytes at `data` through the driver under the stop and ending rules.
  SendOutcome StreamData(const char* data, uint64_t size, const std::function<void(int percent)>& progress);

  std::unique_ptr<CCutter> m_pCutter;
  PortSettings m_settings{MODE_SERIAL, 0, 38400, ""};
  JobFormat m_format{0, false};  // of the last Open's protocol
  std::string m_sJobFile;
  uint64_t m_nBytesSent = 0;
  uint64_t m_nJobSize = 0;
  bool m_bJobEnded = false;
  int m_nPathCount = 0;
  int m_nStoppedPath = 0;
};
