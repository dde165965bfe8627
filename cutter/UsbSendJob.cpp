#include "UsbSendJob.h"

#include <cstring>

#include "UsbSendStatus.h"

int JobPathFromTail(const char* tail, std::string& path) {
  const size_t length = strnlen(tail, USB_PATH_BUFFER_SIZE);
  // A longer path would be cut short and name another file: refuse it.
  if (length == 0 || length == USB_PATH_BUFFER_SIZE) return USB_ERROR_FILE_PATH;
  path.assign(tail, length);
  return 0;
}

bool WaitForReadyByte(CUsbLink& link) {
  for (int poll = 0; poll < USB_READY_POLLS; ++poll) {
    char byte = 0;
    if (link.ReadData(&byte, 1) == 1 && byte == USB_READY_BYTE) return true;
  }
  return false;
}

int SendUsbJob(const char* data, uint32_t size, CUsbLink& link, const std::function<void(int status)>& report) {
  char piece[USB_PIECE_SIZE];
  uint32_t sent = 0;
  while (sent < size) {
    const uint32_t length = size - sent < USB_PIECE_SIZE ? size - sent : USB_PIECE_SIZE;
    memcpy(piece, data + sent, length);
    sent += length;
    int failure = 0;
    if (!WaitForReadyByte(link)) {
      failure = USB_ERROR_READ_OVERTIME;
    } else if (link.WriteData(piece, static_cast<int>(length)) != 1) {
      failure = USB_ERROR_WRITE_DATA;
    }
    if (failure) {
      report(failure);
      return failure;
    }
    report(UsbProgressStatus(sent, size));
  }
  if (size == 0) report(USB_SEND_COMPLETE);
  return USB_SEND_COMPLETE;
}
