// Reading and writing text files in their encodings, on real files.
#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "xml/TextFile.h"
#include "xml/XmlDocument.h"

namespace {

struct ReadResult {
  bool ok;
  std::string text;
  std::string log;
  unsigned flags;
};

ReadResult Read(const std::string& path, unsigned flags = 0) {
  ReadResult r{false, "junk", "junk", flags};
  r.ok = ReadTextFile(path.c_str(), r.text, r.log, r.flags);
  return r;
}

#ifdef _WIN32
// One "file_error" entry with the system's one-line message and the error number.
void ExpectFileError(const std::string& log, int number) {
  const std::string head = "<file_error msg=\"";
  const std::string tail = "\" n=\"" + std::to_string(number) + "\"/>";
  ASSERT_GT(log.size(), head.size() + tail.size()) << log;
  EXPECT_EQ(log.substr(0, head.size()), head);
  EXPECT_EQ(log.substr(log.size() - tail.size()), tail);
  EXPECT_EQ(log.find_first_of("\r\n"), std::string::npos);
}
#endif

TEST(ReadTextFile, Utf8WithMark) {
  TempDir dir;
  const ReadResult r = Read(dir.Write("a.xml", "\xEF\xBB\xBF<a>caf\xC3\xA9</a>"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.text, "<a>caf\xC3\xA9</a>");
  EXPECT_EQ(r.log, "<bom encoding=\"UTF-8\"/><read encoding=\"UTF-8\" length=\"12\"/>");
  EXPECT_EQ(r.flags, 0x4u);
}

TEST(ReadTextFile, AnsiTextThatIsNotUtf8IsConverted) {
  // E9 and a space do not decode as UTF-8. The ANSI code page is 1252 on Linux and under
  // an English Windows (Wine's default), where E9 is the e with acute.
  TempDir dir;
  const ReadResult r = Read(dir.Write("a.txt", "x\xE9 y"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.text, "x\xC3\xA9 y");
  EXPECT_EQ(r.log,
            "<read encoding=\"\" length=\"4\"/><converted_to encoding=\"UTF-8\" length=\"5\"/>"
            "<utf8_detection encoding=\"\"/>");
}

TEST(ReadTextFile, LeadingAngleBracketMeansUtf8Unchecked) {
  TempDir dir;
  ReadResult r = Read(dir.Write("a.xml", "<x\xE9 y"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.text, "<x\xE9 y");
  EXPECT_EQ(r.log, "<read encoding=\"UTF-8\" length=\"5\"/>");

  r = Read(dir.Write("b.xml", "<a>plain</a>"));
  EXPECT_EQ(r.log, "<read encoding=\"UTF-8\" length=\"12\"/>");

  // Without "<" the check runs, finds UTF-8 and updates the "read" entry.
  r = Read(dir.Write("c.txt", "caf\xC3\xA9"));
  EXPECT_EQ(r.text, "caf\xC3\xA9");
  EXPECT_EQ(r.log, "<read encoding=\"UTF-8\" length=\"5\"/><utf8_detection encoding=\"UTF-8\"/>");
}

TEST(ReadTextFile, DeclaredEightBitEncodingIsConverted) {
  TempDir dir;
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";  // 43 bytes
  const ReadResult r = Read(dir.Write("a.xml", declaration + "<a>\xE9</a>"));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.text, declaration + "<a>\xC3\xA9</a>");
  EXPECT_EQ(r.log, "<read encoding=\"ISO-8859-1\" length=\"51\"/><converted_to encoding=\"UTF-8\" length=\"52\"/>");
}

TEST(ReadTextFile, BigEndianUtf16WithMark) {
  TempDir dir;
  const ReadResult r = Read(dir.Write("a.xml", std::string("\xFE\xFF\0<\0a\0/\0>", 10)));
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.text, "<a/>");
  EXPECT_EQ(r.log,
            "<bom encoding=\"UTF-16BE\"/><read encoding=\"UTF-16BE\" length=\"4\"/><endian_swap/>"
            "<converted_to encoding=\"UTF-8\" length=\"4\"/>");
  EXPECT_EQ(r.flags, 0x80u);
}

TEST(ReadTextFile, ZeroUnitsAreRemoved) {
  TempDir dir;
  ReadResult r = Read(dir.Write("a.xml", std::string("\xFF\xFE<\0\0\0a\0>\0", 10)));
  EXPECT_EQ(r.text, "<a>");
  EXPECT_EQ(r.log,
            "<bom encoding=\"UTF-16LE\"/><read encoding=\"UTF-16LE\" length=\"4\"/><nulls_removed count=\"1\"/>"
            "<converted_to encoding=\"UTF-8\" length=\"3\"/>");
  r = Read(dir.Write("b.xml", std::string("<a>\0\0b</a>", 10)));
  EXPECT_EQ(r.text, "<a>b</a>");
  EXPECT_EQ(r.log, "<read encoding=\"UTF-8\" length=\"10\"/><nulls_removed count=\"2\"/>");
}

TEST(ReadTextFile, EmptyFile) {
  TempDir dir;
  const ReadResult r = Read(dir.Write("empty.xml", ""));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, "");
  EXPECT_EQ(r.log, "<read encoding=\"\" length=\"0\"/>");
}

TEST(ReadTextFile, MissingFileGivesTheSystemsErrorNumber) {
  TempDir dir;
  const ReadResult r = Read((dir.Path() / "missing.xml").string());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "");
  // 2 is ERROR_FILE_NOT_FOUND on Windows and ENOENT on Linux. The Windows text depends on
  // the system's language and version (Wine words it "File not found.").
#ifdef _WIN32
  ExpectFileError(r.log, 2);
#else
  EXPECT_EQ(r.log, "<file_error msg=\"No such file or directory\" n=\"2\"/>");
#endif
}

TEST(ReadTextFile, FolderIsAFileError) {
  TempDir dir;
  const ReadResult r = Read(dir.Path().string());
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.text, "");
  // Windows refuses to open a folder (ERROR_ACCESS_DENIED); Linux opens it and fails to read.
#ifdef _WIN32
  ExpectFileError(r.log, 5);
#else
  EXPECT_EQ(r.log, "<file_error msg=\"Is a directory\" n=\"21\"/>");
#endif
}

TEST(ReadTextFile, ModeBitsClearedAndMarkBitsDescribeThisFile) {
  TempDir dir;
  // Stale mark bits from an earlier file must not make a later save write UTF-16.
  const ReadResult r = Read(dir.Write("a.xml", "<a/>"), 0x8 | 0x10 | 0x40 | 0x1 | 0x200);
  EXPECT_EQ(r.flags, 0x8u | 0x200u);
}

TEST(ReadTextFile, HtmlMetaCharset) {
  TempDir dir;
  const std::string head = "<html><head><meta http-equiv=\"content-type\" content=\"text/html; charset=KOI8-R\">";
  const ReadResult r = Read(dir.Write("a.html", head + "</head><p>\xC1</p></html>"));
  EXPECT_EQ(r.text, head + "</head><p>\xD0\xB0</p></html>");
}

TEST(ReadTextFile, UnknownDeclaredEncodingIsTakenAsUtf8) {
  TempDir dir;
  const std::string text = "<?xml version=\"1.0\" encoding=\"x-unknown\"?><a>\xE9</a>";
  const ReadResult r = Read(dir.Write("a.xml", text));
  EXPECT_EQ(r.text, text);
  EXPECT_EQ(r.log, "<read encoding=\"x-unknown\" length=\"50\"/>");
}

#ifndef _WIN32
// iconv has no table for code page 720 (Arabic DOS), which Windows converts. Text in an
// encoding the platform cannot convert is kept as it is rather than lost.
TEST(ReadTextFile, EncodingThePlatformCannotConvertIsKept) {
  TempDir dir;
  const std::string text = "<?xml version=\"1.0\" encoding=\"dos-720\"?><a>\xE9</a>";
  const ReadResult r = Read(dir.Write("a.xml", text));
  EXPECT_TRUE(r.ok);
  EXPECT_EQ(r.text, text);
  EXPECT_EQ(r.log, "<read encoding=\"dos-720\" length=\"48\"/>");

  std::string log;
  unsigned flags = 0;
  const std::string out = (dir.Path() / "out.xml").string();
  EXPECT_TRUE(WriteTextFile(text, out.c_str(), log, flags));
  EXPECT_EQ(TempDir::Read(out), text);
  EXPECT_EQ(log, "<write encoding=\"dos-720\" length=\"48\"/>");
}
#endif

struct WriteResult {
  bool ok;
  std::string bytes;
  std::string log;
  unsigned flags;
};

WriteResult Write(const TempDir& dir, const std::string& text, unsigned flags = 0) {
  const std::string path = (dir.Path() / "out.xml").string();
  WriteResult w{false, "", "junk", flags};
  w.ok = WriteTextFile(text, path.c_str(), w.log, w.flags);
  w.bytes = TempDir::Read(path);
  return w;
}

TEST(WriteTextFile, ConvertsToTheDeclaredEncoding) {
  TempDir dir;
  const std::string declaration = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>";  // 45 bytes
  WriteResult w = Write(dir, declaration + "<a>\xE2\x82\xAC</a>");
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.bytes, declaration + "<a>\x80</a>");
  EXPECT_EQ(w.log,
            "<converted_from encoding=\"UTF-8\" length=\"55\"/><write encoding=\"windows-1252\" length=\"53\"/>");

  // A character the code page lacks is replaced and reported; the write still succeeds.
  w = Write(dir, declaration + "<a>\xE4\xB8\xAD</a>");
  ASSERT_TRUE(w.ok);
  EXPECT_EQ(w.bytes, declaration + "<a>?</a>");
  EXPECT_EQ(w.log,
            "<converted_from encoding=\"UTF-8\" length=\"55\"/><conversion_loss/>"
            "<write encoding=\"windows-1252\" length=\"53\"/>");
}

TEST(WriteTextFile, MarkBitsChooseMarkAndUnits) {
  TempDir dir;
  WriteResult w = Write(dir, "<a>\xC3\xA9</a>", 0x1 | 0x80);  // table order: little-endian first
  EXPECT_EQ(w.bytes, std::string("\xFF\xFE<\0a\0>\0\xE9\0<\0/\0a\0>\0", 18));
  EXPECT_EQ(w.log,
            "<bom encoding=\"UTF-16LE\"/><converted_from encoding=\"UTF-8\" length=\"9\"/>"
            "<write encoding=\"UTF-16LE\" length=\"8\"/>");
  w = Write(dir, "<a/>", 0x80 | 0x20);
  EXPECT_EQ(w.bytes, std::string("\xFE\xFF\0<\0a\0/\0>", 10));
  EXPECT_EQ(w.flags, 0x80u);
}

TEST(WriteTextFile, EmptyTextAndAppend) {
  TempDir dir;
  WriteResult w = Write(dir, "");
  EXPECT_TRUE(w.ok);
  EXPECT_EQ(w.bytes, "");
  EXPECT_EQ(w.log, "<write encoding=\"\" length=\"0\"/>");
  Write(dir, "<a/>");
  w = Write(dir, "<b/>", 0x40);
  EXPECT_EQ(w.bytes, "<a/><b/>");
  EXPECT_EQ(w.flags, 0u);
}

TEST(WriteTextFile, UnopenableFileIsAFileError) {
  TempDir dir;
  const std::string path = (dir.Path() / "no-such-folder" / "out.xml").string();
  std::string log;
  unsigned flags = 0;
  EXPECT_FALSE(WriteTextFile("<a/>", path.c_str(), log, flags));
  // ERROR_PATH_NOT_FOUND on Windows, ENOENT on Linux.
#ifdef _WIN32
  ExpectFileError(log, 3);
#else
  EXPECT_EQ(log, "<file_error msg=\"No such file or directory\" n=\"2\"/>");
#endif
}

// Load then Save through the document writes back the bytes that were read.
void ExpectRoundTrip(const std::string& bytes, unsigned expectedFlags) {
  TempDir dir;
  const std::string in = dir.Write("in.xml", bytes);
  const std::string out = (dir.Path() / "out.xml").string();
  CXmlDocument doc;
  EXPECT_TRUE(doc.Load(in.c_str())) << doc.GetResultLog();
  EXPECT_EQ(doc.GetDocFlags(), expectedFlags);
  EXPECT_TRUE(doc.Save(out.c_str())) << doc.GetResultLog();
  EXPECT_EQ(TempDir::Read(out), bytes) << doc.GetResultLog();
}

TEST(LoadAndSave, RoundTripsKeepTheFileEncoding) {
  ExpectRoundTrip("<a>caf\xC3\xA9 \xE2\x82\xAC</a>\r\n", 0);
  ExpectRoundTrip("\xEF\xBB\xBF<a>caf\xC3\xA9</a>", 0x4);
  ExpectRoundTrip(std::string("\xFF\xFE<\0a\0>\0\xE9\0=\xD8\0\xDE<\0/\0a\0>\0", 22), 0x1);
  ExpectRoundTrip(std::string("\xFE\xFF\0<\0a\0>\0\xE9\xD8=\xDE\0\0<\0/\0a\0>", 22), 0x80);
  // UTF-16 without a mark, known by its "<", is saved without one.
  ExpectRoundTrip(std::string("<\0a\0>\0\xE9\0=\xD8\0\xDE<\0/\0a\0>\0", 20), 0x1 | DocNoMark);
  ExpectRoundTrip(std::string("\0<\0a\0>\0\xE9\xD8=\xDE\0\0<\0/\0a\0>", 20), 0x80 | DocNoMark);
  ExpectRoundTrip("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\r\n<a x=\"\xE9\">\xFC</a>", 0);
  ExpectRoundTrip("<?xml version=\"1.0\" encoding=\"windows-1251\"?><a>\xC0\xE1</a>", 0);
}

TEST(LoadAndSave, DocumentSeesUtf8AndTheLog) {
  TempDir dir;
  const std::string path = dir.Write("a.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a x=\"\xE9\"/>");
  CXmlDocument doc;
  ASSERT_TRUE(doc.Load(path.c_str()));
  ASSERT_TRUE(doc.FindElement("a"));
  EXPECT_EQ(doc.GetAttribute(doc.CurrentElement(), "x"), "\xC3\xA9");
  EXPECT_EQ(doc.GetResultLog(),
            "<read encoding=\"ISO-8859-1\" length=\"53\"/><converted_to encoding=\"UTF-8\" length=\"54\"/>");

  CXmlDocument empty;
  EXPECT_FALSE(empty.Load(dir.Write("empty.xml", "").c_str()));
  EXPECT_EQ(empty.GetText(), "");
  EXPECT_EQ(empty.GetResultLog(), "<read encoding=\"\" length=\"0\"/>");

  CXmlDocument missing;
  EXPECT_FALSE(missing.Load((dir.Path() / "missing.xml").string().c_str()));
  EXPECT_EQ(missing.GetText(), "");
  EXPECT_NE(missing.GetResultLog().find("<file_error "), std::string::npos);
}

}  // namespace
