// Loading a library by name without ever taking it from the current folder: that folder
// is whatever the starting program had (CorelDRAW hands on the folder of the drawing it
// opened last) and may hold a planted library of the same name. Windows only.
#pragma once

// The library `name` loaded from the first of these folders that has it: the program's
// own, the system folder, the Windows folder, then the folders on PATH (relative entries
// skipped). An HMODULE, or null when no such folder has it or it does not load.
void* LoadLibraryFromSafeFolders(const char* name);
