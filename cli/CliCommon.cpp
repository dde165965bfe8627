#include "CliCommon.h"

#include <cstdio>
#include <cstring>
#include <cerrno>

void AddJobOptions(CLI::App& command, JobChoices& choices) {
  command.add_option("INPUT", choices.input, "Exchange file written by the CorelDRAW macro")->required();
  command.add_flag("--mirror", choices.mirror, "Mirror the job (the Mirror button)");
  command.add_option("--rotate", choices.rotate, "Turn the job clockwise by 0, 90, 180 or 270 degrees")
      ->check(CLI::IsMember({0, 90, 180, 270}));
}

bool LoadChosenJob(CPlotJob& job, const JobChoices& choices) {
  // The reader does not tell why a file cannot be opened; ask once more for the reason.
  FILE* probe = fopen(choices.input.c_str(), "rb");
  if (!probe) {
    fprintf(stderr, "plotgate: cannot read %s: %s\n", choices.input.c_str(), strerror(errno));
    return false;
  }
  fclose(probe);
  job.LoadJob(choices.input.c_str());
  if (!job.HasJob()) {
    fprintf(stderr, "plotgate: cannot read %s\n", choices.input.c_str());
    return false;
  }
  if (choices.mirror) job.MirrorState = MIRROR_MIRRORED;
  if (choices.rotate >= 0) {
    job.RotateState = ROTATE_0 + choices.rotate / 90;
    job.ApplyMirrorRotate(MODE_ROTATE);
  } else if (choices.mirror) {
    job.ApplyMirrorRotate(MODE_MIRROR);
  }
  return true;
}
