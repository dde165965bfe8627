// Measuring a printed sheet's registration marks by jogging: the head is sent to where a
// mark should be, from the marks measured so far (PredictedMark), the user puts the knife
// tip or the laser pointer on the cross, and the head's place is taken as the mark's.
//
//   IntPoint head;
//   if (marks.HeadForMark(3, head)) jog.MoveTo(head);
//   ...
//   marks.Set(jog, 3);
//
// With the laser pointer the marks are aimed at with the dot, which lies `laserOffset`
// (cutter units) from the knife: a mark is measured at the head's place plus the offset,
// and the head goes to a mark's predicted place minus it, so that the dot lands there.
// Without a calibration the offset is 0 and the knife tip is aimed.
#pragma once

#include <string>
#include <vector>

#include "cutter/JogSession.h"
#include "pipeline/Registration.h"

// "15.30, 225.10 mm" for a place in cutter units.
std::string PlaceText(IntPoint at);

class CMarkJog {
 public:
  // `laserOffset` lies within JOG_MAX_UNITS of the knife on either axis.
  CMarkJog(const DrawingMarks& drawing, IntPoint laserOffset) : m_drawing(drawing), m_laserOffset(laserOffset) {}

  // Whether the drawing holds mark `number` (1 to MAX_MARKS); false for any other number.
  bool HasMark(int number) const;

  // Where the head goes to put the knife or the dot on mark `number`: where the mark
  // should be (PredictedMark), less the laser offset, within the head's reach (Reachable).
  // False, leaving `head` as it was, when the drawing has no such mark or no mark
  // is measured yet.
  bool HeadForMark(int number, IntPoint& head) const;

  // Takes the head's place plus the laser offset as where mark `number` lies, replacing an
  // earlier measure of it. False, taking nothing, when the drawing has no such mark.
  bool Set(const CJogSession& jog, int number);

  // The marks measured, in the order of their numbers.
  std::vector<MeasuredMark> Measured() const;

  // How a list of the marks shows mark `number`: "1 at 15.30, 225.10 mm" once it is
  // measured, "1 not measured" before.
  std::string MarkText(int number) const;

  IntPoint LaserOffset() const { return m_laserOffset; }
  // Aims with a new laser offset (within JOG_MAX_UNITS on either axis) from now on; the
  // marks measured stay where they were found.
  void SetLaserOffset(IntPoint offset) { m_laserOffset = offset; }

 private:
  DrawingMarks m_drawing;
  IntPoint m_laserOffset;
  std::vector<MeasuredMark> m_measured;  // in the order they were first measured
};
