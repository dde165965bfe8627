// Moving the cutter's head by hand with the pen up, to put the knife tip or the laser
// pointer on a printed mark. The moves go out through the send session that owns the port
// (its CTS wait, cancel and ending rules), as parts of one job: the dialect's header once,
// a pen-up to the origin, one pen-up command a press, and the dialect's terminator at the
// end. A header inside the job would reset a cheap cutter and cancel the moves it has
// pending. In HPGL:
//
//   IN;SP1;PU0,0;...PU0,0;  PU0,0;  PU40,0;  PU40,360;  ...  SP0;@
//
//   CJogSession jog(session, ModelTable[model]);  // the session open on the cutter
//   jog.Start();                                  // header, PU0,0;
//   jog.Arrow(JOG_UP);                            // PU40,0;
//   jog.End();                                    // SP0;@
//
// Positions are the cutter's own units (PLOT_UNITS_PER_MM to the millimetre), first along
// the roll, second across it, as the job file's pen commands give them. The arrows move
// the head the way the preview shows the drawing: Up adds to the first coordinate, Down
// takes from it, Left adds to the second and Right takes from it. The head never goes
// below 0 on either axis: a move that would is stopped there.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "cutter/ModelTable.h"
#include "cutter/SendOutcome.h"
#include "pipeline/CommandDialect.h"
#include "pipeline/JobModel.h"

class CSendSession;

enum JogArrow { JOG_UP, JOG_DOWN, JOG_RIGHT, JOG_LEFT };

// The steps of a press, in units (0.1, 1 and 10 mm), and the one a session starts with.
const int JOG_STEP_COUNT = 3;
const int32_t JOG_STEPS[JOG_STEP_COUNT] = {4, 40, 400};
const int JOG_FIRST_STEP = 1;

// The farthest the head is sent on either axis: 100 m, beyond any cutter's reach, so that
// a held key never overflows a coordinate.
const int32_t JOG_MAX_UNITS = 4000000;

// The point of the head's reach nearest to (first, second): each coordinate brought into
// 0 to JOG_MAX_UNITS.
IntPoint Reachable(int64_t first, int64_t second);

class CJogSession {
 public:
  // Hands each part of the job to the cutter; SEND_DONE when it went out whole.
  typedef std::function<SendOutcome(const std::string& bytes)> Sink;

  // Jogs through `session`, opened on a cutter of `model`, in the model's dialect.
  CJogSession(CSendSession& session, const CutterModel& model);
  // Jogs in `dialect`, handing each part to `sink` (a test's record of the bytes).
  CJogSession(int dialect, Sink sink);

  // Sends the dialect's header carrying `tool` (HeaderText) and a pen-up to the origin,
  // where the head then is: a cut made later in the session (the laser pointer's cross)
  // takes its force and speed from there.
  SendOutcome Start(const ToolSettings& tool = ToolSettings());
  // Sends `commands` of the dialect, after which the head is at `at`: instead of Start, a
  // job without its terminator (a cut to jog from); after it, a job's commands without its
  // header and terminator (a cut in the middle of the jog).
  SendOutcome SendCommands(const std::string& commands, IntPoint at);
  // Moves the head one step the way of `arrow`, stopped at 0 and at JOG_MAX_UNITS; sends
  // nothing when it is there already.
  SendOutcome Arrow(JogArrow arrow);
  // Moves the head to Reachable(`to`) in one pen-up command; sends nothing when the head
  // is there already.
  SendOutcome MoveTo(IntPoint to);
  // Sends the dialect's terminator.
  SendOutcome End();

  // The next larger or smaller step; none beyond the largest or the smallest.
  void StepUp();
  void StepDown();
  // The step JOG_STEPS[`index`], `index` brought into 0 to JOG_STEP_COUNT - 1.
  void SetStep(int index);
  // The step of a press, in units.
  int32_t Step() const { return JOG_STEPS[m_step]; }

  // Where the last command that went out whole left the head. After a failed one the head
  // may be anywhere between.
  IntPoint Head() const { return m_head; }

 private:
  int m_dialect;
  Sink m_sink;
  IntPoint m_head = {0, 0};
  int m_step = JOG_FIRST_STEP;
};
