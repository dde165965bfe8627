// The rate a transfer is going at, measured over its last few seconds and never over the
// first tenth of a second, so that the time left follows the line rather than the first
// burst that fills the port's buffers.
//
//   CTransferRate rate;
//   rate.Add(secondsSinceStart, bytesSoFar);   // after every piece
//   double left = rate.SecondsLeft(total);      // -1 until measured
#pragma once

#include <cstdint>
#include <deque>

// The seconds a serial line at `baudRate` needs for `bytes`: a start bit, eight data bits
// and a stop bit carry each byte.
double LineSeconds(uint64_t bytes, int baudRate);

class CTransferRate {
 public:
  // Measures over the last `windowSeconds`.
  explicit CTransferRate(double windowSeconds = 5.0) : m_fWindow(windowSeconds) {}

  // Records that `bytes` had gone out `seconds` after the start; times never go back.
  void Add(double seconds, uint64_t bytes);

  // Bytes a second over the window; 0 until the samples span a second.
  double BytesPerSecond() const;

  // The seconds `total` bytes still need at that rate; 0 once they are all out; -1 while
  // the rate is not known.
  double SecondsLeft(uint64_t total) const;

 private:
  struct Sample {
    double seconds;
    uint64_t bytes;
  };
  double m_fWindow;
  double m_fFirst = 0;  // when the first sample came
  // At most one sample a tenth of a second, the oldest one just before the window.
  std::deque<Sample> m_samples;
};
