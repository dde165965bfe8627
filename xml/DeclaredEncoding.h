// The encoding a text declares for itself, read from its markup:
//
//   <?xml version="1.0" encoding="ISO-8859-1"?>
//   <html><head><meta http-equiv="Content-Type" content="text/html; charset=koi8-r">
#pragma once

#include <string>

// The encoding named by an XML declaration at the start of text[0, length), or by an
// HTML document's Content-Type meta tag before its head ends; "" when there is none.
std::string DeclaredEncoding(const char* text, int length);
