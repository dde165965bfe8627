#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "corel/macro/OvbaCompression.h"

namespace {

std::string Bytes(std::vector<uint8_t> values) { return std::string(values.begin(), values.end()); }

// Containers worked out by hand from the format: the two published examples, a run that
// one token covers, and full chunks.
struct Golden {
  const char* name;
  std::string data;
  std::string container;
};

std::vector<Golden> Goldens() {
  return {
      {"empty", "", Bytes({0x01})},
      {"no repeats: literals only", "abcdefghijklmnopqrstuv.",
       Bytes({0x01, 0x19, 0xB0, 0x00, 0x61, 0x62, 0x63, 0x64, 0x65, 0x66, 0x67, 0x68, 0x00, 0x69, 0x6A,
              0x6B, 0x6C, 0x6D, 0x6E, 0x6F, 0x70, 0x00, 0x71, 0x72, 0x73, 0x74, 0x75, 0x76, 0x2E})},
      {"typical text", "#aaabcdefaaaaghijaaaaaklaaamnopqaaaaaaaaaaaarstuvwxyzaaa",
       Bytes({0x01, 0x2F, 0xB0, 0x00, 0x23, 0x61, 0x61, 0x61, 0x62, 0x63, 0x64, 0x65, 0x82, 0x66, 0x00, 0x70, 0x61,
              0x67, 0x68, 0x69, 0x6A, 0x01, 0x38, 0x08, 0x61, 0x6B, 0x6C, 0x00, 0x20, 0x6D, 0x6E, 0x6F, 0x70, 0x06,
              0x71, 0x02, 0x70, 0x04, 0x00, 0x72, 0x73, 0x74, 0x75, 0x76, 0x10, 0x77, 0x78, 0x79, 0x7A, 0x00, 0x2C})},
      // 'a', then offset 1 length 14 with 4 offset bits: (0 << 12) | 11.
      {"a run of 15", std::string(15, 'a'), Bytes({0x01, 0x03, 0xB0, 0x02, 0x61, 0x0B, 0x00})},
      // One token of length 4095 = 0x0FFC + 3: the longest a 4-bit offset leaves room for.
      {"a full chunk in one token", std::string(4096, 'a'), Bytes({0x01, 0x03, 0xB0, 0x02, 0x61, 0xFC, 0x0F})},
      // The 4097th byte opens a chunk of its own, which cannot reach back into the first.
      {"a chunk and one byte", std::string(4097, 'a'),
       Bytes({0x01, 0x03, 0xB0, 0x02, 0x61, 0xFC, 0x0F, 0x01, 0xB0, 0x00, 0x61})},
  };
}

TEST(OvbaCompression, CompressesAsWorkedOutByHand) {
  for (const Golden& golden : Goldens()) {
    EXPECT_EQ(OvbaCompress(golden.data), golden.container) << golden.name;
    EXPECT_EQ(OvbaDecompress(golden.container), golden.data) << golden.name;
  }
}

// At d bytes into a chunk the offset takes the fewest bits (at least 4) reaching d back:
// "XYZ", filler, "XYZ" again ends in the token (d - 1) << (16 - bits) | (3 - 3).
TEST(OvbaCompression, CopyTokenSplitMovesWithThePlaceInTheChunk) {
  struct Case {
    size_t distance;
    uint16_t token;
  };
  for (Case c : {Case{4, 0x3000}, Case{16, 0xF000}, Case{17, 0x8000}, Case{32, 0xF800}, Case{33, 0x8000},
                 Case{2048, 0xFFE0}, Case{2049, 0x8000}, Case{4093, 0xFFC0}}) {
    std::string data = "XYZ" + std::string(c.distance - 3, '.') + "XYZ";
    std::string container = OvbaCompress(data);
    uint16_t last = uint16_t(uint8_t(container[container.size() - 2]) | uint8_t(container.back()) << 8);
    EXPECT_EQ(last, c.token) << "distance " << c.distance;
    EXPECT_EQ(OvbaDecompress(container), data) << "distance " << c.distance;
  }
}

// Bytes from a fixed generator: next to no three-byte repeats, so nothing to compress.
std::string Noise(size_t size) {
  std::string noise;
  uint32_t state = 12345;
  while (noise.size() < size) {
    state = state * 1103515245 + 12345;
    noise += char(state >> 16);
  }
  return noise;
}

TEST(OvbaCompression, IncompressibleChunkIsStoredRaw) {
  std::string data = Noise(4097);
  std::string container = OvbaCompress(data);
  ASSERT_EQ(container.size(), 1 + 2 + 4096 + 2 + 2u);
  EXPECT_EQ(uint8_t(container[1]), 0xFF);  // size 4098 - 3, signature, compressed bit clear
  EXPECT_EQ(uint8_t(container[2]), 0x3F);
  EXPECT_EQ(container.substr(3, 4096), data.substr(0, 4096));
  EXPECT_EQ(uint8_t(container[4099]), 0x01);  // the last byte: a compressed chunk of one literal
  EXPECT_EQ(uint8_t(container[4100]), 0xB0);
  EXPECT_EQ(OvbaDecompress(container), data);
}

TEST(OvbaCompression, RoundTripsAcrossChunkBoundaries) {
  std::string text;
  while (text.size() < 3 * 4096 + 100)
    text += "    If shape.Type = 7 Then ExportGroup shape, n" + std::to_string(text.size()) + "\r\n";
  for (size_t size : {4095u, 4096u, 4097u, 8192u, 8193u, 12388u}) {
    std::string data = text.substr(0, size);
    std::string container = OvbaCompress(data);
    EXPECT_LT(container.size(), data.size() / 2) << size;
    EXPECT_EQ(OvbaDecompress(container), data) << size;
  }
  std::string mixed = text.substr(0, 5000) + Noise(4096) + text.substr(0, 3000);
  EXPECT_EQ(OvbaDecompress(OvbaCompress(mixed)), mixed);
}

TEST(OvbaCompression, MalformedContainersNameFaultAndOffset) {
  struct Case {
    std::string container;
    const char* error;
  };
  std::vector<Case> cases = {
      {"", "no signature byte 0x01 at byte 0"},
      {Bytes({0x02}), "no signature byte 0x01 at byte 0"},
      {Bytes({0x01, 0x00}), "chunk header cut off at byte 1"},
      {Bytes({0x01, 0x00, 0x00}), "chunk header without the signature 0b011 at byte 1"},
      {Bytes({0x01, 0x02, 0xB0, 0x01, 0x00, 0x00}), "copy token reaching before its chunk at byte 4"},
      {Bytes({0x01, 0x02, 0xB0, 0x01, 0x00}), "copy token cut off at byte 4"},
      {Bytes({0x01, 0x03, 0xB0, 0x02, 0x61, 0xFF, 0x0F}), "chunk holding more than 4096 bytes at byte 7"},
      {Bytes({0x01, 0xFF, 0x3F}) + std::string(10, 'x'), "raw chunk shorter than 4096 bytes at byte 1"},
  };
  for (const Case& c : cases) {
    try {
      OvbaDecompress(c.container);
      ADD_FAILURE() << "no error for " << c.error;
    } catch (const COvbaFormatError& error) {
      EXPECT_STREQ(error.what(), c.error);
    }
  }
}

}  // namespace
