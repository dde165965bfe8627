#include "corel/macro/CompoundFile.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace {

const size_t MAX_NAME_LENGTH = 31;
const size_t HEADER_FAT_SLOTS = 109;
// Bytes in a sector number and in a character of an entry's name (UTF-16).
const size_t SECTOR_ID_SIZE = 4;
const size_t NAME_UNIT_SIZE = 2;
const size_t IDS_PER_SECTOR = CFB_SECTOR_SIZE / SECTOR_ID_SIZE;
const size_t ENTRIES_PER_SECTOR = CFB_SECTOR_SIZE / CFB_ENTRY_SIZE;

// The header's values: the file's signature, version 3.62, numbers little-endian, sectors
// of 2^9 and mini sectors of 2^6 bytes.
const char SIGNATURE[] = "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1";
const uint16_t MINOR_VERSION = 0x003E;
const uint16_t MAJOR_VERSION = 3;
const uint16_t BYTE_ORDER_MARK = 0xFFFE;
const uint16_t SECTOR_SHIFT = 9;
const uint16_t MINI_SECTOR_SHIFT = 6;
static_assert(size_t(1) << SECTOR_SHIFT == CFB_SECTOR_SIZE, "the header gives the sector size");
static_assert(size_t(1) << MINI_SECTOR_SHIFT == CFB_MINI_SECTOR_SIZE, "the header gives the mini sector size");

// Where the header's fields lie, in bytes from the start of the file. The bytes between
// them stay zero: the CLSID after the signature, reserved bytes and the directory's sector
// count (none in version 3) before the FAT's, the transaction signature after the first
// directory sector, and the DIFAT's sector count.
enum HeaderField : size_t {
  HeaderSignature = 0,
  HeaderMinorVersion = 24,
  HeaderMajorVersion = 26,
  HeaderByteOrder = 28,
  HeaderSectorShift = 30,
  HeaderMiniSectorShift = 32,
  HeaderFatSectors = 44,
  HeaderFirstDirectorySector = 48,
  HeaderMiniStreamCutoff = 56,
  HeaderFirstMiniFatSector = 60,
  HeaderMiniFatSectors = 64,
  HeaderFirstDifatSector = 68,
  HeaderFatSlots = 76,  // HEADER_FAT_SLOTS sector numbers, those of the FAT's sectors
};

// Where a directory entry's fields lie, in bytes from the start of the entry. The bytes
// between the child and the start sector (a CLSID, state bits and two timestamps) and
// the size's upper half stay zero.
enum EntryField : size_t {
  EntryName = 0,       // the name in UTF-16 and a terminating zero
  EntryNameSize = 64,  // the name's bytes, the terminating zero counted
  EntryObjectType = 66,
  EntryColour = 67,  // ENTRY_RED or ENTRY_BLACK
  EntryLeftSibling = 68,
  EntryRightSibling = 72,
  EntryChild = 76,
  EntryStartSector = 116,
  EntryStreamSize = 120,
};
static_assert((MAX_NAME_LENGTH + 1) * NAME_UNIT_SIZE == EntryNameSize - EntryName, "the longest name fits its field");
const char ENTRY_RED = 0;
const char ENTRY_BLACK = 1;

size_t Sectors(size_t bytes, size_t sectorSize) { return (bytes + sectorSize - 1) / sectorSize; }

void Put16(std::string& out, size_t at, uint16_t value) {
  out[at] = char(value & 0xFF);
  out[at + 1] = char(value >> 8);
}

void Put32(std::string& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; i++) out[at + i] = char(value >> (8 * i) & 0xFF);
}

// Appends a chain of `count` sectors starting at `first` to an allocation table.
void AppendChain(std::vector<uint32_t>& table, uint32_t first, size_t count) {
  for (size_t i = 0; i < count; i++) table.push_back(i + 1 < count ? first + uint32_t(i) + 1 : CFB_END_OF_CHAIN);
}

// The table as little-endian numbers, filled with free entries to whole sectors.
std::string TableBytes(std::vector<uint32_t> table) {
  table.resize(Sectors(table.size(), IDS_PER_SECTOR) * IDS_PER_SECTOR, CFB_FREE_SECTOR);
  std::string out(table.size() * SECTOR_ID_SIZE, '\0');
  for (size_t i = 0; i < table.size(); i++) Put32(out, i * SECTOR_ID_SIZE, table[i]);
  return out;
}

void CheckName(const std::string& name) {
  if (name.empty() || name.size() > MAX_NAME_LENGTH)
    throw std::invalid_argument("compound file name \"" + name + "\" is not 1 to 31 characters long");
  for (char c : name) {
    if (c < 0x20 || c > 0x7E || c == '\\' || c == ':' || c == '!')
      throw std::invalid_argument("compound file name \"" + name + "\" holds a character it may not hold");
  }
}

}  // namespace

bool CfbNameLess(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return a.size() < b.size();
  for (size_t i = 0; i < a.size(); i++) {
    int upperA = std::toupper(static_cast<unsigned char>(a[i]));
    int upperB = std::toupper(static_cast<unsigned char>(b[i]));
    if (upperA != upperB) return upperA < upperB;
  }
  return false;
}

CCompoundFile::CCompoundFile() { m_entries.push_back({"Root Entry", ENTRY_ROOT, "", {}}); }

uint32_t CCompoundFile::FindChild(uint32_t parent, const std::string& name) const {
  for (uint32_t child : m_entries[parent].children) {
    const std::string& other = m_entries[child].name;
    if (!CfbNameLess(name, other) && !CfbNameLess(other, name)) return child;
  }
  return CFB_NO_STREAM;
}

void CCompoundFile::AddStream(const std::string& path, const std::string& bytes) {
  uint32_t parent = 0;
  size_t begin = 0;
  while (true) {
    size_t slash = path.find('/', begin);
    std::string name = path.substr(begin, slash == std::string::npos ? std::string::npos : slash - begin);
    CheckName(name);
    uint32_t found = FindChild(parent, name);
    bool last = slash == std::string::npos;
    if (found != CFB_NO_STREAM && (last || m_entries[found].type != ENTRY_STORAGE))
      throw std::invalid_argument("compound file path \"" + path + "\" is taken by \"" + m_entries[found].name + "\"");
    if (found == CFB_NO_STREAM) {
      found = uint32_t(m_entries.size());
      m_entries.push_back({name, last ? ENTRY_STREAM : ENTRY_STORAGE, last ? bytes : "", {}});
      m_entries[parent].children.push_back(found);
    }
    if (last) return;
    parent = found;
    begin = slash + 1;
  }
}

// A tree split at the middle has every empty link on its last two levels, so colouring the
// nodes of its deepest level red (when that is not the root) gives every path from the
// root the same number of black nodes, and no red node a red parent.
uint32_t CCompoundFile::LinkTree(const std::vector<uint32_t>& sorted, size_t lo, size_t hi, int depth, int redDepth,
                                 std::vector<Placement>& places) const {
  if (lo >= hi) return CFB_NO_STREAM;
  size_t mid = lo + (hi - lo) / 2;
  Placement& place = places[sorted[mid]];
  place.left = LinkTree(sorted, lo, mid, depth + 1, redDepth, places);
  place.right = LinkTree(sorted, mid + 1, hi, depth + 1, redDepth, places);
  place.black = depth != redDepth;
  return sorted[mid];
}

std::string CCompoundFile::Write() const {
  std::vector<Placement> places(m_entries.size());
  for (size_t i = 0; i < m_entries.size(); i++) {
    std::vector<uint32_t> sorted = m_entries[i].children;
    if (sorted.empty()) continue;
    std::sort(sorted.begin(), sorted.end(),
              [this](uint32_t a, uint32_t b) { return CfbNameLess(m_entries[a].name, m_entries[b].name); });
    int deepest = 0;
    while ((size_t(2) << deepest) <= sorted.size()) deepest++;
    places[i].child = LinkTree(sorted, 0, sorted.size(), 0, deepest == 0 ? -1 : deepest, places);
  }

  // The mini stream: the short streams one after another, each from a mini sector boundary.
  std::string miniStream;
  std::vector<uint32_t> miniFat;
  size_t largeSectors = 0;
  for (size_t i = 0; i < m_entries.size(); i++) {
    const Entry& entry = m_entries[i];
    if (entry.type != ENTRY_STREAM) continue;
    if (entry.bytes.size() >= CFB_MINI_STREAM_CUTOFF) {
      largeSectors += Sectors(entry.bytes.size(), CFB_SECTOR_SIZE);
      continue;
    }
    size_t count = Sectors(entry.bytes.size(), CFB_MINI_SECTOR_SIZE);
    places[i].start = count == 0 ? CFB_END_OF_CHAIN : uint32_t(miniFat.size());
    AppendChain(miniFat, uint32_t(miniFat.size()), count);
    miniStream += entry.bytes;
    miniStream.resize(miniFat.size() * CFB_MINI_SECTOR_SIZE, '\0');
  }

  size_t directorySectors = Sectors(m_entries.size(), ENTRIES_PER_SECTOR);
  size_t miniFatSectors = Sectors(miniFat.size(), IDS_PER_SECTOR);
  size_t miniStreamSectors = Sectors(miniStream.size(), CFB_SECTOR_SIZE);
  size_t otherSectors = directorySectors + miniFatSectors + miniStreamSectors + largeSectors;
  size_t fatSectors = 1;
  while (fatSectors * IDS_PER_SECTOR < otherSectors + fatSectors) fatSectors++;
  if (fatSectors > HEADER_FAT_SLOTS) throw std::length_error("compound file too large for 109 FAT sectors");

  // Sectors in order: FAT, directory, mini FAT, mini stream, large streams.
  std::vector<uint32_t> fat(fatSectors, CFB_FAT_SECTOR);
  uint32_t directoryStart = uint32_t(fat.size());
  AppendChain(fat, directoryStart, directorySectors);
  uint32_t miniFatStart = miniFatSectors == 0 ? CFB_END_OF_CHAIN : uint32_t(fat.size());
  AppendChain(fat, uint32_t(fat.size()), miniFatSectors);
  places[0].start = miniStreamSectors == 0 ? CFB_END_OF_CHAIN : uint32_t(fat.size());
  AppendChain(fat, uint32_t(fat.size()), miniStreamSectors);
  std::string largeStreams;
  for (size_t i = 0; i < m_entries.size(); i++) {
    const std::string& bytes = m_entries[i].bytes;
    if (m_entries[i].type != ENTRY_STREAM || bytes.size() < CFB_MINI_STREAM_CUTOFF) continue;
    places[i].start = uint32_t(fat.size());
    AppendChain(fat, uint32_t(fat.size()), Sectors(bytes.size(), CFB_SECTOR_SIZE));
    largeStreams += bytes;
    largeStreams.resize(Sectors(largeStreams.size(), CFB_SECTOR_SIZE) * CFB_SECTOR_SIZE, '\0');
  }

  std::string directory(directorySectors * CFB_SECTOR_SIZE, '\0');
  for (size_t i = 0; i < directory.size() / CFB_ENTRY_SIZE; i++) {
    size_t at = i * CFB_ENTRY_SIZE;
    Placement place = i < places.size() ? places[i] : Placement{};
    Put32(directory, at + EntryLeftSibling, place.left);
    Put32(directory, at + EntryRightSibling, place.right);
    Put32(directory, at + EntryChild, place.child);
    if (i >= m_entries.size()) continue;
    const Entry& entry = m_entries[i];
    for (size_t c = 0; c < entry.name.size(); c++) directory[at + EntryName + NAME_UNIT_SIZE * c] = entry.name[c];
    Put16(directory, at + EntryNameSize, uint16_t((entry.name.size() + 1) * NAME_UNIT_SIZE));
    directory[at + EntryObjectType] = char(entry.type);
    directory[at + EntryColour] = place.black ? ENTRY_BLACK : ENTRY_RED;
    size_t size = entry.type == ENTRY_ROOT ? miniStream.size() : entry.bytes.size();
    Put32(directory, at + EntryStartSector, place.start);
    Put32(directory, at + EntryStreamSize, uint32_t(size));
  }

  std::string header(CFB_SECTOR_SIZE, '\0');
  header.replace(HeaderSignature, sizeof SIGNATURE - 1, SIGNATURE, sizeof SIGNATURE - 1);
  Put16(header, HeaderMinorVersion, MINOR_VERSION);
  Put16(header, HeaderMajorVersion, MAJOR_VERSION);
  Put16(header, HeaderByteOrder, BYTE_ORDER_MARK);
  Put16(header, HeaderSectorShift, SECTOR_SHIFT);
  Put16(header, HeaderMiniSectorShift, MINI_SECTOR_SHIFT);
  Put32(header, HeaderFatSectors, uint32_t(fatSectors));
  Put32(header, HeaderFirstDirectorySector, directoryStart);
  Put32(header, HeaderMiniStreamCutoff, uint32_t(CFB_MINI_STREAM_CUTOFF));
  Put32(header, HeaderFirstMiniFatSector, miniFatStart);
  Put32(header, HeaderMiniFatSectors, uint32_t(miniFatSectors));
  Put32(header, HeaderFirstDifatSector, CFB_END_OF_CHAIN);  // no DIFAT sectors
  for (size_t slot = 0; slot < HEADER_FAT_SLOTS; slot++)
    Put32(header, HeaderFatSlots + SECTOR_ID_SIZE * slot, slot < fatSectors ? uint32_t(slot) : CFB_FREE_SECTOR);

  std::string miniStreamSectorBytes = miniStream;
  miniStreamSectorBytes.resize(miniStreamSectors * CFB_SECTOR_SIZE, '\0');
  std::string miniFatBytes = miniFat.empty() ? std::string() : TableBytes(miniFat);
  return header + TableBytes(fat) + directory + miniFatBytes + miniStreamSectorBytes + largeStreams;
}
