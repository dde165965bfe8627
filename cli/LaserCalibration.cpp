#include "cli/LaserCalibration.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/CliCommon.h"
#include "cli/MarksJog.h"
#include "cli/PrivateJobFile.h"
#include "cli/Terminal.h"
#include "pipeline/CommandDialect.h"
#include "settings/FileException.h"
#include "settings/LaserOffset.h"
#include "settings/SettingsLock.h"

namespace {

// The cross as an exchange file: its cuts from (0, h) to (2h, h) and from (h, 0) to
// (h, 2h), h half its size; CrossPlace puts its centre (h, h) at the cross's place.
std::string CrossDrawing() {
  const std::string h = std::to_string(LASER_CROSS_SIZE / 2), size = std::to_string(LASER_CROSS_SIZE);
  return "IN;PU0," + h + ";PD" + size + "," + h + ";PU" + h + ",0;PD" + h + "," + size + ";SP0;";
}

// The drawing turned a quarter as the cutter takes every drawing (first = y, second = -x)
// and moved so that the cross's centre lands at (LASER_CROSS_AT, LASER_CROSS_AT).
Placement CrossPlace() {
  const double h = LASER_CROSS_SIZE / 2;
  return Placement{0, 1, LASER_CROSS_AT - h, -1, 0, LASER_CROSS_AT + h};
}

// The job file of the cross in the cutter's dialect with the tool choices `used`, without
// its terminator, in `bytes`: the jog goes on from it in the same job, as a header of its
// own would make a cheap cutter drop the cross's moves it has not made yet. False after a
// message.
bool CrossJob(const Choices& used, std::string& bytes) {
  CPrivateJobFile drawing;
  if (drawing.Path().empty() || !WriteOutput(drawing.Path(), CrossDrawing())) {
    if (drawing.Path().empty()) Fail("plotgate: cannot make the cross's drawing in the temporary folder");
    return false;
  }
  CPlotJob job;
  // The tool's choices only: no cut order, mirror or turn.
  if (LoadChosenJob(job, drawing.Path(), DefaultChoices()) != 0) return false;
  job.m_placement = CrossPlace();
  if (!EncodeChosenJob(job, used, bytes)) return false;
  // Every job file ends with its dialect's terminator.
  bytes.resize(bytes.size() - strlen(StringsFor(JobFormatOfModel(used.model.value_or(0)).dialect).terminator));
  return true;
}

}  // namespace

int CalibrateLaser(const Choices& given, const std::string& iniPath, const std::function<int()>& keys) {
  JogCutter cutter;
  if (const int failed = OpenJogCutter(given, iniPath, cutter)) return failed;
  std::string cross;
  if (!CrossJob(cutter.used, cross)) return 1;
  printf(
      "Cutting a 10 mm cross at 20, 20 mm. Then jog the laser dot onto its centre: the arrows move the head, [ and ] "
      "change the step, Enter sets it, q ends.\n");
  fflush(stdout);
  CJogSession jog(cutter.session, ModelTable[cutter.model]);
  bool set = false;
  // The cross's job ends at the corner of its bounds; the head goes on to its centre.
  const double half = LASER_CROSS_SIZE / 2;
  SendOutcome sent = jog.StartWith(cross, PlacedPoint(CrossPlace(), 2 * half, 2 * half));
  if (sent == SEND_DONE) sent = jog.MoveTo(IntPoint{LASER_CROSS_AT, LASER_CROSS_AT});
  if (sent == SEND_DONE) {
    sent = RunJogKeys(jog, keys, [&](int key) {
      set = key == KEY_ENTER;
      return !set;
    });
  }
  if (sent == SEND_DONE) sent = jog.End();
  if (sent != SEND_DONE) return JogFailure(cutter, sent);
  if (!set) return Fail("plotgate: the laser offset was not set (Enter sets it); nothing was saved");

  const IntPoint offset = {LASER_CROSS_AT - jog.Head().x, LASER_CROSS_AT - jog.Head().y};
  if (abs(offset.x) > LASER_OFFSET_MAX_UNITS || abs(offset.y) > LASER_OFFSET_MAX_UNITS) {
    return Fail(
        "plotgate: the laser dot would lie more than 100 mm from the knife: was it on the cross's centre? "
        "Nothing was saved");
  }
  try {
    const CSettingsLock lock(cutter.iniPath);
    CIniFile ini;
    ini.IniPath = cutter.iniPath;
    WriteLaserOffset(ini, cutter.model, offset);
  } catch (const CFileException& e) {
    return Fail(std::string("plotgate: cannot save the laser offset: ") + e.what());
  }
  printf("Laser offset of %s: %.2f, %.2f mm, saved in %s.\n", ModelTable[cutter.model].name,
         offset.x / double(PLOT_UNITS_PER_MM), offset.y / double(PLOT_UNITS_PER_MM), cutter.iniPath.c_str());
  return StdoutResult(0);
}
