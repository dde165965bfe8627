#include "cli/CliCommon.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "base/StdioFile.h"
#include "base/SystemError.h"
#include "cli/BinaryStdout.h"
#include "cli/PortDiagnosis.h"
#include "cutter/ModelTable.h"
#include "cutter/PortDiscovery.h"
#include "pipeline/BlockWriter.h"
#include "settings/ChoiceLimits.h"

namespace {

CLI::Validator MillimetreCheck(const MillimetreRange& range) {
  return CLI::Validator([&range](const std::string& text) { return MillimetreProblem(text, range); }, "MM");
}

}  // namespace

void AddJobOptions(CLI::App& command, std::string& input, Choices& given) {
  command.add_option("INPUT", input, "Drawing to cut: the exchange file written by the CorelDRAW macro")->required();
  command.add_flag_callback(
      "--mirror", [&given] { given.mirror = true; },
      "Mirror the job left to right (x becomes -x), as for cutting from the back of the material");
  command
      .add_option_function<int>(
          "--rotate", [&given](int degrees) { given.rotation = degrees; },
          "Turn the job clockwise by 0, 90, 180 or 270 degrees")
      ->check(CLI::IsMember({0, 90, 180, 270}));
  command.add_flag_callback(
      "--inside-first", [&given] { given.insideFirst = true; },
      "Cut every closed shape that lies inside another before the one around it (the counter of an \"o\" before "
      "its outline), so small pieces do not shift");
  command.add_flag_callback(
      "--shortest-travel", [&given] { given.shortestTravel = true; },
      "Cut next the path whose start is nearest the knife (within --inside-first when given); every path keeps its "
      "own start and direction");
  command
      .add_option_function<std::string>(
          "--weed-border",
          [&given](const std::string& value) {
            given.weedBorder = true;
            given.weedBorderText = value;
          },
          "Cut a rectangle this many mm around the job, last, to weed it off the roll, from 0.5 to 50; it counts "
          "in the job's size")
      ->check(MillimetreCheck(WEED_BORDER_RANGE));
  AddPassesOption(command, given);
}

void AddPassesOption(CLI::App& command, Choices& given) {
  command
      .add_option_function<int>(
          "--passes", [&given](int passes) { given.passes = passes; },
          "Cut every path N times, from 1 to 5, for thick material")
      ->type_name("N")
      ->check(CLI::Range(MIN_PASSES, MAX_PASSES));
  command
      .add_option_function<std::string>(
          "--media-width",
          [&given](const std::string& value) {
            given.mediaWidth = true;
            given.mediaWidthText = value;
          },
          "Width of the media across the roll in mm, from 50 to 3000: a job wider than it (weed border included) "
          "is refused by send and frame, and warned about by the other commands")
      ->check(MillimetreCheck(MEDIA_WIDTH_RANGE));
  command.add_flag_callback(
      "--panels", [&given] { given.panels = true; },
      "Cut a job wider than the media in panels of equal width, one after another along the roll in one job; "
      "needs --media-width");
  command
      .add_option_function<std::string>(
          "--panel-overlap", [&given](const std::string& value) { given.panelOverlapText = value; },
          "How much each panel shares with the next across the roll, in mm, from 0 to 50 (default 10)")
      ->check(MillimetreCheck(PANEL_OVERLAP_RANGE));
  command
      .add_option_function<std::string>(
          "--panel-gap", [&given](const std::string& value) { given.panelGapText = value; },
          "The space along the roll between one panel and the next, in mm, from 0 to 500 (default 20)")
      ->check(MillimetreCheck(PANEL_GAP_RANGE));
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

namespace {

// Why the panels of `used` cannot be cut whatever the job, without "plotgate: "; "" when
// they can or are off.
std::string PanelChoiceProblem(const Choices& used) {
  if (!used.panels.value_or(false)) return "";
  if (!used.mediaWidth.value_or(false)) return "--panels needs the media width (--media-width MM)";
  return PanelOverlapProblem(used.panelOverlapText.value_or(""), used.mediaWidthText.value_or(""));
}

}  // namespace

int LoadChosenJob(CPlotJob& job, const std::string& input, const Choices& used) {
  const std::string panelProblem = PanelChoiceProblem(used);
  if (!panelProblem.empty()) {
    fprintf(stderr, "plotgate: %s\n", panelProblem.c_str());
    return EXIT_USAGE;
  }
  std::error_code unknownSize;
  const uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(input), unknownSize);
  if (!unknownSize && size >= LARGE_INPUT_BYTES) {
    fprintf(stderr, "plotgate: reading %s (%.1f MB)...\n", input.c_str(), static_cast<double>(size) / 1e6);
    fflush(stderr);
  }
  job.LoadJob(input.c_str());
  if (job.m_loadResult == JOB_CANNOT_OPEN || job.m_loadResult == JOB_READ_FAILED) {
    const std::string reason = JobFailureReason(JobFailure{job.m_loadResult, job.m_nLoadError});
    fprintf(stderr, "plotgate: cannot read %s: %s\n", input.c_str(), reason.c_str());
    return 1;
  }
  if (job.m_loadResult == JOB_NOT_HPGL) {
    fprintf(stderr, "plotgate: %s %s\n", input.c_str(), NotHpglText(job.m_readReport.format).c_str());
    return 1;
  }
  // Said before any refusal: skipped commands may be why there is nothing to cut.
  const std::string warning = job.m_loadResult == JOB_DONE ? ReadWarning(input, job.m_readReport) : "";
  if (!warning.empty()) fprintf(stderr, "%s\n", warning.c_str());
  const std::string settings = SkippedSettingNames(job.m_readReport);
  if (job.m_loadResult == JOB_DONE && !settings.empty()) {
    fprintf(stderr,
            "plotgate: warning: %s: skipped the commands that set the pen, speed or force (%s): the cutter keeps its "
            "own settings\n",
            input.c_str(), settings.c_str());
  }
  if (!job.HasJob()) {
    // Read in full, a file whose first command ends the drawing still gives no job.
    const char* why = job.m_loadResult == JOB_DONE ? "it holds no drawing" : JobResultText(job.m_loadResult);
    fprintf(stderr, "plotgate: cannot load %s: %s\n", input.c_str(), why);
    return 1;
  }
  // Read in full, a file of only moves, settings or unknown text would send a job that cuts
  // nothing.
  bool cuts = false;
  for (const PlotPoint* point = job.m_pPoints; point && !cuts; point = point->next) cuts = point->kind == KIND_PEN_DOWN;
  if (!cuts) {
    fprintf(stderr, "plotgate: no outlines in %s\n", input.c_str());
    return 1;
  }
  // A rotation rebuilds from the commands, mirrored first, as the dialog's buttons do.
  const JobResult mirrored = used.mirror.value_or(false) ? job.Mirror() : JOB_DONE;
  const int degrees = used.rotation.value_or(0);
  const JobResult rotated = mirrored == JOB_DONE && degrees != 0 ? job.RotateTo(degrees / 90) : mirrored;
  if (rotated != JOB_DONE) {
    fprintf(stderr, "plotgate: cannot rotate %s: %s\n", input.c_str(), JobResultText(rotated));
    return 1;
  }
  const JobResult ordered = job.SetCutOrder(CutOrderFrom(used));
  if (ordered != JOB_DONE) {
    fprintf(stderr, "plotgate: cannot order the cuts of %s: %s\n", input.c_str(), JobResultText(ordered));
    return 1;
  }
  const PanelLayout panels = PanelsFrom(used);
  const JobResult panelled = job.SetPanels(panels);
  if (panelled == JOB_TOO_MANY_PANELS) {
    fprintf(stderr, "plotgate: %s\n", PanelCountProblem(job.PlanPanelsFor(panels)).c_str());
    return EXIT_USAGE;
  }
  if (panelled != JOB_DONE) {
    fprintf(stderr, "plotgate: cannot cut %s in panels: %s\n", input.c_str(), JobResultText(panelled));
    return 1;
  }
  return 0;
}

int CheckMediaWidth(const CPlotJob& job, const Choices& used, bool refuse) {
  const std::string problem = MediaWidthProblem(job.m_bounds, MediaWidthFrom(used));
  if (problem.empty()) return 0;
  fprintf(stderr, "plotgate: %s%s\n", refuse ? "" : "warning: ", problem.c_str());
  return refuse ? EXIT_USAGE : 0;
}

namespace {

const MillimetreRange& RangeOf(const std::string& option) {
  return option == "--blade-offset" ? BLADE_OFFSET_RANGE : OVER_CUT_RANGE;
}

}  // namespace

std::string DistanceProblem(const std::string& text, const std::string& option) {
  return MillimetreProblem(text, RangeOf(option));
}

// An option that ticks one of the offset boxes and gives it its distance text, checked by
// DistanceProblem. The text itself goes on to the job unchanged.
static void AddDistanceOption(CLI::App& command, const char* name, std::optional<bool>& ticked,
                              std::optional<std::string>& text, const std::string& what, const char* hint) {
  command
      .add_option_function<std::string>(
          name,
          [&ticked, &text](const std::string& value) {
            ticked = true;
            text = value;
          },
          what + ", from 0.01 to " + RangeOf(name).maxText + " (" + hint + ")")
      ->check(CLI::Validator([name](const std::string& value) { return DistanceProblem(value, name); }, "MM"));
}

namespace {

std::string Lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return text;
}

// The models whose names `name` begins, regardless of case; only the one it names whole
// when there is such a one.
std::vector<int> ModelsNamed(const std::string& name) {
  const std::string wanted = Lowered(name);
  std::vector<int> begun;
  for (int i = 0; i < MODEL_COUNT; ++i) {
    const std::string known = Lowered(ModelTable[i].name);
    if (known == wanted) return {i};
    if (!wanted.empty() && known.compare(0, wanted.size(), wanted) == 0) begun.push_back(i);
  }
  return begun;
}

// The model `name` stands for: its index, its name, or, regardless of case, its name or a
// beginning of no other's ("robin"); -1 for none or several.
int MatchModel(const std::string& name) {
  const int exact = FindModel(name.c_str());
  if (exact >= 0) return exact;
  const std::vector<int> named = ModelsNamed(name);
  return named.size() == 1 ? named[0] : -1;
}

}  // namespace

CLI::Option* AddModelOption(CLI::App& command, std::optional<int>& model) {
  return command
      .add_option_function<std::string>(
          "--model", [&model](const std::string& name) { model = MatchModel(name); },
          "Cutter model: its name (in any case, or a beginning no other model shares) or its index 0 to 10, as "
          "plotgate models lists them (the names of the dialog's Device list)")
      ->check([](const std::string& name) -> std::string {
        if (MatchModel(name) >= 0) return "";
        const std::vector<int> named = ModelsNamed(name);
        std::string known;
        for (const int i : named) known += (known.empty() ? "" : " or ") + std::string(ModelTable[i].name);
        if (named.size() > 1) return "\"" + name + "\" could be " + known + ": give more of the name";
        for (int i = 0; i < MODEL_COUNT; ++i) known += "\n  " + std::to_string(i) + " " + ModelTable[i].name;
        return "unknown model \"" + name + "\"; the models are:" + known;
      });
}

namespace {

// An option that sets the force or the speed, with its --no- option that turns it off. A
// text it cannot take is a usage error told as the program's own messages are, before
// anything is read or sent.
void AddToolOption(CLI::App& command, const char* name, const char* offName, std::optional<int>& value,
                   const WholeRange& range, const std::string& what) {
  command
      .add_option_function<std::string>(
          name,
          [&value, name, &range](const std::string& text) {
            const std::string problem = WholeRangeProblem(text, range);
            if (!problem.empty()) {
              fprintf(stderr, "plotgate: %s %s\n", name, problem.c_str());
              throw CLI::RuntimeError(EXIT_USAGE);
            }
            value = atoi(text.c_str());
          },
          what + ", " + std::to_string(range.min) + " to " + std::to_string(range.max) + " " + range.unit +
              " (off unless given or remembered)")
      ->type_name(range.unit == std::string("grams") ? "G" : "CMS");
  command
      .add_flag_callback(
          offName, [&value] { value = 0; }, "Leave the " + std::string(name + 2) + " to the cutter")
      ->excludes(name);
}

}  // namespace

void AddToolOptions(CLI::App& command, Choices& given) {
  AddToolOption(command, "--force", "--no-force", given.force, FORCE_RANGE,
                "Set the knife's force in the job (HPGL models; DM/PL models keep their own)");
  AddToolOption(command, "--speed", "--no-speed", given.speed, SPEED_RANGE, "Set the cutting speed in the job");
}

void AddCutterOptions(CLI::App& command, Choices& given, bool modelRequired) {
  CLI::Option* model = AddModelOption(command, given.model);
  if (modelRequired) model->required();
  AddOffsetOptions(command, given);
}

void AddOffsetOptions(CLI::App& command, Choices& given) {
  AddDistanceOption(command, "--blade-offset", given.bladeOffset, given.bladeOffsetText,
                    "Correct for the drag knife's tip trailing its axis by this many mm", "0.38 suits a common blade");
  AddDistanceOption(command, "--overcut", given.overCut, given.overCutText,
                    "Cut this many mm past the start of every closed shape so that it comes free", "0.85 is usual");
  AddToolOptions(command, given);
}

void SayForceNotSent(const Choices& used) {
  const int force = used.force.value_or(0);
  const std::string notSent = force > 0 ? ForceNotSentText(used.model.value_or(0), force) : "";
  if (!notSent.empty()) fprintf(stderr, "plotgate: %s\n", notSent.c_str());
}

JobFormat JobFormatOfModel(int model) { return JobFormatOf(ModelTable[model].ProtocolNumber); }

bool WriteChosenJobFile(CPlotJob& job, const Choices& used, const std::string& path) {
  SayForceNotSent(used);
  const JobFormat format = JobFormatOfModel(used.model.value_or(0));
  const OffsetOptions offsets = OffsetsOf(used);
  JobFailure why;
  if (path == STANDARD_OUTPUT) {
    SetStdoutBinary();
    if (!WriteJobStream(job, stdout, format, offsets, &why)) {
      fprintf(stderr, "plotgate: cannot write the job to standard output: %s\n", JobFailureReason(why).c_str());
      return false;
    }
  } else if (!WriteJobFile(job, path.c_str(), format, offsets, &why)) {
    fprintf(stderr, "plotgate: cannot write the job file %s: %s\n", path.c_str(), JobFailureReason(why).c_str());
    return false;
  }
  return true;
}

bool EncodeChosenJob(CPlotJob& job, const Choices& used, std::string& bytes) {
  const JobFormat format = JobFormatOfModel(used.model.value_or(0));
  const JobResult prepared = PrepareJobForWriting(job);
  if (prepared != JOB_DONE) {
    fprintf(stderr, "plotgate: cannot encode the job: %s\n", JobResultText(prepared));
    return false;
  }
  CBlockWriter out([&bytes](const char* block, size_t length) {
    bytes.append(block, length);
    return true;
  });
  WriteJobCommands(out, job, format, OffsetsOf(used));
  return true;
}

std::string JobFailureReason(const JobFailure& why) {
  // The pipeline's file routines are the C library's: their error numbers are errno values.
  if (why.systemError != 0) return strerror(why.systemError);
  return JobResultText(why.result);
}

std::string OpenFailureText(const CSendSession& session, const std::string& port) {
  const int error = session.SystemError();
  if (!error) return "opening " + PortWithDevice(port) + ": not a port number from 1 to 999";
  const CRS232* serialPort = session.SerialPort();
  const std::string remedy = serialPort ? OpenFailureRemedy(serialPort->DeviceName(), error) : "";
  return "opening " + PortWithDevice(port) + ": " + SystemErrorText(error) + (remedy.empty() ? "" : "; " + remedy);
}

int OpenCutter(CSendSession& session, const CutterModel& model, const std::string& port,
               const std::string& usbSerialPort) {
  const SendOutcome opened = session.Open(model, port, usbSerialPort);
  if (opened == SEND_UNKNOWN_CUTTER) return Fail(SendOutcomeText(opened));
  if (opened != SEND_DONE) return Fail("plotgate: " + OpenFailureText(session, port));
  return 0;
}

std::string WriteFailureReason(const CSendSession& session) {
  return session.SystemError() ? SystemErrorText(session.SystemError()) : "the port did not take the whole piece";
}

bool OutputRefused(const std::string& input, const std::string& output) {
  if (output == STANDARD_OUTPUT) return false;
  const std::filesystem::path path = std::filesystem::u8path(output);
  std::error_code missing;
  if (std::filesystem::equivalent(std::filesystem::u8path(input), path, missing)) {
    fprintf(stderr, "plotgate: the output %s is the input; name another file\n", output.c_str());
    return true;
  }
  const std::filesystem::path folder = path.parent_path();
  if (!folder.empty() && !std::filesystem::is_directory(folder, missing)) {
    fprintf(stderr, "plotgate: cannot write %s: there is no folder %s\n", output.c_str(), folder.u8string().c_str());
    return true;
  }
  return false;
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

int Fail(const std::string& message) {
  fprintf(stderr, "%s\n", message.c_str());
  return 1;
}

int StdoutResult(int exitCode) {
  // A failed write shows in the stream's error mark, or, for what is still buffered, in
  // the flush.
  errno = 0;
  const bool flushed = fflush(stdout) == 0;
  const int error = errno;
  if (flushed && !ferror(stdout)) return exitCode;
  clearerr(stdout);
  fprintf(stderr, "plotgate: cannot write to standard output: %s\n", error != 0 ? strerror(error) : "a write failed");
  return 1;
}
