#include "cli/LaserCalibration.h"

#include <cstdio>

#include "cli/CliCommon.h"
#include "cli/MarksJog.h"
#include "cli/PrivateJobFile.h"
#include "cli/Terminal.h"
#include "pipeline/LaserCross.h"
#include "settings/FileException.h"
#include "settings/LaserOffset.h"
#include "settings/SettingsLock.h"

namespace {

// The job file of the cross with the tool choices `used`, without its terminator, in
// `bytes`: the jog goes on from it in the same job, as a header of its own would make a
// cheap cutter drop the cross's moves it has not made yet. False after a message.
bool CrossJob(const Choices& used, std::string& bytes) {
  CPrivateJobFile drawing;
  if (drawing.Path().empty()) {
    Fail("plotgate: cannot make the cross's drawing in the temporary folder");
    return false;
  }
  const JobFailure failed =
      LaserCrossJob(drawing.Path(), JobFormatOfModel(used.model.value_or(0)), OffsetsOf(used), bytes);
  if (failed.result != JOB_DONE) Fail("plotgate: cannot make the cross's job: " + JobFailureReason(failed));
  return failed.result == JOB_DONE;
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
  SendOutcome sent = jog.SendCommands(cross, LaserCrossJobEnd());
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

  IntPoint offset = {0, 0};
  if (!LaserOffsetFromCross(jog.Head(), offset)) {
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
