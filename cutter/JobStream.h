// Streaming a job file to a cutter the way the send worker does: in mode 1 pieces of 511
// bytes; otherwise one command token at a time, up to and including its ";" or space, so
// a cutter on a plain serial line is asked to wait for CTS before every command.
#pragma once

#include <cstdint>
#include <functional>

#include "cutter/SendOutcome.h"

class CCutter;

const int USB_SERIAL_PIECE_SIZE = 511;
const int TOKEN_PIECE_SIZE = 40;

// The piece size for a transfer mode: 511 for mode 1, 40 otherwise.
int PieceSizeOf(int mode);

class CJobPieces {
 public:
  CJobPieces(const char* data, uint64_t length, int mode);

  // Copies the next piece into `piece` (PieceSizeOf(mode) + 1 bytes; the piece is
  // zero-terminated) and returns its length; 0 at the end of the file. A token longer than
  // 40 bytes goes out as 40-byte pieces.
  int Next(char* piece);
  // The share of the file taken so far, in whole percent truncated; 100 for an empty file.
  int Percent() const;
  bool AtEnd() const { return m_nPosition >= m_nLength; }
  // The bytes taken so far.
  uint64_t Position() const { return m_nPosition; }

 private:
  const char* m_pData;
  uint64_t m_nLength;
  uint64_t m_nPosition = 0;
  int m_nMode;
};

// Writes the job through the driver piece by piece (waiting for the cutter before each)
// and calls `progress` with the percentage after every piece (100 at once for an empty
// file). Stops at the first failed or cancelled write: SEND_DONE, SEND_WRITE_FAILED or
// SEND_CANCELLED. `written`, when given, receives the bytes of the pieces written whole,
// also before every progress call, so that the callback can read how far the stream is;
// after a cancel, also the part of a piece the line had taken.
SendOutcome StreamJob(const char* data, uint64_t length, int mode, CCutter& cutter,
                      const std::function<void(int percent)>& progress, uint64_t* written = nullptr);
