#include "cutter/UsbSendStatus.h"

#include <climits>
#include <cstdio>

int UsbProgressStatus(uint64_t sent, uint64_t size) {
  if (size == 0) return USB_SEND_COMPLETE;
  return static_cast<int>(static_cast<double>(sent) / static_cast<double>(size) * 100.0);
}

const char* UsbStatusMessage(int status) {
  // -3 and -7 read the same: to the user both mean the cutter could not be reached.
  static const char* const messages[] = {
      "ERROR_FILE_PATH!",      "ERROR_NO_OPEN_VORNLIB_DLL!", "Connect to Cutter fail!", "ERROR_OPEN_DATA_FILE!",
      "ERROR_WRITE_USB_DATA!", "ERROR_READ_USB_OVERTIME!",   "Connect to Cutter fail!",
  };
  if (status > -1 || status < -7) return nullptr;
  return messages[-status - 1];
}

int ParseUsbStatus(const char* data, size_t size) {
  size_t i = 0;
  while (i < size && (data[i] == ' ' || (data[i] >= '\t' && data[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < size && (data[i] == '-' || data[i] == '+')) negative = data[i++] == '-';
  long long value = 0;
  for (; i < size && data[i] >= '0' && data[i] <= '9'; ++i) {
    value = value * 10 + (data[i] - '0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

UsbStatusEffect UsbStatusEffectOf(int status) {
  UsbStatusEffect effect;
  effect.m_pMessage = UsbStatusMessage(status);
  // The bar's range ends at 100; a larger status fills it.
  effect.m_nProgress = status < 0 ? -1 : status > USB_SEND_COMPLETE ? USB_SEND_COMPLETE : status;
  effect.m_bEndsSend = status >= USB_SEND_COMPLETE || status < 0;
  effect.m_bFailed = status < 0;
  return effect;
}

std::string UsbSenderEndText(uint32_t exitCode) {
  char text[160];
  if (exitCode >= 0xC0000000u) {
    snprintf(text, sizeof text, "VornUSBSend.exe crashed during the send (exception 0x%08X).",
             static_cast<unsigned>(exitCode));
  } else {
    snprintf(text, sizeof text, "VornUSBSend.exe ended before the send was done (exit code %u).",
             static_cast<unsigned>(exitCode));
  }
  return std::string(text) + " The cutter may have got part of the job only.";
}

std::string UsbStopEventName(unsigned long mainProcessId) { return "PlotgateUsbStop." + std::to_string(mainProcessId); }
