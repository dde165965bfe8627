// How a step of a send ended: the closed set of outcomes that the send session and the job
// stream give, with the message each front end shows for it.
#pragma once

enum SendOutcome {
  SEND_DONE,                 // the step did all it was asked to
  SEND_UNKNOWN_CUTTER,       // the model names no known protocol; no driver ("Unknow Cutter type!\n")
  SEND_OPEN_FAILED,          // the driver's Open gave 0 ("Connect to Cutter fail!"); the port keeps the reason
  SEND_JOB_FILE_FAILED,      // the job file could not be written ("SaveCutTempData error1")
  SEND_JOB_FILE_UNREADABLE,  // the job file could not be opened for streaming ("Open temp file fail!")
  SEND_WRITE_FAILED,         // a write took other than the whole piece; the port keeps the reason
  SEND_CANCELLED,            // cancelled: the stream stopped between two pieces or in a wait
};

// The fixed text the user is shown for `outcome` (above, in brackets); "" for those that
// have none of their own: done, a failed write (the system's reason is the text) and a
// cancel. Each front end adds only its own framing.
const char* SendOutcomeText(SendOutcome outcome);
