// The terminal an output stream writes to: whether it is one (a progress line is drawn only
// there) and how wide it is (the line never wraps); and the keys pressed on the terminal
// standard input reads, one at a time (the head's jog).
#pragma once

#include <cstdio>
#include <functional>

bool IsTerminal(FILE* stream);

// The columns of the terminal `stream` writes to: the system's answer, else what COLUMNS
// says, else DEFAULT_TERMINAL_COLUMNS.
int TerminalColumns(FILE* stream);

const int DEFAULT_TERMINAL_COLUMNS = 80;

// The width to use from the system's answer (`systemColumns`, 0 or less when it gave none)
// and the COLUMNS variable (null when unset): the first positive whole number of the two,
// else DEFAULT_TERMINAL_COLUMNS.
int ChooseColumns(int systemColumns, const char* columnsVariable);

// A key: a character key as its byte, Enter as KEY_ENTER, an arrow as one of the codes
// below, and KEY_END once the input has ended.
const int KEY_END = -1;
const int KEY_ENTER = '\n';
const int KEY_UP = 0x101;
const int KEY_DOWN = 0x102;
const int KEY_RIGHT = 0x103;
const int KEY_LEFT = 0x104;

// The next key among the bytes `nextByte` gives (0 to 255, or -1 at their end), as a
// terminal sends keys: an arrow as ESC [ A to D or ESC O A to D, Enter as CR or LF. Any
// other escape sequence is passed over; one cut short by the end gives KEY_END.
int DecodeKey(const std::function<int()>& nextByte);

// Standard input's terminal in raw mode while the object lives: each key as it is pressed,
// not echoed, Ctrl-C a key like the others (byte 3) rather than the end of the program, so
// that the terminal is always given back as it was. Input that is no terminal is read as
// it comes. One keyboard at a time.
class CRawKeyboard {
 public:
  CRawKeyboard();
  ~CRawKeyboard();
  CRawKeyboard(const CRawKeyboard&) = delete;
  CRawKeyboard& operator=(const CRawKeyboard&) = delete;

  // The next key pressed; KEY_END when the input has ended or failed.
  int Next();
};
