#include "pipeline/JobModel.h"

#include "pipeline/PipelineRoutines.h"

PathCommand* NewEmptyCommand() {
  PathCommand* node = static_cast<PathCommand*>(g_routines.Alloc(sizeof(PathCommand)));
  if (node) {
    node->kind = KIND_EMPTY;
    node->coords = nullptr;
    node->next = nullptr;
  }
  return node;
}

PlotPoint* NewEmptyPoint() {
  PlotPoint* node = static_cast<PlotPoint*>(g_routines.Alloc(sizeof(PlotPoint)));
  if (node) {
    node->kind = KIND_EMPTY;
    node->x = 0;
    node->y = 0;
    node->next = nullptr;
  }
  return node;
}

void FreeCommands(CommandList& list) {
  while (list) {
    PathCommand* next = list->next;
    if (list->coords) g_routines.Free(list->coords);
    g_routines.Free(list);
    list = next;
  }
}

void FreePoints(PointList& list) {
  while (list) {
    PlotPoint* next = list->next;
    g_routines.Free(list);
    list = next;
  }
}
