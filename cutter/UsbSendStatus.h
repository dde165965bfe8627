// What the USB sender reports to the main window, and what the main window makes of it.
// Each report is the decimal text of one status ("40", "-5") in a WM_COPYDATA message:
// 0..100 is the share of the job file sent so far, -1..-7 an error that ends the send.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// UsbSendStatus values below 0: the errors, each named after what failed.
const int USB_ERROR_FILE_PATH = -1;       // no job file path on the command line (or one too long)
const int USB_ERROR_NO_LIBRARY = -2;      // "VornLib.dll" could not be loaded
const int USB_ERROR_OPEN_DEVICE = -3;     // OpenUSBDevice(0) did not return 1
const int USB_ERROR_OPEN_DATA_FILE = -4;  // the job file could not be opened
const int USB_ERROR_WRITE_DATA = -5;      // WriteData did not return 1
const int USB_ERROR_READ_OVERTIME = -6;   // no ready byte in USB_READY_POLLS polls
const int USB_ERROR_MISSING_ENTRY = -7;   // one of the library's four entries is missing
const int USB_SEND_COMPLETE = 100;

// The share of `size` bytes that `sent` bytes make, in whole percent truncated toward
// zero (computed in double precision); 100 for an empty file, which is sent at once.
int UsbProgressStatus(uint64_t sent, uint64_t size);

// The message box text the main window shows for an error status (-7..-1), or null for
// any other status. The boxes are plain OK boxes that ask for no icon.
const char* UsbStatusMessage(int status);

// The status of a report's payload, read as the leading decimal number of at most `size`
// bytes (a payload need not end with a zero): optional blanks, an optional sign, digits.
// Anything that is not a number gives 0; a number beyond the int range is clamped.
int ParseUsbStatus(const char* data, size_t size);

// What the main window does with one report.
struct UsbStatusEffect {
  const char* m_pMessage;  // box to show first, or null
  int m_nProgress;         // position for the progress bar, or -1 to leave it
  bool m_bEndsSend;        // the send is over (100 or more, or any negative status)
  bool m_bFailed;          // the send ended in an error: no "Send finished!" after it
};

UsbStatusEffect UsbStatusEffectOf(int status);

// The stop of a USB send: a named event that the main window creates before it starts the
// sender and sets when the user cancels; the sender opens it by the main window's process
// id and looks at it between pieces. A sender that finds no such event (an older main
// window) sends to the end, as before; an older sender never looks, and the main window
// stops waiting for it after its bound.
std::string UsbStopEventName(unsigned long mainProcessId);

// Why a send ended without the sender's final report, from the sender process's exit
// code: an exception code (0xC0000000 and up) says it crashed, in its library or itself;
// any other code that it was ended, or ended by itself without a report.
std::string UsbSenderEndText(uint32_t exitCode);
