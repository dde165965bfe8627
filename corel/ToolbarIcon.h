// The picture of the toolbar button that runs the cutting macro, as CorelDRAW keeps it in
// a workspace file: a bitmap container in base64, laid out in lines.
#pragma once

#include <string>

// The 2,040-character text: 1,378 container bytes in base64 as 25 lines of 72 characters
// and one of 40, each line after the first preceded by a line feed, a space and six tabs.
const std::string& ToolbarIcon();

// The 1,378-byte container the text decodes to: a 6-byte header, the type name
// "WCmnUI_UIItemBmp", 8 zero bytes, the three part sizes, a BITMAPINFOHEADER for 16 x 16
// pixels of 8 bits, a 256-entry palette, the pixels bottom row first and a 16-byte trailer.
std::string ToolbarIconBytes();
