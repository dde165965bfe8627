// The maker's USB library exists only for Windows: here it is never available.
#include "cutter/VornLib.h"

CVornLib::~CVornLib() = default;

bool CVornLib::Load() { return false; }

int CVornLib::Read(void*, int) { return -1; }

int CVornLib::Write(const void* buffer, int) { return buffer ? -1 : 0; }
