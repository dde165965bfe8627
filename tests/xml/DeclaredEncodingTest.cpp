#include <gtest/gtest.h>

#include <string>

#include "xml/DeclaredEncoding.h"

namespace {

std::string Declared(const std::string& text) { return DeclaredEncoding(text.data(), static_cast<int>(text.size())); }

TEST(DeclaredEncoding, XmlDeclarationAtTheStart) {
  EXPECT_EQ(Declared("<?xml version=\"1.0\" encoding='koi8-r'?><a/>"), "koi8-r");
  EXPECT_EQ(Declared("<?XML Encoding=\"latin1\" version=\"1.0\"?>"), "latin1");
  EXPECT_EQ(Declared("<?xml version=\"1.0\"?><html><meta http-equiv=\"Content-Type\" content=\"charset=x\">"), "");
  // Only at offset 0, and only the "xml" target.
  EXPECT_EQ(Declared(" <?xml version=\"1.0\" encoding=\"koi8-r\"?><a/>"), "");
  EXPECT_EQ(Declared("<?xml-stylesheet encoding=\"koi8-r\"?><a/>"), "");
  // A head cut off inside the declaration declares nothing.
  EXPECT_EQ(Declared("<?xml version=\"1.0\" encoding=\"ISO-88"), "");
}

TEST(DeclaredEncoding, ZeroBytesInTheDeclarationAreNameBytes) {
  // The head of a file is sniffed before its zero bytes are removed; a zero byte once
  // stopped the attribute scan from moving on.
  const char head[] = "<?xml version=\"1.0\"\0 encoding=\"koi8-r\" \0?><a/>";
  EXPECT_EQ(Declared(std::string(head, sizeof head - 1)), "koi8-r");
}

TEST(DeclaredEncoding, HtmlMetaContentType) {
  const std::string meta = "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">";
  EXPECT_EQ(Declared("<!-- x --><HTML><head><title>t</title>" + meta), "windows-1251");
  EXPECT_EQ(Declared("<html><meta HTTP-EQUIV='content-type' content='text/html;CHARSET=koi8-r'/>"), "koi8-r");
  EXPECT_EQ(Declared("<html><meta name=\"x\" content=\"charset=koi8-r\">" + meta), "windows-1251");
  // The first start tag must be html, and the head must not have ended.
  EXPECT_EQ(Declared("<body>" + meta), "");
  EXPECT_EQ(Declared("<html><head></head>" + meta), "");
  EXPECT_EQ(Declared("<html><meta http-equiv=\"Content-Type\" content=\"text/html\">"), "");
}

}  // namespace
