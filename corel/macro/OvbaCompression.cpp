#include "corel/macro/OvbaCompression.h"

#include <algorithm>
#include <cstdint>

namespace {

const uint8_t CONTAINER_SIGNATURE = 0x01;
const uint16_t CHUNK_SIGNATURE = 0x3000;  // 0b011 in bits 12-14 of the header
const uint16_t CHUNK_SIGNATURE_MASK = 0x7000;
const uint16_t CHUNK_COMPRESSED = 0x8000;
const uint16_t CHUNK_SIZE_MASK = 0x0FFF;
const size_t CHUNK_HEADER_SIZE = 2;
const size_t MIN_COPY_LENGTH = 3;

// How a copy token is split at `distance` bytes from its chunk's start: the offset takes
// the fewest bits (at least 4) that reach back that far, the length the remaining ones.
struct CopyTokenSplit {
  int offsetBits;
  uint16_t lengthMask;
  size_t maximumLength;
};

CopyTokenSplit SplitAt(size_t distance) {
  int offsetBits = 4;
  while ((size_t(1) << offsetBits) < distance) offsetBits++;
  uint16_t lengthMask = uint16_t(0xFFFF >> offsetBits);
  return {offsetBits, lengthMask, size_t(lengthMask) + MIN_COPY_LENGTH};
}

void AppendLe16(std::string& out, uint16_t value) {
  out += char(value & 0xFF);
  out += char(value >> 8);
}

uint16_t Le16(const std::string& bytes, size_t at) {
  return uint16_t(uint8_t(bytes[at]) | uint8_t(bytes[at + 1]) << 8);
}

struct Match {
  size_t offset = 0;
  size_t length = 0;
};

// The longest run at `pos` that repeats bytes starting earlier in the chunk, the nearest
// start winning a tie. A run may overlap the bytes it produces.
Match LongestMatch(const std::string& data, size_t chunkStart, size_t pos, size_t chunkEnd, size_t maximumLength) {
  Match best;
  size_t limit = std::min(chunkEnd - pos, maximumLength);
  for (size_t candidate = pos; candidate-- > chunkStart;) {
    size_t length = 0;
    while (length < limit && data[candidate + length] == data[pos + length]) length++;
    if (length > best.length) {
      best = {pos - candidate, length};
      if (length == limit) break;
    }
  }
  return best;
}

// The flag bytes and tokens of the chunk data[start, end).
std::string CompressChunkBody(const std::string& data, size_t start, size_t end) {
  std::string body;
  size_t pos = start;
  while (pos < end) {
    size_t flagAt = body.size();
    body += '\0';
    uint8_t flags = 0;
    for (int bit = 0; bit < 8 && pos < end; bit++) {
      CopyTokenSplit split = SplitAt(pos - start);
      Match match = LongestMatch(data, start, pos, end, split.maximumLength);
      if (match.length >= MIN_COPY_LENGTH) {
        AppendLe16(body, uint16_t((match.offset - 1) << (16 - split.offsetBits) | (match.length - MIN_COPY_LENGTH)));
        flags |= uint8_t(1 << bit);
        pos += match.length;
      } else {
        body += data[pos++];
      }
    }
    body[flagAt] = char(flags);
  }
  return body;
}

[[noreturn]] void Fail(const char* what, size_t offset) {
  throw COvbaFormatError(std::string(what) + " at byte " + std::to_string(offset));
}

// Decompresses the compressed chunk container[pos, chunkEnd) onto `out`.
void DecompressChunkBody(const std::string& container, size_t pos, size_t chunkEnd, std::string& out) {
  size_t chunkStart = out.size();
  while (pos < chunkEnd) {
    uint8_t flags = uint8_t(container[pos++]);
    for (int bit = 0; bit < 8 && pos < chunkEnd; bit++) {
      if ((flags >> bit & 1) == 0) {
        out += container[pos++];
      } else {
        if (chunkEnd - pos < 2) Fail("copy token cut off", pos);
        CopyTokenSplit split = SplitAt(out.size() - chunkStart);
        uint16_t token = Le16(container, pos);
        size_t offset = size_t(token >> (16 - split.offsetBits)) + 1;
        size_t length = size_t(token & split.lengthMask) + MIN_COPY_LENGTH;
        if (offset > out.size() - chunkStart) Fail("copy token reaching before its chunk", pos);
        for (size_t i = 0; i < length; i++) {
          char repeated = out[out.size() - offset];
          out += repeated;
        }
        pos += 2;
      }
      if (out.size() - chunkStart > OVBA_CHUNK_SIZE) Fail("chunk holding more than 4096 bytes", pos);
    }
  }
}

}  // namespace

std::string OvbaCompress(const std::string& data) {
  std::string out(1, char(CONTAINER_SIGNATURE));
  for (size_t start = 0; start < data.size(); start += OVBA_CHUNK_SIZE) {
    size_t end = std::min(start + OVBA_CHUNK_SIZE, data.size());
    std::string body = CompressChunkBody(data, start, end);
    if (body.size() <= OVBA_CHUNK_SIZE) {
      AppendLe16(out, uint16_t(CHUNK_COMPRESSED | CHUNK_SIGNATURE | (body.size() + CHUNK_HEADER_SIZE - 3)));
      out += body;
    } else {
      AppendLe16(out, uint16_t(CHUNK_SIGNATURE | (OVBA_CHUNK_SIZE + CHUNK_HEADER_SIZE - 3)));
      out.append(data, start, end - start);
      out.append(OVBA_CHUNK_SIZE - (end - start), '\0');
    }
  }
  return out;
}

std::string OvbaDecompress(const std::string& container) {
  if (container.empty() || uint8_t(container[0]) != CONTAINER_SIGNATURE) Fail("no signature byte 0x01", 0);
  std::string out;
  size_t at = 1;
  while (at < container.size()) {
    if (container.size() - at < CHUNK_HEADER_SIZE) Fail("chunk header cut off", at);
    uint16_t header = Le16(container, at);
    if ((header & CHUNK_SIGNATURE_MASK) != CHUNK_SIGNATURE) Fail("chunk header without the signature 0b011", at);
    size_t chunkEnd = std::min(at + (header & CHUNK_SIZE_MASK) + 3, container.size());
    size_t pos = at + CHUNK_HEADER_SIZE;
    if (header & CHUNK_COMPRESSED) {
      DecompressChunkBody(container, pos, chunkEnd, out);
    } else {
      if (chunkEnd - pos != OVBA_CHUNK_SIZE) Fail("raw chunk shorter than 4096 bytes", at);
      out.append(container, pos, OVBA_CHUNK_SIZE);
    }
    at = chunkEnd;
  }
  return out;
}
