// plotgate info INPUT [--mirror] [--rotate R]: the job's size as the dialog shows it.
#include <cstdio>
#include <memory>

#include "CliCommon.h"
#include "Commands.h"

void AddInfoCommand(CLI::App& app, int& exitCode) {
  auto choices = std::make_shared<JobChoices>();
  CLI::App* info = app.add_subcommand("info", "Print the job's width and height in millimetres");
  AddJobOptions(*info, *choices);
  info->callback([choices, &exitCode] {
    CPlotJob job;
    if (!LoadChosenJob(job, *choices)) {
      exitCode = 1;
      return;
    }
    printf("%s x %s mm\n", job.WidthText().c_str(), job.HeightText().c_str());
  });
}
