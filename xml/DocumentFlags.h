// DocFlags: the bits of a document's mode and of the file it was read from, shared by the
// document and by the file reading and writing beneath it.
#pragma once

const unsigned DocFoldCase = 0x8;    // element and attribute names compared without ASCII case
const unsigned DocReadFile = 0x10;   // read-file mode
const unsigned DocWriteFile = 0x20;  // write-file mode
const unsigned DocFileMode = DocReadFile | DocWriteFile;
const unsigned DocAppend = 0x40;     // append when writing
const unsigned DocBomUtf16Le = 0x1;  // byte order marks of the file, set by Load, used by Save
const unsigned DocBomUtf8 = 0x4;
const unsigned DocBomUtf16Be = 0x80;
const unsigned DocNoMark = 0x400;  // with a mark bit: the file is in that encoding but has no mark; Save writes none
const unsigned DocReadChanged = 0x800;     // set by Load: saving the text unchanged would not give the file back
const unsigned DocTrimValues = 0x100;      // attribute values lose leading and trailing whitespace
const unsigned DocCollapseValues = 0x200;  // ... and each inner run of whitespace becomes one space
