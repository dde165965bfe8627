// How the USB sender streams a job file through the maker's library: pieces of 4096
// bytes, each written once the cutter has answered the ready byte "E" to a one-byte read,
// and a progress report after each piece. The first failure ends the stream: a piece the
// cutter did not take is never followed by the next one, so no job goes out with a hole.
// A stop asked for by the main window (its Cancel) ends the stream between pieces, or in
// a wait for the ready byte; the cutter then gets the rest of the command in flight and
// the job's ending, so that its pen is lifted, and nothing more.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

const int USB_PIECE_SIZE = 4096;
const int USB_READY_POLLS = 20000;  // reads per piece before the cutter counts as silent
const char USB_READY_BYTE = 'E';
const size_t USB_PATH_BUFFER_SIZE = 260;  // the job file path and its terminating zero
const int USB_STOP_CHECK_POLLS = 64;      // ready polls between two looks at the stop
// SendUsbJob's result for a stream that a stop ended; never reported to the main window.
const int USB_SEND_STOPPED = -100;

// The library's entries as the sender calls them (device 0, one-byte reads).
class CUsbLink {
 public:
  virtual ~CUsbLink() = default;
  // 1 when the device is open.
  virtual int OpenUSBDevice(int device) = 0;
  virtual void CloseUSBDevice(int device) = 0;
  // 1 when a byte was read into `buffer`.
  virtual int ReadData(void* buffer, int count) = 0;
  // 1 when the cutter took the bytes.
  virtual int WriteData(const void* buffer, int count) = 0;
};

// The job file path from the command line's tail, taken whole (spaces and quotes belong
// to it). USB_ERROR_FILE_PATH when the tail is empty or does not fit the path buffer
// with its terminating zero; 0 otherwise.
int JobPathFromTail(const char* tail, std::string& path);

// Whether the main window has asked the send to stop; looked at often, so it must be cheap.
using UsbStopCheck = std::function<bool()>;

// Polls for the ready byte, at most USB_READY_POLLS reads; true at the first read that
// brings "E". False also when `stopped` (when given) says so, every USB_STOP_CHECK_POLLS
// polls.
bool WaitForReadyByte(CUsbLink& link, const UsbStopCheck& stopped = nullptr);

// Sends the job's `size` bytes (a job file in the USB models' dialect) in pieces and
// reports the percentage after each (100 at once for an empty job). Stops at the first
// piece the cutter is not ready for (USB_ERROR_READ_OVERTIME) or does not take
// (USB_ERROR_WRITE_DATA), reports that status and returns it; USB_SEND_COMPLETE when
// every piece went out. When `stopped` says so before a piece or during its ready wait,
// the rest of the command in flight and the job's ending go out (each piece still after
// its ready byte, but no longer stoppable), nothing is reported, and the result is
// USB_SEND_STOPPED. The device stays open: the caller closes it.
int SendUsbJob(const char* data, uint32_t size, CUsbLink& link, const std::function<void(int status)>& report,
               const UsbStopCheck& stopped = nullptr);
