#include "CliCommon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "BinaryStdout.h"
#include "ModelTable.h"
#include "StdioFile.h"
#include "SystemError.h"

void AddJobOptions(CLI::App& command, JobChoices& choices) {
  command.add_option("INPUT", choices.input, "Drawing to cut: the exchange file written by the CorelDRAW macro")
      ->required();
  command.add_flag("--mirror", choices.mirror,
                   "Mirror the job left to right (x becomes -x), as for cutting from the back of the material");
  command.add_option("--rotate", choices.rotate, "Turn the job clockwise by 0, 90, 180 or 270 degrees")
      ->check(CLI::IsMember({0, 90, 180, 270}));
}

namespace {

// Inputs of this many bytes or more take seconds to read: the user is told first.
const uintmax_t LARGE_INPUT_BYTES = 5000000;

// "1 command was cut (at line 2, column 1)" or "3 commands were cut (the first at ...)";
// nothing when `tally` counts nothing.
std::string TallyText(const ReadTally& tally, const std::string& one, const std::string& many) {
  if (tally.count == 0) return "";
  const std::string place =
      "line " + std::to_string(tally.first.line) + ", column " + std::to_string(tally.first.column);
  if (tally.count == 1) return "1 " + one + " (at " + place + ")";
  return std::to_string(tally.count) + " " + many + " (the first at " + place + ")";
}

// The warning line for what the reader of `input` met, without its line end; "" for a
// clean read.
std::string ReadWarning(const std::string& input, const ExchangeReport& report) {
  const std::string longer = "longer than " + std::to_string(EXCHANGE_COMMAND_MAX) + " bytes";
  const std::string parts[] = {
      TallyText(report.skipped, "command was not understood and skipped", "commands were not understood and skipped"),
      TallyText(report.unnumbered, "command lacked its numbers and took earlier ones",
                "commands lacked their numbers and took earlier ones"),
      TallyText(report.clamped, "coordinate beyond 32 bits was clamped", "coordinates beyond 32 bits were clamped"),
      TallyText(report.cut, "command " + longer + " was cut short", "commands " + longer + " were cut short"),
  };
  std::string said;
  for (const std::string& part : parts)
    if (!part.empty()) said += (said.empty() ? "" : ", ") + part;
  if (said.empty()) return "";
  return "plotgate: warning: " + input + ": " + said + "; the cut will differ from the drawing";
}

}  // namespace

bool LoadChosenJob(CPlotJob& job, const JobChoices& choices) {
  std::error_code unknownSize;
  const uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(choices.input), unknownSize);
  if (!unknownSize && size >= LARGE_INPUT_BYTES) {
    fprintf(stderr, "plotgate: reading %s (%.1f MB)...\n", choices.input.c_str(), static_cast<double>(size) / 1e6);
    fflush(stderr);
  }
  job.LoadJob(choices.input.c_str());
  if (job.m_loadResult == JOB_CANNOT_OPEN || job.m_loadResult == JOB_READ_FAILED) {
    const std::string reason = JobFailureReason(JobFailure{job.m_loadResult, job.m_nLoadError});
    fprintf(stderr, "plotgate: cannot read %s: %s\n", choices.input.c_str(), reason.c_str());
    return false;
  }
  // Said before any refusal: skipped commands may be why there is nothing to cut.
  const std::string warning = job.m_loadResult == JOB_DONE ? ReadWarning(choices.input, job.m_readReport) : "";
  if (!warning.empty()) fprintf(stderr, "%s\n", warning.c_str());
  if (!job.HasJob()) {
    // Read in full, a file whose first command ends the drawing still gives no job.
    const char* why = job.m_loadResult == JOB_DONE ? "it holds no drawing" : JobResultText(job.m_loadResult);
    fprintf(stderr, "plotgate: cannot load %s: %s\n", choices.input.c_str(), why);
    return false;
  }
  // Read in full, a file of only moves, settings or unknown text would send a job that cuts
  // nothing.
  bool cuts = false;
  for (const PlotPoint* point = job.m_pPoints; point && !cuts; point = point->next) cuts = point->kind == KIND_PEN_DOWN;
  if (!cuts) {
    fprintf(stderr, "plotgate: no outlines in %s\n", choices.input.c_str());
    return false;
  }
  // A rotation rebuilds from the commands, mirrored first, as the dialog's buttons do.
  if (choices.mirror) job.Mirror();
  const JobResult rotated = choices.rotate >= 0 ? job.RotateTo(choices.rotate / 90) : JOB_DONE;
  if (rotated != JOB_DONE) {
    fprintf(stderr, "plotgate: cannot rotate %s: %s\n", choices.input.c_str(), JobResultText(rotated));
    return false;
  }
  return true;
}

namespace {

// The largest distances a drag-knife cutter can use: its blade's offset is well under a
// millimetre, and an over-cut of a few millimetres frees any shape.
const double MAX_BLADE_OFFSET_MM = 2.0;
const char* const MAX_BLADE_OFFSET_TEXT = "2";
const double MAX_OVERCUT_MM = 5.0;
const char* const MAX_OVERCUT_TEXT = "5";

// A distance option: decimal digits with at most one "." (no sign, exponent, comma or
// words), from 0.01 to `max` millimetres. The text itself goes on to the job unchanged.
CLI::Validator MillimetreCheck(double max, const char* maxText) {
  return CLI::Validator(
      [max, maxText](const std::string& text) -> std::string {
        const std::string range = std::string("a number of mm from 0.01 to ") + maxText;
        const size_t digits = text.find_first_not_of("0123456789");
        const bool decimal =
            !text.empty() && text != "." &&
            (digits == std::string::npos ||
             (text[digits] == '.' && text.find_first_not_of("0123456789", digits + 1) == std::string::npos));
        if (!decimal) return "\"" + text + "\" is not " + range;
        const double value = strtod(text.c_str(), nullptr);
        if (value < 0.01 || value > max) return "\"" + text + "\" is outside " + range;
        return "";
      },
      "MM");
}

}  // namespace

// An option that ticks one of the offset boxes and gives it its distance text, checked
// as millimetres from 0.01 to `maxText`.
static void AddDistanceOption(CLI::App& command, const char* name, bool& ticked, std::string& text,
                              const std::string& what, double maxMm, const char* maxText, const char* hint) {
  command
      .add_option_function<std::string>(
          name,
          [&ticked, &text](const std::string& value) {
            ticked = true;
            text = value;
          },
          what + ", from 0.01 to " + maxText + " (" + hint + ")")
      ->check(MillimetreCheck(maxMm, maxText));
}

CLI::Option* AddModelOption(CLI::App& command, int& model) {
  return command
      .add_option_function<std::string>(
          "--model", [&model](const std::string& name) { model = FindModel(name.c_str()); },
          "Cutter model: its name as in the Device list, or its index 0 to 10")
      ->check([](const std::string& name) -> std::string {
        if (FindModel(name.c_str()) >= 0) return "";
        std::string known;
        for (int i = 0; i < MODEL_COUNT; ++i) known += "\n  " + std::to_string(i) + " " + ModelTable[i].name;
        return "unknown model \"" + name + "\"; the models are:" + known;
      });
}

void AddCutterOptions(CLI::App& command, CutterChoice& choice, bool modelRequired) {
  CLI::Option* model = AddModelOption(command, choice.model);
  if (modelRequired) model->required();
  AddDistanceOption(command, "--blade-offset", choice.offsets.bladeOffset, choice.offsets.bladeOffsetText,
                    "Correct for the drag knife's tip trailing its axis by this many mm", MAX_BLADE_OFFSET_MM,
                    MAX_BLADE_OFFSET_TEXT, "0.38 suits a common blade");
  AddDistanceOption(command, "--overcut", choice.offsets.overCut, choice.offsets.overCutText,
                    "Cut this many mm past the start of every closed shape so that it comes free", MAX_OVERCUT_MM,
                    MAX_OVERCUT_TEXT, "0.85 is usual");
}

bool WriteChosenJobFile(CPlotJob& job, const CutterChoice& choice, const std::string& path) {
  const JobFormat format = JobFormatOf(ModelTable[choice.model].ProtocolNumber);
  JobFailure why;
  if (path == STANDARD_OUTPUT) {
    SetStdoutBinary();
    if (!WriteJobStream(job, stdout, format.dialect, format.swapXY, choice.offsets, &why)) {
      fprintf(stderr, "plotgate: cannot write the job to standard output: %s\n", JobFailureReason(why).c_str());
      return false;
    }
  } else if (!WriteJobFile(job, path.c_str(), format.dialect, format.swapXY, choice.offsets, &why)) {
    fprintf(stderr, "plotgate: cannot write the job file %s: %s\n", path.c_str(), JobFailureReason(why).c_str());
    return false;
  }
  return true;
}

std::string JobFailureReason(const JobFailure& why) {
  // The pipeline's file routines are the C library's: their error numbers are errno values.
  if (why.systemError != 0) return strerror(why.systemError);
  return JobResultText(why.result);
}

std::string OpenFailureReason(const CSendSession& session) {
  return session.SystemError() ? SystemErrorText(session.SystemError()) : "not a port number from 1 to 999";
}

std::string WriteFailureReason(const CSendSession& session) {
  return session.SystemError() ? SystemErrorText(session.SystemError()) : "the port did not take the whole piece";
}

bool OutputIsInput(const std::string& input, const std::string& output) {
  if (output == STANDARD_OUTPUT) return false;
  std::error_code missing;
  if (!std::filesystem::equivalent(std::filesystem::u8path(input), std::filesystem::u8path(output), missing))
    return false;
  fprintf(stderr, "plotgate: the output %s is the input; name another file\n", output.c_str());
  return true;
}

bool WriteOutput(const std::string& output, const std::string& bytes) {
  const bool toStdout = output == STANDARD_OUTPUT;
  if (toStdout) SetStdoutBinary();
  FILE* file = toStdout ? stdout : OpenStdioFile(output.c_str(), "wb");
  bool written = file && fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // The close (or the flush of standard output) writes what is buffered: a full disk may
  // show only there.
  written = file && (toStdout ? fflush(file) : fclose(file)) == 0 && written;
  if (!written) {
    const char* reason = strerror(errno);
    fprintf(stderr, "plotgate: cannot write %s: %s\n", toStdout ? "to standard output" : output.c_str(), reason);
  }
  return written;
}
