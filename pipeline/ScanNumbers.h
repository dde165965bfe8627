// Reads decimal numbers separated by single commas, as the formatted-input conversion
// "%ld,%ld,..." does: each number may follow white space, has an optional sign and at
// least one digit; the comma between two numbers must follow the number directly.
// Numbers are 32-bit on every platform: a value beyond the int32 range saturates at
// INT32_MIN or INT32_MAX, as strtol does with a 32-bit long.
#pragma once

#include <cstdint>

// Stores up to `count` numbers from `text` into slots[0..]; returns how many were stored.
// Scanning stops at the first number or comma that does not match; slots not reached
// keep their values. `clamped`, when given, is increased by the number of stored values
// that saturated. `end`, when given, receives where scanning stopped: the character after
// the last number stored (`text` when none was).
int ScanNumbers(const char* text, int32_t* slots, int count, int* clamped = nullptr, const char** end = nullptr);
