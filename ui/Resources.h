// The program's own resources, as the dialogs load them.
#pragma once

#include <windows.h>

#include <string>

// The string resource `id`; "" when the program has none.
std::string LoadText(int id);

// The bitmap resource `id` with its light grey drawn in the system's button colour; null
// when the program has none.
HBITMAP LoadButtonBitmap(int id);
