// plotgate preview INPUT [--mirror] [--rotate R] --size WxH --output FILE.svg|-: the
// dialog's preview as an SVG picture.
#include <cstdio>
#include <memory>

#include "CliCommon.h"
#include "Commands.h"
#include "PreviewLayout.h"
#include "PreviewSvg.h"

void AddPreviewCommand(CLI::App& app, int& exitCode) {
  struct Options {
    JobChoices job;
    std::string size;
    std::string output;
    int width = 0, height = 0;
  };
  auto o = std::make_shared<Options>();
  CLI::App* preview = app.add_subcommand("preview", "Draw the preview control's picture as SVG");
  AddJobOptions(*preview, o->job);
  preview->add_option("--size", o->size, "Client area of the preview control in pixels, as WxH")
      ->required()
      ->check([o](const std::string& text) -> std::string {
        char tail = 0;
        if (sscanf(text.c_str(), "%dx%d%c", &o->width, &o->height, &tail) != 2 || o->width < 1 || o->height < 1 ||
            o->width > 100000 || o->height > 100000)
          return "expected WxH with sizes from 1 to 100000, such as 400x300";
        return "";
      });
  preview->add_option("--output", o->output, "SVG file to write, or - for standard output")->required();
  preview->callback([o, &exitCode] {
    CPlotJob job;
    if (OutputIsInput(o->job.input, o->output) || !LoadChosenJob(job, o->job)) {
      exitCode = 1;
      return;
    }
    const auto strokes = LayoutPreview(job.m_pPoints, job.m_bounds, o->width, o->height);
    if (!WriteOutput(o->output, PreviewSvg(strokes, o->width, o->height))) exitCode = 1;
  });
}
