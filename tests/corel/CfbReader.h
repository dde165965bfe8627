// A reader of compound files for the tests, kept apart from the writer so that a fault in
// one is not hidden by the same fault in the other. It follows the header's FAT sectors,
// the directory chain, the mini FAT and the root's mini stream; every read is bounds-checked
// (std::out_of_range) and every chain limited in length, so a broken file fails a test
// instead of crashing or hanging it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

struct CfbEntry {
  std::string name;
  int type = 0;   // 1 storage, 2 stream, 5 root
  int color = 0;  // 0 red, 1 black
  uint32_t left = 0;
  uint32_t right = 0;
  uint32_t child = 0;
  uint32_t start = 0;
  uint32_t size = 0;
};

class CCfbReader {
 public:
  explicit CCfbReader(const std::string& file) : m_file(file) {
    for (uint32_t slot = 0; slot < Get32(44); slot++) m_fat += Sector(Get32(76 + 4 * slot));
    std::string directory = Chain(Get32(48), m_fat, 512, [this](uint32_t n) { return Sector(n); });
    for (size_t at = 0; at + 128 <= directory.size(); at += 128) entries.push_back(Entry(directory, at));
    m_miniFat = Chain(Get32(60), m_fat, 512, [this](uint32_t n) { return Sector(n); });
    m_miniStream = Chain(entries.at(0).start, m_fat, 512, [this](uint32_t n) { return Sector(n); });
  }

  // The little-endian number at `at` in the file.
  uint32_t Get32(size_t at) const { return Le(m_file, at, 4); }
  uint16_t Get16(size_t at) const { return uint16_t(Le(m_file, at, 2)); }

  // The bytes of a stream, from the mini stream below the cutoff.
  std::string Stream(const CfbEntry& entry) const {
    std::string bytes;
    if (entry.size < Get32(56)) {
      bytes = Chain(entry.start, m_miniFat, 64, [this](uint32_t n) { return m_miniStream.substr(n * 64, 64); });
    } else {
      bytes = Chain(entry.start, m_fat, 512, [this](uint32_t n) { return Sector(n); });
    }
    return bytes.substr(0, entry.size);
  }

  // The entry at `path` ("VBA/dir"), found through the sibling trees, or -1.
  int Find(const std::string& path) const {
    uint32_t at = 0;
    size_t begin = 0;
    while (begin <= path.size()) {
      size_t slash = path.find('/', begin);
      std::string name = path.substr(begin, slash == std::string::npos ? std::string::npos : slash - begin);
      at = FindSibling(entries.at(at).child, name);
      if (at == 0xFFFFFFFF) return -1;
      if (slash == std::string::npos) return int(at);
      begin = slash + 1;
    }
    return -1;
  }

  std::vector<CfbEntry> entries;

 private:
  static uint32_t Le(const std::string& bytes, size_t at, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; i++) value |= uint32_t(uint8_t(bytes.at(at + i))) << (8 * i);
    return value;
  }

  std::string Sector(uint32_t n) const { return m_file.substr((size_t(n) + 1) * 512, 512); }

  template <typename Read>
  std::string Chain(uint32_t start, const std::string& table, size_t unit, Read read) const {
    std::string bytes;
    for (uint32_t n = start, steps = 0; n != 0xFFFFFFFE; n = Le(table, n * 4, 4)) {
      if (++steps > table.size() / 4) throw std::runtime_error("chain does not end");
      std::string part = read(n);
      if (part.size() != unit) throw std::out_of_range("chain runs off the data");
      bytes += part;
    }
    return bytes;
  }

  static CfbEntry Entry(const std::string& directory, size_t at) {
    CfbEntry entry;
    size_t nameBytes = Le(directory, at + 64, 2);
    for (size_t i = 0; i + 2 < nameBytes && i < 62; i += 2) entry.name += char(directory.at(at + i));
    entry.type = uint8_t(directory.at(at + 66));
    entry.color = uint8_t(directory.at(at + 67));
    entry.left = Le(directory, at + 68, 4);
    entry.right = Le(directory, at + 72, 4);
    entry.child = Le(directory, at + 76, 4);
    entry.start = Le(directory, at + 116, 4);
    entry.size = Le(directory, at + 120, 4);
    return entry;
  }

  // A plain walk by name, upper-cased, shorter names first.
  uint32_t FindSibling(uint32_t at, const std::string& name) const {
    for (size_t steps = 0; at != 0xFFFFFFFF && steps < entries.size(); steps++) {
      const std::string& here = entries.at(at).name;
      int order = Compare(name, here);
      if (order == 0) return at;
      at = order < 0 ? entries.at(at).left : entries.at(at).right;
    }
    return 0xFFFFFFFF;
  }

  static int Compare(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (size_t i = 0; i < a.size(); i++) {
      int x = toupper(uint8_t(a[i])), y = toupper(uint8_t(b[i]));
      if (x != y) return x < y ? -1 : 1;
    }
    return 0;
  }

  std::string m_file;
  std::string m_fat;
  std::string m_miniFat;
  std::string m_miniStream;
};
