#include "pipeline/PipelineRoutines.h"

#include <cstdlib>

#include "base/StdioFile.h"

static PipelineRoutines StandardRoutines() {
  return PipelineRoutines{OpenStdioFile, feof, fclose, fread, fwrite, fseek, free, malloc, fgets, nullptr, nullptr};
}

// Filled before main() runs, so that no stage can find the table empty by accident.
PipelineRoutines g_routines = StandardRoutines();

void FillStandardRoutines(PipelineRoutines& routines) { routines = StandardRoutines(); }
