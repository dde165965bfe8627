// The folder of the running program, where its settings file and shipped files lie.
#pragma once

#include <string>

// The full path of the program's executable cut after its last separator (which is kept),
// so that a file name can be appended directly; "" when it cannot be found. On Windows the
// path is read into 256 bytes, as the dialog program always has.
std::string GetModuleDir();
