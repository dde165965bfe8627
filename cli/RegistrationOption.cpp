#include "cli/RegistrationOption.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/StdioFile.h"
#include "pipeline/JobPlacement.h"
#include "pipeline/RegistrationFile.h"

namespace {

// A registration file holds a few short lines; anything longer is no registration file.
const size_t REGISTRATION_FILE_MAX = 4096;

// The text of the file `path` in `text`; false, after a message, when it cannot be read or
// is longer than a registration file can be.
bool ReadRegistrationFile(const std::string& path, std::string& text) {
  errno = 0;
  FILE* file = OpenStdioFile(path.c_str(), "rb");
  if (!file) {
    fprintf(stderr, "plotgate: cannot read %s: %s\n", path.c_str(), strerror(errno));
    return false;
  }
  char block[REGISTRATION_FILE_MAX + 1];
  const size_t count = fread(block, 1, sizeof block, file);
  const bool failed = ferror(file) != 0;
  const int error = errno;
  fclose(file);
  if (failed) {
    fprintf(stderr, "plotgate: cannot read %s: %s\n", path.c_str(), strerror(error));
    return false;
  }
  if (count > REGISTRATION_FILE_MAX) {
    fprintf(stderr, "plotgate: %s is no registration file: it is longer than one can be\n", path.c_str());
    return false;
  }
  text.assign(block, count);
  return true;
}

}  // namespace

void AddRegistrationOption(CLI::App& command, std::string& path) {
  CLI::Option* option = command.add_option(
      "--registration", path,
      "Cut where the marks measured in FILE.reg (plotgate marks --save) put the job on a printed sheet");
  for (const char* placing : {"--mirror", "--rotate", "--panels"}) {
    if (CLI::Option* other = command.get_option_no_throw(placing)) option->excludes(other);
  }
}

std::string NoMarksText(const std::string& input) {
  return "plotgate: " + input + " has no registration marks (add them with the AddMarks macro in CorelDRAW)";
}

bool HoldPlacement(CPlotJob& job, const std::vector<MeasuredMark>& marks, PlacementFit& fit) {
  const std::string refusal = PlaceJob(job, marks, fit);
  if (!refusal.empty()) fprintf(stderr, "plotgate: %s\n", refusal.c_str());
  return refusal.empty();
}

bool PlaceWithRegistration(CPlotJob& job, const std::string& input, const std::string& path, PlacementFit& fit) {
  if (path.empty()) return true;
  std::string text;
  if (!ReadRegistrationFile(path, text)) return false;
  RegistrationRecord record;
  const std::string malformed = ReadRegistrationText(text, record);
  if (!malformed.empty()) {
    fprintf(stderr, "plotgate: %s: %s\n", path.c_str(), malformed.c_str());
    return false;
  }
  if (!job.m_marks.Any()) {
    fprintf(stderr, "%s\n", NoMarksText(input).c_str());
    return false;
  }
  // The marks place the drawing as printed; panels would move its pieces apart.
  if (job.GetPanels().plan.count > 1) {
    fprintf(stderr, "plotgate: a job placed by registration marks is not cut in panels: give --no-panels\n");
    return false;
  }
  const std::string other = OtherDrawingProblem(record.marks, job.m_marks);
  if (!other.empty()) {
    fprintf(stderr, "plotgate: %s was measured for another drawing (%s)\n", path.c_str(), other.c_str());
    return false;
  }
  return HoldPlacement(job, record.marks, fit);
}
