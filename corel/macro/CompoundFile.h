// Writer of a compound file: a small file system of storages (folders) and streams (files)
// inside one file, the container office documents keep their VBA projects in. Version 3,
// 512-byte sectors, numbers little-endian:
//
//   header, 512 bytes   D0 CF 11 E0 A1 B1 1A E1, CLSID 0, minor version 0x003E, major 3,
//                       FE FF, sector shift 9, mini sector shift 6, FAT sector count, first
//                       directory sector, mini stream cutoff 4096, first mini FAT sector and
//                       count, no DIFAT sectors, then the numbers of the first 109 FAT sectors
//   sectors 0...        the FAT (per sector the number of the next one in its chain: chains
//                       end in 0xFFFFFFFE, FAT sectors are 0xFFFFFFFD, free ones 0xFFFFFFFF),
//                       the directory (128-byte entries, entry 0 the root), the mini FAT
//                       (the same for 64-byte mini sectors), the mini stream (the root's
//                       stream, holding every stream under 4096 bytes), then the streams of
//                       4096 bytes or more
//
// The children of a storage form a red-black tree through their left and right sibling
// numbers, ordered by name length first and then by the upper-case names; the storage's
// child number names the tree's root. The output depends only on what was added, in the
// order it was added: no timestamps, every CLSID zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Streams this long or longer live in sectors of their own; shorter ones in the mini stream.
const size_t CFB_MINI_STREAM_CUTOFF = 4096;
// Bytes in a sector and in a mini sector.
const size_t CFB_SECTOR_SIZE = 512;
const size_t CFB_MINI_SECTOR_SIZE = 64;
// Bytes in a directory entry.
const size_t CFB_ENTRY_SIZE = 128;
// Sector numbers with a meaning of their own.
const uint32_t CFB_FAT_SECTOR = 0xFFFFFFFD;
const uint32_t CFB_END_OF_CHAIN = 0xFFFFFFFE;
const uint32_t CFB_FREE_SECTOR = 0xFFFFFFFF;
// The directory's "no entry" in sibling and child numbers.
const uint32_t CFB_NO_STREAM = 0xFFFFFFFF;

// Whether the entry named `a` sorts before the one named `b` among their siblings: the
// shorter name first, names of one length by their upper-case letters.
bool CfbNameLess(const std::string& a, const std::string& b);

class CCompoundFile {
 public:
  CCompoundFile();

  // Adds a stream at `path`, names parted by "/" ("VBA/dir"), creating the storages on the
  // way. Throws std::invalid_argument when a name is empty, longer than 31 characters or
  // holds a byte outside printable ASCII or one of \ : !, or when the path is taken (names
  // compare without case) or runs through a stream.
  void AddStream(const std::string& path, const std::string& bytes);

  // The bytes of the file. Throws std::length_error when it would need more FAT sectors than
  // the header lists (109, a file of about 6.8 MB).
  std::string Write() const;

 private:
  enum EntryType : uint8_t { ENTRY_STORAGE = 1, ENTRY_STREAM = 2, ENTRY_ROOT = 5 };
  struct Entry {
    std::string name;
    EntryType type;
    std::string bytes;
    std::vector<uint32_t> children;
  };
  // Where Write puts one entry: its tree links, colour and first sector.
  struct Placement {
    uint32_t left = CFB_NO_STREAM;
    uint32_t right = CFB_NO_STREAM;
    uint32_t child = CFB_NO_STREAM;
    bool black = true;
    uint32_t start = 0;
  };

  // The entry named `name` (any case) among the children of `parent`, or CFB_NO_STREAM.
  uint32_t FindChild(uint32_t parent, const std::string& name) const;
  // Links the sorted children[lo, hi) as a balanced tree under depth `depth`; its root.
  uint32_t LinkTree(const std::vector<uint32_t>& sorted, size_t lo, size_t hi, int depth, int redDepth,
                    std::vector<Placement>& places) const;

  std::vector<Entry> m_entries;  // the directory in order; [0] is the root
};
