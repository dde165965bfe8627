#include "xml/TextFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/FileReplace.h"
#include "base/StdioFile.h"
#include "base/SystemError.h"
#include "xml/ByteOrderMark.h"
#include "xml/CharsetCodePage.h"
#include "xml/ConvertText.h"
#include "xml/DeclaredEncoding.h"
#include "xml/DocumentFlags.h"
#include "xml/TextUnits.h"
#include "xml/Utf8.h"
#include "xml/XmlResult.h"

namespace {

const unsigned MODE_BITS = DocFileMode | DocAppend;
// What reading finds out about a file; reading sets them afresh.
const unsigned READ_BITS = DocBomUtf16Le | DocBomUtf8 | DocBomUtf16Be | DocNoMark | DocReadChanged;
const long SNIFF_BYTES = 1024;  // the head of a file searched for a declared encoding

// Converts `units` units at `source` from `from` to `to`, giving the raw bytes of the
// target's units in `out`; false when the platform cannot convert these encodings.
bool ConvertAll(const char* from, const void* source, size_t units, const char* to, std::string& out, bool& lost) {
  const int count = static_cast<int>(units);
  const int needed = ConvertText(from, source, count, to, nullptr, 0, nullptr);
  if (needed < 0) return false;
  const size_t bytes = static_cast<size_t>(needed) * CodeUnitWidth(CharsetCodePage(to));
  out.clear();
  out.reserve(bytes + bytes / 100);  // room for the edits that usually follow a load
  out.resize(bytes);
  return ConvertText(from, source, count, to, &out[0], needed, &lost) == needed;
}

// The state of one read or write call: the open file, the flags, sizes and the encoding
// found or chosen, and the result entries written so far.
class CTextFileStream {
 public:
  CTextFileStream(std::string& result, unsigned flags) : m_result(result), m_flags(flags) { m_result.clear(); }
  ~CTextFileStream() { Close(); }
  CTextFileStream(const CTextFileStream&) = delete;
  CTextFileStream& operator=(const CTextFileStream&) = delete;

  bool Open(const char* path, const char* mode) {
    m_file = OpenStdioFile(path, mode);
    return m_file || FileError();
  }
  bool ReadAll(std::string& text);
  bool WriteAll(const std::string& text);
  // Replaces the whole file at `path` by the encoded `text`, or leaves it as it was.
  bool ReplaceWith(const char* path, const std::string& text);
  // The bytes writing `text` puts into the file: the mark of the flags, then the text in
  // the encoding of the mark or, without one, the one the text declares (UTF-8 when none).
  std::string Encode(const std::string& text);
  // Closes the file; false, with a "file_error" entry, when closing fails.
  bool Close() {
    if (!m_file) return true;
    const int closed = std::fclose(m_file);
    m_file = nullptr;
    return closed == 0 || FileError();
  }
  unsigned Flags() const { return m_flags & ~MODE_BITS; }
  // The system's number of the first failure (TEXT_FILE_TOO_LARGE for a file over the
  // limit); 0 when nothing failed.
  int Error() const { return m_nError; }

 private:
  void Entry(const char* name, const char* text, int flags, long long number) {
    WriteResultEntry(m_result, name, text, flags, number);
  }
  bool FileError() { return FileError(LastSystemError()); }
  bool FileError(int number) {
    if (m_nError == 0) m_nError = number;
    Entry("file_error", SystemErrorText(number, 100).c_str(), ResultMessage | ResultNumber, number);
    return false;
  }
  // Reads up to `count` bytes (fewer when the file has shrunk since its size was taken).
  bool ReadBytes(std::string& bytes, long count) {
    bytes.resize(count);
    if (count > 0) bytes.resize(std::fread(&bytes[0], 1, count, m_file));
    return !std::ferror(m_file) || FileError();
  }
  bool WriteBytes(const std::string& bytes) {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size() || FileError();
  }
  bool FindFileSize();
  bool ReadHead(const ByteOrderMark*& mark);
  template <typename Text>
  void RemoveNulls(Text& text);
  void ConvertToUtf8(const char* from, const void* source, size_t units, std::string& text);
  void ReadUtf16(const std::string& bytes, bool bigEndian, std::string& text);
  void DetectUtf8(std::string& text);
  bool SavesBack(const ByteOrderMark* mark, const std::string& rest, const std::string& text) const;

  std::FILE* m_file = nullptr;
  std::string& m_result;
  unsigned m_flags;
  long m_fileSize = 0;
  int m_unitWidth = 1;     // 2 for UTF-16
  size_t m_units = 0;      // units of the text read or written
  std::string m_encoding;  // "" = the system ANSI code page
  int m_nError = 0;
};

bool CTextFileStream::FindFileSize() {
  if (std::fseek(m_file, 0, SEEK_END) != 0) return FileError();
  m_fileSize = std::ftell(m_file);
  if (m_fileSize < 0) return FileError();
  if (m_fileSize > TEXT_FILE_SIZE_MAX) {
    // Some systems open a folder for reading and give it a huge size; reading it then
    // fails with the system's own error, which says more than the size.
    std::rewind(m_file);
    if (std::fgetc(m_file) == EOF && std::ferror(m_file)) return FileError();
    Entry("file_error", "The file is too large.", ResultMessage, -1);
    m_nError = TEXT_FILE_TOO_LARGE;
    return false;
  }
  return std::fseek(m_file, 0, SEEK_SET) == 0 || FileError();
}

// Reads the head of the file and settles the encoding from its byte order mark, its
// first character when that is a UTF-16 "<", its declaration or its first byte; `mark` is
// the file's byte order mark, if any.
bool CTextFileStream::ReadHead(const ByteOrderMark*& mark) {
  std::string head;
  if (!ReadBytes(head, std::min(m_fileSize, SNIFF_BYTES))) return false;
  mark = FindByteOrderMark(head.data(), head.size());
  const ByteOrderMark* encoding = mark ? mark : Utf16ByFirstCharacter(head.data(), head.size());
  if (encoding) {
    m_encoding = encoding->encoding;
    m_flags |= encoding->flag | (mark ? 0 : DocNoMark);
    m_unitWidth = encoding->unitWidth;
  } else {
    m_encoding = DeclaredEncoding(head.data(), static_cast<int>(head.size()));
  }
  if (m_encoding.empty() && head[0] == '<') m_encoding = "UTF-8";
  if (mark) Entry("bom", mark->encoding, ResultEncoding, -1);
  return true;
}

template <typename Text>
void CTextFileStream::RemoveNulls(Text& text) {
  const size_t removed = RemoveZeroUnits(text);
  if (removed) Entry("nulls_removed", nullptr, ResultCount, static_cast<long long>(removed));
}

// Replaces `text` with the UTF-8 conversion of the source. Where the platform cannot
// convert the encoding, the text is kept as it is, as for an unknown encoding.
void CTextFileStream::ConvertToUtf8(const char* from, const void* source, size_t units, std::string& text) {
  bool lost = false;
  std::string converted;
  if (!ConvertAll(from, source, units, "UTF-8", converted, lost)) return;
  text.swap(converted);
  Entry("converted_to", "UTF-8", ResultEncoding | ResultLength, static_cast<long long>(text.size()));
  if (lost) Entry("conversion_loss", nullptr, 0, -1);
}

void CTextFileStream::ReadUtf16(const std::string& bytes, bool bigEndian, std::string& text) {
  std::u16string units = UnitsFromLittleEndian(bytes.data(), bytes.size());
  m_units = units.size();
  Entry("read", m_encoding.c_str(), ResultEncoding | ResultLength, static_cast<long long>(m_units));
  RemoveNulls(units);
  if (bigEndian) {
    SwapUnitBytes(units);
    Entry("endian_swap", nullptr, 0, -1);
  }
  ConvertToUtf8("UTF-16", units.data(), units.size(), text);
}

// Text of no known encoding is UTF-8 when it decodes as such, else ANSI text converted.
void CTextFileStream::DetectUtf8(std::string& text) {
  if (IsUtf8(text.data(), text.size())) {
    m_encoding = "UTF-8";
    Entry("read", m_encoding.c_str(), ResultEncoding | ResultUpdate, -1);
  } else {
    const std::string ansi = text;
    ConvertToUtf8("", ansi.data(), ansi.size(), text);
  }
  Entry("utf8_detection", m_encoding.c_str(), ResultEncoding, -1);
}

bool CTextFileStream::ReadAll(std::string& text) {
  if (!FindFileSize()) return false;
  if (m_fileSize == 0) {
    Entry("read", "", ResultEncoding | ResultLength, 0);
    return true;
  }
  const ByteOrderMark* mark = nullptr;
  if (!ReadHead(mark)) return false;
  const long skip = mark ? static_cast<long>(mark->length) : 0;
  std::string bytes;
  if (std::fseek(m_file, skip, SEEK_SET) != 0) return FileError();
  if (!ReadBytes(bytes, m_fileSize - skip)) return false;

  if (m_unitWidth == 2) {
    ReadUtf16(bytes, (m_flags & DocBomUtf16Be) != 0, text);
  } else {
    text.reserve(bytes.size() + bytes.size() / 100);
    text.assign(bytes);
    m_units = text.size();
    Entry("read", m_encoding.c_str(), ResultEncoding | ResultLength, static_cast<long long>(m_units));
    RemoveNulls(text);
    if (m_encoding.empty()) {
      DetectUtf8(text);
    } else if (EncodingsDiffer(m_encoding.c_str(), "UTF-8")) {
      const std::string source = text;
      const size_t width = CodeUnitWidth(CharsetCodePage(m_encoding.c_str()));
      ConvertToUtf8(m_encoding.c_str(), source.data(), source.size() / width, text);
    }
  }
  if (!SavesBack(mark, bytes, text)) m_flags |= DocReadChanged;
  return true;
}

// Whether saving `text` unchanged would give back the file it was read from: its `mark`
// and the `rest` after it. Not when reading dropped zero bytes or an odd last byte,
// replaced what did not decode, or converted text that saving would write in another
// encoding.
bool CTextFileStream::SavesBack(const ByteOrderMark* mark, const std::string& rest, const std::string& text) const {
  std::string unused;
  CTextFileStream writer(unused, m_flags);
  const std::string saved = writer.Encode(text);
  const size_t markLength = mark ? mark->length : 0;
  return saved.size() == markLength + rest.size() &&
         saved.compare(0, markLength, mark ? mark->bytes : "", markLength) == 0 &&
         saved.compare(markLength, std::string::npos, rest) == 0;
}

std::string CTextFileStream::Encode(const std::string& text) {
  std::string marked;
  const ByteOrderMark* mark = ByteOrderMarkOfFlags(m_flags);
  if (mark) {
    m_encoding = mark->encoding;
    m_unitWidth = mark->unitWidth;
    if (!(m_flags & DocNoMark)) {
      marked.assign(mark->bytes, mark->length);
      Entry("bom", mark->encoding, ResultEncoding, -1);
    }
  }
  if (m_encoding.empty() && !text.empty()) {
    m_encoding = DeclaredEncoding(text.data(), static_cast<int>(text.size()));
    if (m_encoding.empty()) m_encoding = "UTF-8";
  }
  std::string bytes;
  bool lost = false;
  if (text.empty()) {
    m_units = 0;
  } else if (m_unitWidth == 2) {
    ConvertAll("UTF-8", text.data(), text.size(), "UTF-16", bytes, lost);
    Entry("converted_from", "UTF-8", ResultEncoding | ResultLength, static_cast<long long>(text.size()));
    std::u16string units(bytes.size() / 2, u'\0');
    std::memcpy(&units[0], bytes.data(), units.size() * 2);
    if (mark->flag == DocBomUtf16Be) {
      SwapUnitBytes(units);
      Entry("endian_swap", nullptr, 0, -1);
    }
    bytes = LittleEndianBytes(units);
    m_units = units.size();
  } else if (EncodingsDiffer(m_encoding.c_str(), "UTF-8") &&
             ConvertAll("UTF-8", text.data(), text.size(), m_encoding.c_str(), bytes, lost)) {
    Entry("converted_from", "UTF-8", ResultEncoding | ResultLength, static_cast<long long>(text.size()));
    if (lost) Entry("conversion_loss", nullptr, 0, -1);
    m_units = bytes.size() / CodeUnitWidth(CharsetCodePage(m_encoding.c_str()));
  } else {
    // UTF-8 itself, an unknown encoding, or one the platform cannot convert: as it is.
    bytes = text;
    m_units = bytes.size();
  }
  bytes.insert(0, marked);
  return bytes;
}

bool CTextFileStream::WriteAll(const std::string& text) {
  if (!WriteBytes(Encode(text))) return false;
  Entry("write", m_encoding.c_str(), ResultEncoding | ResultLength, static_cast<long long>(m_units));
  return true;
}

bool CTextFileStream::ReplaceWith(const char* path, const std::string& text) {
  if (const int error = ReplaceFileContent(path, Encode(text))) return FileError(error);
  Entry("write", m_encoding.c_str(), ResultEncoding | ResultLength, static_cast<long long>(m_units));
  return true;
}

}  // namespace

bool ReadTextFile(const char* path, std::string& text, std::string& result, unsigned& flags, int* error) {
  text.clear();
  // The marks found here replace any the flags held: they describe this file only.
  CTextFileStream stream(result, flags & ~READ_BITS);
  const bool read = stream.Open(path, "rb") && stream.ReadAll(text);
  stream.Close();
  flags = stream.Flags();
  if (!read) text.clear();
  if (error) *error = read ? 0 : stream.Error();
  return read;
}

bool WriteTextFile(const std::string& text, const char* path, std::string& result, unsigned& flags, int* error) {
  CTextFileStream stream(result, flags);
  bool written = false;
  if (flags & DocAppend) {
    written = stream.Open(path, "ab") && stream.WriteAll(text);
    written = stream.Close() && written;
  } else {
    // Whole or not at all: a write that fails half way keeps the file as it was.
    written = stream.ReplaceWith(path, text);
  }
  flags = stream.Flags();
  if (error) *error = written ? 0 : stream.Error();
  return written;
}
