// plotgate preview INPUT [--mirror] [--rotate R | --registration FILE.reg] --size WxH [--detail [--model NAME]
//   [--blade-offset MM] [--overcut MM]] --output FILE.svg|-: the dialog's preview as an SVG
// picture (the registration marks as blue crosses), or with --detail the same picture with
// what the cutter will do drawn over it, placed by the measured marks with --registration.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/PresetChoice.h"
#include "cli/PreviewDetail.h"
#include "cli/PreviewSvg.h"
#include "cli/RegistrationOption.h"
#include "pipeline/PreviewLayout.h"

namespace {

// The detailed picture of the loaded job. The tool path is what the chosen model's cutter
// would be sent (the first model's without --model: every protocol writes the job turned
// the same way, and the two dialects carry the same moves). False, after a message, when
// the job cannot be encoded.
bool DetailedPicture(CPlotJob& job, const Choices& used, int width, int height, std::string& svg) {
  const JobFormat format = JobFormatOfModel(used.model.value_or(0));
  const JobResult result = DetailedPreviewOfJob(job, format, OffsetsOf(used), width, height, THIN_WHEN_LARGE, svg);
  if (result == JOB_DONE) return true;
  fprintf(stderr, "plotgate: cannot trace the tool path: %s\n", JobResultText(result));
  return false;
}

// Whether `output` names a file of another kind than the SVG picture ("p.png"), which a
// viewer would then fail to open; says so on stderr. A name without an extension is taken.
bool NotAnSvgName(const std::string& output) {
  if (output == STANDARD_OUTPUT) return false;
  std::string extension = std::filesystem::u8path(output).extension().u8string();
  for (char& c : extension) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  if (extension.empty() || extension == ".svg") return false;
  fprintf(stderr, "plotgate: the picture is SVG, so %s cannot hold it: name the output FILE.svg\n", output.c_str());
  return true;
}

}  // namespace

void AddPreviewCommand(CLI::App& app, int& exitCode) {
  struct Options {
    std::string input;
    Choices given;
    bool detail = false;
    std::string size;
    std::string output;
    int width = 0, height = 0;
    std::string registration;
    std::string iniPath;
  };
  auto o = std::make_shared<Options>();
  CLI::App* preview = app.add_subcommand(
      "preview",
      "Draw the job as SVG, as the dialog's preview shows it; with --detail, what the cutter will do drawn over it");
  AddJobOptions(*preview, o->input, o->given);
  AddRegistrationOption(*preview, o->registration);
  preview->add_option("--size", o->size, "Size of the picture in pixels, as WxH (the area the dialog's preview fills)")
      ->required()
      ->check([o](const std::string& text) -> std::string {
        char tail = 0;
        if (sscanf(text.c_str(), "%dx%d%c", &o->width, &o->height, &tail) != 2 || o->width < 1 || o->height < 1 ||
            o->width > 100000 || o->height > 100000)
          return "expected WxH with sizes from 1 to 100000, such as 400x300";
        return "";
      });
  CLI::Option* detail = preview->add_flag(
      "--detail", o->detail,
      "Draw over the picture, on a canvas 40 px wider and 44 px higher: pen-up travel (grey dashes), "
      "the cuts as sent with --blade-offset and --overcut (blue), where each cut starts and its direction "
      "(green), the cutter's origin, the roll's feed and the side across the roll, the job's size and the "
      "scale; a picture of more than 500,000 points leaves out points within a quarter pixel of a straight line. "
      "With --media-width, either picture shows the media's far edge as a dashed line");
  AddCutterOptions(*preview, o->given, false);
  AddPresetOption(*preview, o->given, &o->iniPath);
  for (const char* name :
       {"--model", "--blade-offset", "--overcut", "--force", "--speed", "--no-force", "--no-speed", "--preset"})
    preview->get_option(name)->needs(detail);
  preview->add_option("--output", o->output, "SVG file to write, or - for standard output")->required();
  preview->callback([o, &exitCode] {
    if (const int refused = ApplyPreset(o->given, o->iniPath)) {
      exitCode = refused;
      return;
    }
    if (OutputRefused(o->input, o->output)) {
      exitCode = 1;
      return;
    }
    if (NotAnSvgName(o->output)) {
      exitCode = EXIT_USAGE;
      return;
    }
    const Choices used = Merged(o->given, DefaultChoices());
    CPlotJob job;
    PlacementFit fit;
    exitCode = LoadChosenJob(job, o->input, used);
    if (exitCode != 0) return;
    if (!PlaceWithRegistration(job, o->input, o->registration, fit)) {
      exitCode = 1;
      return;
    }
    CheckMediaWidth(job, used, false);
    // Laid out before the detailed picture encodes the job, which merges its points.
    const std::vector<IntPoint> marks = job.MarkPoints();
    const std::string mediaEdge = MediaEdgeSvg(CPreviewFrame(job.m_pPoints, job.m_bounds, o->width, o->height, marks),
                                               job.m_bounds, MediaWidthFrom(used), o->height);
    std::string svg;
    if (!o->detail) {
      const CPreviewLayout layout(job.m_pPoints, job.m_bounds, o->width, o->height, marks);
      svg = PreviewSvg({layout.begin(), layout.end()}, o->width, o->height, PreviewMarkStrokes(layout.Frame(), marks));
    } else if (!DetailedPicture(job, used, o->width, o->height, svg)) {
      exitCode = 1;
      return;
    }
    svg.insert(svg.rfind("</svg>"), mediaEdge);
    if (!WriteOutput(o->output, svg)) exitCode = 1;
  });
}
