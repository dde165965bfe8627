#include "pipeline/ScanNumbers.h"

// The C locale's white space and digits, which the program never leaves: tested inline, as
// the library's functions are a call for every character of a large job.
static bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// One "%ld": white space, sign, digits. Returns the character after the number, or null
// when no digit follows; sets `saturated` when the value was held at the int32 limit.
static const char* ScanOne(const char* p, int32_t& value, bool& saturated) {
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  if (!IsDigit(*p)) return nullptr;
  const int64_t limit = negative ? -static_cast<int64_t>(INT32_MIN) : INT32_MAX;
  int64_t magnitude = 0;
  for (; IsDigit(*p); ++p) {
    magnitude = magnitude * 10 + (*p - '0');
    if (magnitude > limit) {
      magnitude = limit;
      saturated = true;
    }
  }
  value = static_cast<int32_t>(negative ? -magnitude : magnitude);
  return p;
}

int ScanNumbers(const char* text, int32_t* slots, int count, int* clamped, const char** end) {
  const char* p = text;
  int stored = 0;
  for (; stored < count; ++stored) {
    if (stored > 0 && *p != ',') break;
    bool saturated = false;
    const char* after = ScanOne(stored > 0 ? p + 1 : p, slots[stored], saturated);
    if (!after) break;
    p = after;
    if (saturated && clamped) ++*clamped;
  }
  if (end) *end = p;
  return stored;
}
