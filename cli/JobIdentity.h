// A drawing's identity: a short hash of its bytes. The go-on command of a stopped send
// carries it, so that going on refuses another drawing saved under the same name (the
// macro exports every drawing to the same file), whose paths would be counted afresh.
#pragma once

#include <string>

// The 64-bit FNV-1a hash of the bytes of the file at `path`, its first 48 bits as 12
// lower-case hex digits ("" for a file that cannot be read).
std::string JobIdentity(const std::string& path);
