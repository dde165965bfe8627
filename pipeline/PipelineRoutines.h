// The one process-wide table of file and memory routines through which the job pipeline
// reads, writes and allocates. The application fills it with the standard library's
// routines before any job exists; tests may swap entries to make them fail.
#pragma once

#include <cstddef>
#include <cstdio>

struct PipelineRoutines {
  FILE* (*Open)(const char* path, const char* mode);
  int (*Eof)(FILE* file);
  int (*Close)(FILE* file);
  size_t (*Read)(void* buffer, size_t size, size_t count, FILE* file);
  size_t (*Write)(const void* buffer, size_t size, size_t count, FILE* file);
  int (*Seek)(FILE* file, long offset, int origin);
  void (*Free)(void* block);
  void* (*Alloc)(size_t size);
  char* (*ReadLine)(char* buffer, int size, FILE* file);
  // Left empty by the application: with both present the reader would report its
  // progress as a percentage of the file read.
  long (*Tell)(FILE* file);
  void (*Progress)(int percent);
};

extern PipelineRoutines g_routines;

// Fills the table with OpenStdioFile (fopen for a UTF-8 path), feof, fclose, fread, fwrite, fseek, free, malloc and
// fgets; the position query and the progress callback stay empty.
void FillStandardRoutines(PipelineRoutines& routines);
