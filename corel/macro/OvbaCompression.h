// The compression of the VBA storage, for the dir stream and the module sources. A
// container is the signature byte 0x01 and then chunks, each holding at most 4096 bytes of
// the data:
//
//   01                       signature
//   19 B0                    chunk header, little-endian: bits 0-11 the chunk's size less
//                            3, bits 12-14 0b011, bit 15 set when the chunk is compressed
//   00 61 62 63 64 65 66 67 68
//                            a flag byte, then eight tokens: a clear bit (from the lowest)
//                            is one literal byte, a set bit a two-byte copy token
//
// A copy token repeats bytes already written in the same chunk: its high bits hold the
// offset back less 1, its low bits the length less 3. The split moves with the place in
// the chunk: the offset takes as many bits as the distance from the chunk's start needs
// (at least 4, at most 12), the length the rest. A chunk whose compressed form would not
// fit in 4096 bytes is stored raw: the header without the compressed bit and exactly 4096
// bytes.
#pragma once

#include <stdexcept>
#include <string>

// Decompressed bytes a chunk holds; every chunk but the last holds exactly this many.
const size_t OVBA_CHUNK_SIZE = 4096;

// Raised by OvbaDecompress on a malformed container; the text names the fault and the
// byte offset in the container where it was met.
class COvbaFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The container of `data`: each chunk matched greedily, at every place the longest earlier
// match of at least 3 bytes (the nearest on a tie), else a literal. A final chunk stored raw
// is padded with zero bytes to 4096, as the format requires. Never fails.
std::string OvbaCompress(const std::string& data);

// The data of a container. Throws COvbaFormatError on a wrong signature or chunk header, a
// copy token reaching before its chunk, a chunk growing past 4096 bytes, or a cut-off
// token or raw chunk.
std::string OvbaDecompress(const std::string& container);
