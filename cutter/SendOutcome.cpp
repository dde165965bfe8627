#include "cutter/SendOutcome.h"

#include "cutter/Cutter.h"

const char* SendOutcomeText(SendOutcome outcome) {
  switch (outcome) {
    case SEND_UNKNOWN_CUTTER: return UNKNOWN_CUTTER_TEXT;
    case SEND_OPEN_FAILED: return "Connect to Cutter fail!";
    case SEND_JOB_FILE_FAILED: return "SaveCutTempData error1";
    case SEND_JOB_FILE_UNREADABLE: return "Open temp file fail!";
    default: return "";
  }
}
