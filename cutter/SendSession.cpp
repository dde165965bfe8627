#include "SendSession.h"

#include "JobStream.h"
#include "MappedFile.h"

SendOutcome CSendSession::Open(const CutterModel& model, const std::string& portText,
                               const std::string& usbSerialPort) {
  Dispose();
  m_pCutter.reset(CreateCutter(model.ProtocolNumber));
  if (!m_pCutter) return SEND_UNKNOWN_CUTTER;
  m_settings = GetPortSettings(model.ProtocolNumber, portText, usbSerialPort);
  m_pCutter->m_sDevice = m_settings.device;
  // Any nonzero result counts as ready, as the send flow has always taken it.
  return m_pCutter->Open(m_settings.mode, m_settings.port, m_settings.baudRate) ? SEND_DONE : SEND_OPEN_FAILED;
}

SendOutcome CSendSession::WriteJobFile(CPlotJob& job, const std::string& path, const OffsetOptions& options,
                                       JobResult* why) {
  m_sJobFile = path;
  if (!m_pCutter) return SEND_JOB_FILE_FAILED;
  return ::WriteJobFile(job, path.c_str(), m_pCutter->m_nDialect, m_pCutter->m_bSwapXY, options, why)
             ? SEND_DONE
             : SEND_JOB_FILE_FAILED;
}

SendOutcome CSendSession::Stream(const std::function<void(int percent)>& progress) {
  CMappedFile file;
  if (!m_pCutter || !file.Open(m_sJobFile)) return SEND_JOB_FILE_UNREADABLE;
  const SendOutcome outcome = StreamJob(file.Data(), file.Size(), m_settings.mode, *m_pCutter, progress);
  // A cancelled stream has stopped between two pieces, so in the token modes the cutter
  // holds whole commands only. Lifting the pen and ending the job in the driver's dialect
  // belongs here, before the caller hears of the cancel; today the cutter is left as the
  // last piece left it.
  return outcome;
}

void CSendSession::Cancel() {
  if (m_pCutter) m_pCutter->Cancel();
}

void CSendSession::Dispose() {
  if (m_pCutter && m_pCutter->IsOpen()) m_pCutter->Close();
  m_pCutter.reset();
}
