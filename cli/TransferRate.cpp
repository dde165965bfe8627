#include "cli/TransferRate.h"

namespace {

// Samples closer together than this replace each other, which bounds their number.
const double SAMPLE_SPACING = 0.1;
// The shortest span a rate is measured over.
const double MEASURED_SPAN = 1.0;

}  // namespace

void CTransferRate::Add(double seconds, uint64_t bytes) {
  // The first tenth of a second fills the port's buffers at the speed of memory: the
  // measurement starts from where that burst left off, at the first bytes' real rate.
  if (m_samples.empty()) m_fFirst = seconds;
  if (m_samples.size() <= 1 && seconds - m_fFirst < SAMPLE_SPACING) {
    m_samples.assign(1, {seconds, bytes});
  } else if (m_samples.size() >= 2 && seconds - m_samples[m_samples.size() - 2].seconds < SAMPLE_SPACING) {
    m_samples.back() = {seconds, bytes};
  } else {
    m_samples.push_back({seconds, bytes});
  }
  // The oldest sample kept is the last one at or before the window's start.
  while (m_samples.size() > 2 && m_samples[1].seconds <= seconds - m_fWindow) m_samples.pop_front();
}

double CTransferRate::BytesPerSecond() const {
  if (m_samples.size() < 2) return 0;
  const Sample& first = m_samples.front();
  const Sample& last = m_samples.back();
  const double span = last.seconds - first.seconds;
  if (span < MEASURED_SPAN || last.bytes < first.bytes) return 0;
  return static_cast<double>(last.bytes - first.bytes) / span;
}

double CTransferRate::SecondsLeft(uint64_t total) const {
  const uint64_t sent = m_samples.empty() ? 0 : m_samples.back().bytes;
  if (sent >= total) return 0;
  const double rate = BytesPerSecond();
  return rate > 0 ? static_cast<double>(total - sent) / rate : -1;
}

double LineSeconds(uint64_t bytes, int baudRate) { return static_cast<double>(bytes) * 10 / baudRate; }
