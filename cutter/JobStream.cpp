#include "cutter/JobStream.h"

#include <cstring>
#include <vector>

#include "cutter/Cutter.h"

int PieceSizeOf(int mode) { return mode == MODE_USB_SERIAL ? USB_SERIAL_PIECE_SIZE : TOKEN_PIECE_SIZE; }

CJobPieces::CJobPieces(const char* data, uint64_t length, int mode) : m_pData(data), m_nLength(length), m_nMode(mode) {}

int CJobPieces::Next(char* piece) {
  const int size = PieceSizeOf(m_nMode);
  int n = 0;
  while (n < size && m_nPosition < m_nLength) {
    const char byte = m_pData[m_nPosition++];
    piece[n++] = byte;
    if (m_nMode != MODE_USB_SERIAL && (byte == ';' || byte == ' ')) break;
  }
  piece[n] = '\0';
  return n;
}

int CJobPieces::Percent() const {
  if (m_nLength == 0) return 100;
  return static_cast<int>(static_cast<double>(m_nPosition) / static_cast<double>(m_nLength) * 100.0);
}

SendOutcome StreamJob(const char* data, uint64_t length, int mode, CCutter& cutter,
                      const std::function<void(int percent)>& progress, uint64_t* written) {
  CJobPieces pieces(data, length, mode);
  std::vector<char> piece(PieceSizeOf(mode) + 1);
  uint64_t whole = 0;
  SendOutcome outcome = SEND_DONE;
  while (!pieces.AtEnd()) {
    if (cutter.Cancelled()) {
      outcome = SEND_CANCELLED;
      break;
    }
    const int n = pieces.Next(piece.data());
    const int taken = cutter.Write(piece.data(), n, 1);
    if (taken != n) {
      outcome = cutter.Cancelled() ? SEND_CANCELLED : SEND_WRITE_FAILED;
      // A cancel that ended a write the line held back leaves part of the piece sent.
      if (outcome == SEND_CANCELLED && taken > 0) whole = pieces.Position() - n + taken;
      break;
    }
    whole = pieces.Position();
    if (written) *written = whole;
    progress(pieces.Percent());
  }
  if (length == 0) progress(100);
  if (written) *written = whole;
  return outcome;
}
