#include "corel/RegistryWriter.h"

std::unique_ptr<CRegistryWriter> CurrentUserRegistryWriter() { return nullptr; }
