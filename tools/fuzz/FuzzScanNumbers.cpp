// The exchange file's number scanner against a reference built on strtoll: the same
// count of numbers, the same values saturated to 32 bits, the same count of saturated
// values, the same slots left alone, the same place where scanning stopped.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "pipeline/ScanNumbers.h"

namespace {

const int Slots = 8;
const int32_t Untouched = 0x5A5A5A5A;

// "%ld,%ld,..." with a 32-bit long: strtoll skips white space and takes a sign and digits;
// values beyond the int32 range saturate and are counted in `clamped`. `stop` is set after
// the last number stored.
int ReferenceScan(const char* text, int32_t* slots, int count, int& clamped, const char*& stop) {
  const char* p = text;
  stop = text;
  for (int i = 0; i < count; ++i) {
    if (i > 0) {
      if (*p != ',') return i;
      ++p;
    }
    char* end = nullptr;
    const long long value = strtoll(p, &end, 10);
    if (end == p) return i;
    slots[i] = value > INT32_MAX ? INT32_MAX : value < INT32_MIN ? INT32_MIN : static_cast<int32_t>(value);
    if (value > INT32_MAX || value < INT32_MIN) ++clamped;
    p = stop = end;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte says how many numbers are asked for; the rest is the text.
  const int count = data[0] % (Slots + 1);
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  int32_t got[Slots], want[Slots];
  for (int i = 0; i < Slots; ++i) got[i] = want[i] = Untouched;
  int gotClamped = 0, wantClamped = 0;
  const char *gotEnd = nullptr, *wantEnd = nullptr;
  const int gotCount = ScanNumbers(text.c_str(), got, count, &gotClamped, &gotEnd);
  const int wantCount = ReferenceScan(text.c_str(), want, count, wantClamped, wantEnd);
  if (gotCount != wantCount || memcmp(got, want, sizeof got) != 0 || gotClamped != wantClamped || gotEnd != wantEnd)
    abort();
  return 0;
}
