#include "corel/RegistryReader.h"

std::unique_ptr<CRegistryReader> CurrentUserRegistry() { return nullptr; }
