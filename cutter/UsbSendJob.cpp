#include "cutter/UsbSendJob.h"

#include <cstring>

#include "cutter/ModelTable.h"
#include "cutter/UsbSendStatus.h"
#include "pipeline/JobPaths.h"

int JobPathFromTail(const char* tail, std::string& path) {
  const size_t length = strnlen(tail, USB_PATH_BUFFER_SIZE);
  // A longer path would be cut short and name another file: refuse it.
  if (length == 0 || length == USB_PATH_BUFFER_SIZE) return USB_ERROR_FILE_PATH;
  path.assign(tail, length);
  return 0;
}

bool WaitForReadyByte(CUsbLink& link, const UsbStopCheck& stopped) {
  for (int poll = 0; poll < USB_READY_POLLS; ++poll) {
    if (stopped && poll % USB_STOP_CHECK_POLLS == 0 && stopped()) return false;
    char byte = 0;
    if (link.ReadData(&byte, 1) == 1 && byte == USB_READY_BYTE) return true;
  }
  return false;
}

namespace {

// The protocol of the models on the maker's USB link, whose dialect the job file is in.
const int USB_PROTOCOL = 0;

uint32_t PieceLength(uint32_t left) { return left < USB_PIECE_SIZE ? left : USB_PIECE_SIZE; }

// What a stopped stream still owes the cutter, after the first `sent` bytes went out.
void SendJobEnding(const char* data, uint32_t size, uint32_t sent, CUsbLink& link) {
  if (sent == 0) return;  // the cutter has nothing of the job: nothing to end
  uint64_t commandEnd = 0;
  const std::string rest = JobStopBytes(data, size, sent, JobFormatOf(USB_PROTOCOL).dialect, commandEnd);
  for (size_t at = 0; at < rest.size();) {
    const uint32_t length = PieceLength(static_cast<uint32_t>(rest.size() - at));
    // A cutter that does not take the ending is gone: nothing more can be done for it.
    if (!WaitForReadyByte(link) || link.WriteData(rest.data() + at, static_cast<int>(length)) != 1) return;
    at += length;
  }
}

}  // namespace

int SendUsbJob(const char* data, uint32_t size, CUsbLink& link, const std::function<void(int status)>& report,
               const UsbStopCheck& stopped) {
  char piece[USB_PIECE_SIZE];
  uint32_t sent = 0;
  while (sent < size) {
    const uint32_t length = PieceLength(size - sent);
    memcpy(piece, data + sent, length);
    int failure = 0;
    if (stopped && stopped()) {
      failure = USB_SEND_STOPPED;
    } else if (!WaitForReadyByte(link, stopped)) {
      failure = stopped && stopped() ? USB_SEND_STOPPED : USB_ERROR_READ_OVERTIME;
    } else if (link.WriteData(piece, static_cast<int>(length)) != 1) {
      failure = USB_ERROR_WRITE_DATA;
    }
    if (failure == USB_SEND_STOPPED) {
      SendJobEnding(data, size, sent, link);
      return USB_SEND_STOPPED;
    }
    if (failure) {
      report(failure);
      return failure;
    }
    sent += length;
    report(UsbProgressStatus(sent, size));
  }
  if (size == 0) report(USB_SEND_COMPLETE);
  return USB_SEND_COMPLETE;
}
