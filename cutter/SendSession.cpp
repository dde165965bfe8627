#include "cutter/SendSession.h"

#include "cutter/JobStream.h"
#include "cutter/MappedFile.h"
#include "cutter/SerialCutter.h"
#include "cutter/SeriesCutters.h"
#include "pipeline/JobPaths.h"

SendOutcome CSendSession::Open(const CutterModel& model, const std::string& portText,
                               const std::string& usbSerialPort) {
  return Open(std::unique_ptr<CCutter>(CreateCutter(model.ProtocolNumber)), model, portText, usbSerialPort);
}

SendOutcome CSendSession::Open(std::unique_ptr<CCutter> cutter, const CutterModel& model, const std::string& portText,
                               const std::string& usbSerialPort) {
  Dispose();
  m_pCutter = std::move(cutter);
  if (!m_pCutter) return SEND_UNKNOWN_CUTTER;
  m_format = JobFormatOf(model.ProtocolNumber);
  m_settings = GetPortSettings(model.ProtocolNumber, portText, usbSerialPort);
  m_pCutter->m_sDevice = m_settings.device;
  // Any nonzero result counts as ready, as the send flow has always taken it.
  return m_pCutter->Open(m_settings.mode, m_settings.port, m_settings.baudRate) ? SEND_DONE : SEND_OPEN_FAILED;
}

SendOutcome CSendSession::WriteJobFile(CPlotJob& job, const std::string& path, const OffsetOptions& options,
                                       JobFailure* why) {
  m_sJobFile = path;
  if (!m_pCutter) return SEND_JOB_FILE_FAILED;
  return ::WriteJobFile(job, path.c_str(), m_format, options, why) ? SEND_DONE : SEND_JOB_FILE_FAILED;
}

SendOutcome CSendSession::Stream(const std::function<void(int percent)>& progress, int fromPath) {
  ResetCounts();
  CMappedFile file;
  if (!m_pCutter || !file.Open(m_sJobFile)) return SEND_JOB_FILE_UNREADABLE;
  const JobPaths whole = ReadJobPaths(file.Data(), file.Size(), m_format.dialect);
  m_nPathCount = static_cast<int>(whole.starts.size());
  const int first = std::min(fromPath, m_nPathCount);
  if (first <= 1) {
    const SendOutcome outcome = StreamData(file.Data(), file.Size(), progress);
    m_nStoppedPath = PathAt(whole, m_nBytesSent);
    return outcome;
  }
  const std::string kept = JobFromPath(file.Data(), file.Size(), whole, first);
  const SendOutcome outcome = StreamData(kept.data(), kept.size(), progress);
  m_nStoppedPath = first - 1 + PathAt(ReadJobPaths(kept.data(), kept.size(), m_format.dialect), m_nBytesSent);
  return outcome;
}

SendOutcome CSendSession::StreamBytes(const std::string& bytes, const std::function<void(int percent)>& progress) {
  ResetCounts();
  if (!m_pCutter) return SEND_JOB_FILE_UNREADABLE;
  return StreamData(bytes.data(), bytes.size(), progress);
}

void CSendSession::ResetCounts() {
  m_nBytesSent = 0;
  m_nJobSize = 0;
  m_bJobEnded = false;
  m_nPathCount = 0;
  m_nStoppedPath = 0;
}

SendOutcome CSendSession::StreamData(const char* data, uint64_t size,
                                     const std::function<void(int percent)>& progress) {
  m_nJobSize = size;
  const SendOutcome outcome = StreamJob(data, size, m_settings.mode, *m_pCutter, progress, &m_nBytesSent);
  // A stream stopped before its first piece has left the cutter as it was.
  if ((outcome != SEND_CANCELLED && outcome != SEND_WRITE_FAILED) || m_nBytesSent == 0) return outcome;
  // The stream stopped between two pieces, or inside one that the line held back: the
  // command the cutter has part of is completed and the job's ending lifts the pen and ends
  // the job. Neither waits for the cutter, as the wait is what a cancel ends, and a line
  // that takes them no faster than ENDING_WRITE_MS is stuck: the rest is dropped then, also
  // from the port, so that closing it does not wait for a line that takes nothing.
  uint64_t commandEnd = 0;
  const std::string rest = JobStopBytes(data, size, m_nBytesSent, m_format.dialect, commandEnd);
  m_bJobEnded = m_pCutter->WriteWithin(rest.data(), static_cast<int>(rest.size()), ENDING_WRITE_MS) ==
                static_cast<int>(rest.size());
  if (m_bJobEnded) {
    m_nBytesSent = commandEnd;
  } else {
    m_pCutter->AbortOutput();
  }
  return outcome;
}

void CSendSession::Cancel() {
  if (m_pCutter) m_pCutter->Cancel();
}

void CSendSession::Abort() {
  if (!m_pCutter) return;
  m_pCutter->Cancel();
  m_pCutter->AbortOutput();
}

CRS232* CSendSession::SerialPort() const {
  CSerialCutter* serial = dynamic_cast<CSerialCutter*>(m_pCutter.get());
  return serial ? &serial->m_rs232 : nullptr;
}

void CSendSession::Dispose() {
  if (m_pCutter && m_pCutter->IsOpen()) m_pCutter->Close();
  m_pCutter.reset();
}
