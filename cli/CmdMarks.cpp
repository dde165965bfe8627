// plotgate marks INPUT --mark 1=X,Y --mark 2=X,Y [--mark 3=X,Y] [--mark 4=X,Y] --save
//   FILE.reg: the placement of a printed sheet from where its marks were measured (the
// head's place in millimetres, the cutter's own coordinates: first along the roll, second
// across), printed as it reads and saved for --registration.
// plotgate marks INPUT [--model NAME] [--port PORT] [--ini FILE] --save FILE.reg: the same
// with the marks measured by jogging the head onto them from the keyboard (MarksJog.h).
// plotgate marks --calibrate-laser [--model NAME] [--port PORT] [--ini FILE]: the laser
// pointer's offset from the knife (LaserCalibration.h).
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "cli/CliCommon.h"
#include "cli/Commands.h"
#include "cli/LaserCalibration.h"
#include "cli/MarksJog.h"
#include "cli/RegistrationOption.h"
#include "cli/RememberedChoices.h"
#include "pipeline/RegistrationFile.h"

namespace {

// The largest head position taken, in millimetres: far beyond any cutter's reach, and in
// units well within 32 bits.
const double MAX_HEAD_MM = 100000;

// A distance in millimetres as --mark takes it: decimal digits with at most one ".".
bool ReadMillimetres(const std::string& text, int32_t& units) {
  if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos || text.find('.') != text.rfind('.') ||
      text == ".")
    return false;
  const double mm = strtod(text.c_str(), nullptr);
  if (mm > MAX_HEAD_MM) return false;
  units = static_cast<int32_t>(std::round(mm * PLOT_UNITS_PER_MM));
  return true;
}

// "N=X,Y" as the mark's number and its measured place in units; false when it is not one.
bool ReadMarkOption(const std::string& text, int& number, IntPoint& measured) {
  const size_t equals = text.find('='), comma = text.find(',');
  if (equals != 1 || text[0] < '1' || text[0] > '0' + MAX_MARKS || comma == std::string::npos) return false;
  number = text[0] - '0';
  return ReadMillimetres(text.substr(2, comma - 2), measured.x) && ReadMillimetres(text.substr(comma + 1), measured.y);
}

// Why the marks given are not a set the fit takes: marks 1 and 2, then 3 and 4 in turn,
// each once. "" when they are, with them in `measured` by number.
std::string MarksProblem(const std::vector<std::string>& given, IntPoint (&measured)[MAX_MARKS], int& count) {
  bool seen[MAX_MARKS] = {false, false, false, false};
  for (const std::string& text : given) {
    int number = 0;
    IntPoint at = {0, 0};
    ReadMarkOption(text, number, at);  // the option's check has passed it
    if (seen[number - 1]) return "--mark " + std::to_string(number) + " is given twice";
    seen[number - 1] = true;
    measured[number - 1] = at;
  }
  if (!seen[0] || !seen[1]) return "give where marks 1 and 2 were measured: --mark 1=X,Y --mark 2=X,Y";
  if (seen[3] && !seen[2]) return "--mark 4 needs --mark 3";
  count = seen[3] ? 4 : seen[2] ? 3 : 2;
  return "";
}

}  // namespace

void AddMarksCommand(CLI::App& app, int& exitCode) {
  struct Options {
    std::string input;
    std::vector<std::string> marks;
    std::string save;
    Choices given;  // the cutter to jog
    std::string iniPath;
    std::string keys;  // a test's keys instead of the keyboard's
    bool calibrateLaser = false;
  };
  auto o = std::make_shared<Options>();
  CLI::App* marks = app.add_subcommand(
      "marks", "Place a printed sheet by where its registration marks were measured, and save the placement");
  CLI::Option* input = marks->add_option("INPUT", o->input, "Exchange file holding the registration marks");
  CLI::Option* mark =
      marks
          ->add_option(
              "--mark", o->marks,
              "N=X,Y: mark N (1 to 4) measured with the head at X, Y millimetres (first along the roll, second "
              "across); marks 1 and 2 at least, mark 4 only with mark 3. Without it the head is jogged onto the "
              "marks from the keyboard: the arrows move it, [ and ] change the step, 1 to 4 choose the mark, g "
              "goes to it, Enter sets it, q ends")
          ->allow_extra_args(false)  // one mark a --mark: a word after it is the input
          ->check([](const std::string& text) -> std::string {
            int number = 0;
            IntPoint at = {0, 0};
            if (ReadMarkOption(text, number, at)) return "";
            return "expected N=X,Y with N from 1 to 4 and X, Y in millimetres, such as 1=15.3,225.1";
          });
  CLI::Option* save = marks->add_option("--save", o->save, "Registration file to write, for --registration");
  marks
      ->add_flag("--calibrate-laser", o->calibrateLaser,
                 "Measure the laser pointer's offset from the knife: a 10 mm cross is cut at 20, 20 mm, the arrows "
                 "put the dot on its centre and Enter sets it; kept for the model in the settings file")
      ->excludes(input)
      ->excludes(mark)
      ->excludes(save);
  AddTargetOptions(*marks, o->given, o->iniPath);
  marks->add_option("--keys", o->keys)->group("");  // hidden: a file of keys, for tests
  marks->callback([o, &exitCode] {
    if (o->calibrateLaser) {
      const std::function<int()> keys = JogKeys(o->keys);
      exitCode = keys ? CalibrateLaser(o->given, o->iniPath, keys) : 1;
      return;
    }
    if (o->input.empty() || o->save.empty()) {
      fprintf(stderr, "plotgate: marks needs INPUT and --save FILE.reg, or --calibrate-laser\n");
      exitCode = EXIT_USAGE;
      return;
    }
    const bool jogging = o->marks.empty();
    IntPoint measured[MAX_MARKS] = {};
    int count = 0;
    const std::string problem = jogging ? "" : MarksProblem(o->marks, measured, count);
    if (!problem.empty() || (!jogging && (o->given.model || o->given.port))) {
      fprintf(stderr, "plotgate: %s\n",
              problem.empty() ? "--model and --port are for jogging the head to the marks, not with --mark"
                              : problem.c_str());
      exitCode = EXIT_USAGE;
      return;
    }
    CPlotJob job;
    if (OutputRefused(o->input, o->save)) {
      exitCode = 1;
      return;
    }
    exitCode = LoadChosenJob(job, o->input, DefaultChoices());
    if (exitCode != 0) return;
    if (!job.m_marks.Any()) {
      exitCode = Fail(NoMarksText(o->input));
      return;
    }
    RegistrationRecord record;
    if (jogging) {
      const std::function<int()> keys = JogKeys(o->keys);
      exitCode = keys ? JogToMarks(job, o->given, o->iniPath, keys, record) : 1;
      if (exitCode) return;
    }
    for (int n = 1; n <= count; ++n) {
      if (!job.m_marks.has[n - 1]) {
        exitCode = Fail("plotgate: " + o->input + " has no mark " + std::to_string(n));
        return;
      }
      record.marks.push_back(MeasuredMark{n, job.m_marks.at[n - 1], measured[n - 1]});
    }
    PlacementFit fit;
    if (!HoldPlacement(job, record.marks, fit) || !WriteOutput(o->save, RegistrationText(record))) {
      exitCode = 1;
      return;
    }
    printf("%s\n", PlacementResultLine(fit).c_str());
    if (fit.thirdOff >= 0)
      printf("mark 3 lies %.2f mm from where marks 1 and 2 put it\n", fit.thirdOff / PLOT_UNITS_PER_MM);
    exitCode = StdoutResult(exitCode);
  });
}
